#pragma once
#include "engine/logic/LogicComp.h"
#include "game/components/shared/Medal.h"

#include <cstdint>
#include <deque>
#include <glm/glm.hpp>
#include <string>
#include <vector>

// A player's medals: short HUD animations for a hit of some kind, a goal,
// and at the end of the match the large "MedalPerfect" (or "MedalLost")
// display. Gameplay only queues medal numbers; they show one at a time in
// queue order. Each grows in, holds, plays a sparkle over itself, holds
// again and fades out, while the two score HUDs slide aside to make room.
// The large display ends the match: when it finishes it asks for the end of
// play. All of it runs on real time, so the end-of-match slow motion does
// not slow it.
class BadgeManagerComp : public Engine::LogicComp {
public:
    // The medal numbers, also as BadgeManagerComp::MedalNormal and so on.
    using enum Medal;
    static constexpr int kSparkleFrames = 26;

    // The medal's name, which is also its texture's; null past the last.
    static const char* MedalName(std::uint32_t medal);

    static Engine::TypeNode* RegisterClassType();
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }
    // Makes one hidden HUD entity per medal and the sparkle's; nothing in a
    // tutorial.
    void Initialize() override;
    void Update() override;

    // Queues a medal; a number past the last medal is ignored.
    void PushMedal(std::uint32_t medal);
    void ClearQueue() { mQueue.clear(); }
    // The end-of-match form, for the rest of the match: three times the size,
    // in the middle of the view, slower.
    void SetLargeDisplay();

    // The entity when it has a HUD component, else the null handle.
    static Engine::EntityHandle GetHudEntity(Engine::EntityHandle entity);

    std::vector<Engine::EntityHandle> mMedalEntities;
    std::deque<std::uint32_t> mQueue;
    std::vector<std::string> mSparkleTextures;
    Engine::EntityHandle mEffectEntity;
    Engine::EntityHandle mScoreHud1;
    Engine::EntityHandle mScoreHud2;
    std::uint32_t mCurrentMedal = 0;
    std::int32_t mSparkleFrame = 0;
    glm::vec3 mBaseScale{1.33f, 1.0f, 1.0f};
    glm::vec3 mScoreHudRest1{-0.8f, 4.5f, 0.0f};
    glm::vec3 mScoreHudRest2{0.8f, 4.5f, 0.0f};
    glm::vec3 mScoreHudAside1{-1.8f, 4.5f, 0.0f};
    glm::vec3 mScoreHudAside2{1.8f, 4.5f, 0.0f};
    float mGrowTime = 0.25f;
    float mFadeTime = 0.25f;
    float mHoldTime = 0.3f;
    float mFadeFactor = 4.0f;
    // Time into the grow-in (counting up) or the fade-out (counting down).
    float mTimer = 0.0f;
    float mHoldTimer = 0.0f;
    std::uint8_t mShowing = 0;
    // Before the sparkle.
    std::uint8_t mGrowing = 1;
    std::uint8_t mHoldDone = 0;
    std::uint8_t mSlideScoreHuds = 1;

private:
    bool Ready() const { return mMedalEntities.size() == kMedalCount; }
    void MakeEntities();
    void FindScoreHuds();
    void StartNextMedal();
    void GrowIn();
    bool Hold();
    void Sparkle();
    void FadeOut();
    void EndLargeDisplay();
    void PlaceScoreHuds(float t1, float t2, bool back);

    Engine::EntityHandle CurrentEntity() const { return mMedalEntities[mCurrentMedal]; }
    void SetColour(const glm::vec4& colour) const;
    void SetAlpha(float alpha) const;
    void SetScale(const glm::vec3& scale) const;
};
