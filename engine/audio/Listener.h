#pragma once
#include "engine/logic/LogicComp.h"

namespace Engine {

// Carries the audio listener: each frame it stands at its entity's position,
// facing the way the renderer's editor camera faces.
class Listener : public LogicComp {
public:
    static TypeNode* RegisterClassType();
    TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Update() override;
};

} // namespace Engine
