#pragma once
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"
#include "engine/logic/LogicTypeRegistration.h"
#include "engine/logic/SMComponent.h"

#include <string>
#include <vector>

// Small logic components for the engine's logic tests.
namespace LogicTest {

// Calls in the order they happened, as "label:operation".
inline std::vector<std::string>& Journal()
{
    static std::vector<std::string> journal;
    return journal;
}

class Probe : public Engine::LogicComp {
public:
    Probe() : label("label", mPropertyMap), level("level", 0, mPropertyMap) {}

    static Engine::TypeNode* RegisterClassType() { return Engine::TypeRegistry::RegisterUnder<Probe, Engine::LogicComp>(); }
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override { Note("init", initialized); }
    void Update() override { Note("update", updated); }
    void Shutdown() override { Note("shutdown", shutDown); }

    Engine::Property<std::string> label;
    Engine::Property<int> level;
    int initialized = 0;
    int updated = 0;
    int shutDown = 0;

private:
    void Note(const char* what, int& counter)
    {
        ++counter;
        Journal().push_back(label.value + ":" + what);
    }
};

class DerivedProbe : public Probe {
public:
    static Engine::TypeNode* RegisterClassType()
    {
        return Engine::TypeRegistry::RegisterUnder<DerivedProbe, Engine::LogicComp>();
    }
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
};

// Answers its base's type node, as classes without their own RegisterType do.
class QuietProbe : public Probe {};

class Gauge : public Engine::LogicComp {
public:
    Gauge() : amount("amount", 1.5f, mPropertyMap), colour("colour", glm::vec3(0.0f), mPropertyMap) {}

    static Engine::TypeNode* RegisterClassType() { return Engine::TypeRegistry::RegisterUnder<Gauge, Engine::LogicComp>(); }
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }

    Engine::Property<float> amount;
    Engine::Property<glm::vec3> colour;
};

// What the game's registration callback does, for the test types.
inline void RegisterTestTypes()
{
    Engine::RegisterLogicType<Engine::LogicComp>();
    Engine::RegisterLogicType<Engine::SMComponent>();
    Engine::RegisterLogicType<Probe>();
    Engine::RegisterLogicType<DerivedProbe>();
    Engine::RegisterLogicType<Gauge>();
}

} // namespace LogicTest
