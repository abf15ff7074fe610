#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/PropertyMap.h"
#include "engine/logic/DispatchPredicator.h"
#include "engine/logic/FactoryBase.h"
#include "engine/logic/TypeRegistry.h"

namespace Engine {

// Base of every logic component: behaviour attached to one entity, owned by
// the logic manager, with its persisted fields in its property map.
//
// Each class answers RegisterType with its type node; the node's name is
// the "type" its saved components carry and its factory key. The virtual
// operation forwards to the class's static RegisterClassType, so the factory
// can ask a class without an object; a class that does not define its own
// answers with its base's node.
class LogicComp : public Property_Holder, public IFactoryBase {
public:
    LogicComp() = default;
    ~LogicComp() override = default;
    // A component is one attachment to one entity, owned by the logic
    // manager; a copy (a sliced one above all) would be neither.
    LogicComp(const LogicComp&) = delete;
    LogicComp& operator=(const LogicComp&) = delete;

    static TypeNode* RegisterClassType();
    virtual TypeNode* RegisterType() const { return RegisterClassType(); }
    virtual void Initialize() {}
    // Once per frame; the frame time comes from FrameRateController.
    virtual void Update() {}
    // Called by the logic manager just before the component is deleted.
    virtual void Shutdown() {}
    virtual void Reserved() {}

    EntityHandle GetOwner() const { return owner; }
    void SetOwner(EntityHandle entity) { owner = entity; }

    // Accepts the components of one entity (index equality).
    class DispatchPred : public DispatchPredicator {
    public:
        explicit DispatchPred(EntityHandle target) : mTarget(target) {}
        bool Accepts(const LogicComp* component) const override
        {
            return component && component->GetOwner() == mTarget;
        }

    private:
        EntityHandle mTarget;
    };

protected:
    // Null until the logic manager attaches the component.
    EntityHandle owner;
};

} // namespace Engine
