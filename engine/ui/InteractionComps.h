#pragma once
#include "engine/ui/ElementComp.h"
#include "engine/ui/Layer.h"

#include <cstdint>
#include <string>

namespace Engine::UI {

class DetectInteractionComp;

// Base of the components that act when their element is activated. The
// element's DetectInteractionComp is looked up at Init, or at the first
// update when it was added later.
class OnInteractComp : public IElemComp {
public:
    void Init() override;
    void Update() override;

protected:
    // Runs in the tree update that follows an activation.
    virtual void Act() = 0;

    DetectInteractionComp* detector = nullptr;
};

// Asks its layer's stack for a new layer.
class CreateLayerOnInteractComp : public OnInteractComp {
public:
    CreateLayerOnInteractComp(LayerBuilder layerBuilder, std::string name)
        : builder(std::move(layerBuilder)), layerName(std::move(name))
    {
    }

    LayerBuilder builder;
    std::string layerName;

protected:
    void Act() override;
};

// Asks its layer's stack to pop the top layer.
class PopLayerOnInteractComp : public OnInteractComp {
protected:
    void Act() override;
};

// Runs a function with a value of the caller's and the component.
class RunActionOnInteractComp : public OnInteractComp {
public:
    using Action = void (*)(std::uintptr_t userValue, RunActionOnInteractComp& comp);

    explicit RunActionOnInteractComp(Action actionFunction, std::uintptr_t value = 0)
        : userValue(value), action(actionFunction)
    {
    }

    std::uintptr_t userValue;
    Action action;

protected:
    void Act() override;
};

// Runs a function every frame with the component.
class CustomUpdateComp : public IElemComp {
public:
    using Function = void (*)(CustomUpdateComp& comp);

    explicit CustomUpdateComp(Function updateFunction = nullptr) : function(updateFunction) {}
    void Update() override
    {
        if (function)
            function(*this);
    }

    Function function;
};

} // namespace Engine::UI
