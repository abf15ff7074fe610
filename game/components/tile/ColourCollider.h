#pragma once
#include "engine/core/Property.h"
#include "engine/logic/LogicComp.h"

#include <glm/glm.hpp>

// The colour splash a ball leaves where it hits a tile: a ghost sphere that
// grows from its start scale to "final_scale" over "total_time" seconds and
// is then destroyed. The tiles it touches flash in "colour".
class ColourCollider : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;

    Engine::Property<float> total_time{"total_time", 0.15f, mPropertyMap};
    Engine::Property<glm::vec3> final_scale{"final_scale", glm::vec3(8.0f), mPropertyMap};
    Engine::Property<glm::vec3> colour{"colour", glm::vec3(1.0f, 0.0f, 0.0f), mPropertyMap};
    float mElapsed = 0.0f;
    glm::vec3 mStartScale{0.0f};
};
