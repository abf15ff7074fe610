#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/logic/LogicComp.h"

// Shows the "RecordingHud" overlay on its entity's HUD component while a
// match replays, and nothing in live play. A tutorial's overlay is left as
// the scene set it. Made in code by the scene builder, not by name.
class KillCamHud : public Engine::LogicComp {
public:
    static constexpr const char* kTexture = "RecordingHud";

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    void Initialize() override;
    void Update() override;

private:
    Engine::EntityHandle mHud;
};
