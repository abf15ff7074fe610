#include "game/components/medals/BadgeManagerComp.h"

#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/FrameRateController.h"
#include "engine/core/Math.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/CameraManager.h"
#include "engine/render/HUDCompManager.h"
#include "game/arena/MatchRecorder.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerHooks.h"
#include "game/components/player/PlayerLogicComp.h"

#include <algorithm>

namespace {

constexpr const char* kMedalNames[BadgeManagerComp::kMedalCount] = {
    "MedalNormal",  "MedalBounce",    "MedalPerfect",  "MedalActiveShot", "MedalRevenge",
    "MedalJumpShot", "MedalExhausted", "MedalGoalShot", "MedalLost",
};

// Where a medal shows: above the middle of the view, in the 4 : 3 of its
// picture.
constexpr glm::vec3 kMedalPlace{0.0f, 3.8f, 0.0f};
constexpr glm::vec3 kMedalScale{1.33f, 1.0f, 1.0f};
// The large end-of-match form: three times the size, in the middle.
constexpr glm::vec3 kLargePlace{0.0f};
constexpr glm::vec3 kLargeScale{3.99f, 3.0f, 3.0f};
constexpr float kSparkleAlpha = 0.4f;
// The camera that shows the medals of a match on one machine when their
// owner has none of its own.
constexpr int kSharedCamera = 2;

const glm::vec4 kHidden{1.0f, 1.0f, 1.0f, 0.0f};
const glm::vec4 kShown{1.0f};

Engine::HUDComp* HudOf(Engine::EntityHandle entity)
{
    Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
    return entity.IsNull() || !huds.HasComponent(entity) ? nullptr : huds.GetCompPtr(entity);
}

void SetHudColour(Engine::EntityHandle entity, const glm::vec4& colour)
{
    if (Engine::HUDComp* hud = HudOf(entity))
        hud->mColor.value = colour;
}

Engine::EntityHandle MakeHiddenHud(const glm::vec3& at, const glm::vec3& scale, const std::string& texture)
{
    const Engine::EntityHandle entity = MakeHudEntity(at, scale);
    ShowHudTexture(entity, texture);
    SetHudColour(entity, kHidden);
    return entity;
}

bool HasTransform(Engine::EntityHandle entity)
{
    return !entity.IsNull() && Engine::TransformCompManager::GetInstance().HasComponent(entity);
}

void Place(Engine::EntityHandle entity, const glm::vec3& at)
{
    if (HasTransform(entity))
        Engine::Transform::SetWorldPosition(entity, at);
}

} // namespace

const char* BadgeManagerComp::MedalName(std::uint32_t medal) { return medal < kMedalCount ? kMedalNames[medal] : nullptr; }

Engine::TypeNode* BadgeManagerComp::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<BadgeManagerComp, Engine::LogicComp>();
}

Engine::EntityHandle BadgeManagerComp::GetHudEntity(Engine::EntityHandle entity)
{
    return HudOf(entity) ? entity : Engine::EntityHandle();
}

void BadgeManagerComp::PushMedal(std::uint32_t medal)
{
    if (medal < kMedalCount)
        mQueue.push_back(medal);
}

void BadgeManagerComp::Initialize()
{
    if (MatchRecorder::GetInstance().isTutorial)
        return;
    mQueue.clear();
    mBaseScale = kMedalScale;
    mGrowTime = mFadeTime = 0.25f;
    mHoldTime = 0.3f;
    mFadeFactor = 4.0f;
    mTimer = mHoldTimer = 0.0f;
    mShowing = mHoldDone = 0;
    mGrowing = mSlideScoreHuds = 1;
    mSparkleFrame = 0;
    MakeEntities();
    FindScoreHuds();
    mSparkleTextures.clear();
    for (int frame = 0; frame < kSparkleFrames; ++frame)
        mSparkleTextures.push_back("Brilli_" + std::to_string(frame));
}

// One hidden HUD entity per medal and one for the sparkle. A second
// Initialize replaces the entities of the first.
void BadgeManagerComp::MakeEntities()
{
    for (Engine::EntityHandle entity : mMedalEntities)
        if (entity.IsValid())
            entity.Destroy();
    if (mEffectEntity.IsValid())
        mEffectEntity.Destroy();
    mMedalEntities.clear();
    for (std::uint32_t medal = 0; medal < kMedalCount; ++medal)
        mMedalEntities.push_back(MakeHiddenHud(kMedalPlace, glm::vec3(1.0f), kMedalNames[medal]));
    mEffectEntity = MakeHiddenHud(kMedalPlace, kMedalScale, "Player1Wins");

    // Over a link every medal shows in the one local view. On one machine
    // they show in their owner's own view (in the shared view without one).
    if (NetworkMgr::GetInstance().connected)
        return;
    const Engine::GameCamera* camera = PlayerFrame::CameraOf(owner);
    const int view = camera ? camera->mCameraIndex.value : kSharedCamera;
    for (Engine::EntityHandle entity : mMedalEntities)
        if (Engine::HUDComp* hud = HudOf(entity))
            hud->mCameraTarget.value = view;
    if (Engine::HUDComp* sparkle = HudOf(mEffectEntity))
        sparkle->mCameraTarget.value = view;
}

// The two score HUDs: both named "ScoreHUD" on one machine; over a link
// the local one and the peer's "2 HUD".
void BadgeManagerComp::FindScoreHuds()
{
    const Engine::EntityNameCompManager& names = Engine::EntityNameCompManager::GetInstance();
    const std::vector<Engine::EntityHandle> scores = names.FindEntitiesByName("ScoreHUD");
    mScoreHud1 = scores.empty() ? Engine::EntityHandle() : scores[0];
    if (scores.size() >= 2) {
        mScoreHud2 = scores[1];
    } else {
        const std::vector<Engine::EntityHandle> peers = names.FindEntitiesByName("2 HUD");
        mScoreHud2 = peers.empty() ? Engine::EntityHandle() : peers[0];
    }
    Place(mScoreHud1, mScoreHudRest1);
    Place(mScoreHud2, mScoreHudRest2);
}

void BadgeManagerComp::SetLargeDisplay()
{
    mBaseScale = kLargeScale;
    mGrowTime = 1.0f;
    mFadeTime = 1.0f;
    mHoldTime = 0.3f;
    mFadeFactor = 1.0f;
    Place(mEffectEntity, kLargePlace);
    if (HasTransform(mEffectEntity))
        Engine::Transform::ScaleRef(mEffectEntity) = kLargeScale;
    // Three times the size would reach past the top of the view from the
    // small medals' place.
    for (Engine::EntityHandle entity : mMedalEntities)
        Place(entity, kLargePlace);
}

void BadgeManagerComp::Update()
{
    if (MatchRecorder::GetInstance().isTutorial || !Ready())
        return;
    if (!mShowing) {
        if (mQueue.empty())
            return;
        StartNextMedal();
        if (!mShowing)
            return;
    }
    if (mGrowing) {
        if (mTimer < mGrowTime)
            GrowIn();
        else if (!mHoldDone)
            mHoldDone = Hold();
        else
            Sparkle();
    } else if (!mHoldDone) {
        mHoldDone = Hold();
    } else {
        FadeOut();
    }
}

void BadgeManagerComp::StartNextMedal()
{
    const std::uint32_t medal = mQueue.front();
    mQueue.pop_front();
    if (medal >= kMedalCount)
        return;
    mCurrentMedal = medal;
    mShowing = mGrowing = 1;
    // Every medal holds before its sparkle, not only the first of a run.
    mHoldDone = 0;
    mTimer = mHoldTimer = 0.0f;
    mSparkleFrame = 0;
    if (medal == MedalPerfect) {
        if (const Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(owner))
            SetHudColour(player->mEnergyHud, kHidden);
    }
}

// A small medal pops up to one and a half times its size and settles back;
// the large one grows steadily.
void BadgeManagerComp::GrowIn()
{
    const float f = mTimer / mGrowTime;
    if (mSlideScoreHuds)
        PlaceScoreHuds(Engine::Math::EaseOutQuad(f), f, false);
    mTimer += PlayerFrame::Dt();
    const float t = mTimer;
    const float h = mGrowTime * 0.5f;
    if (mCurrentMedal == MedalPerfect) {
        SetScale(mBaseScale * f);
        SetAlpha(t / mGrowTime);
        return;
    }
    if (f < 0.5f) {
        SetScale(mBaseScale * (t / h));
        SetAlpha(t / h);
    } else if (f < 0.75f) {
        SetScale(mBaseScale * (t / h));
    } else if (f < 1.0f) {
        SetScale(mBaseScale * (3.0f - t / h));
    }
}

bool BadgeManagerComp::Hold()
{
    SetColour(kShown);
    SetScale(mBaseScale);
    mHoldTimer += PlayerFrame::Dt();
    return mHoldTimer >= mHoldTime;
}

// Each of the sparkle's pictures shows for two updates.
void BadgeManagerComp::Sparkle()
{
    SetAlpha(mFadeFactor * mTimer);
    const std::size_t picture = static_cast<std::size_t>(mSparkleFrame / 2);
    if (picture < mSparkleTextures.size())
        ShowHudTexture(mEffectEntity, mSparkleTextures[picture]);
    SetHudColour(mEffectEntity, glm::vec4(1.0f, 1.0f, 1.0f, kSparkleAlpha));
    ++mSparkleFrame;
    if (static_cast<std::size_t>(mSparkleFrame / 2) < mSparkleTextures.size())
        return;
    if (mCurrentMedal == MedalPerfect)
        mHoldTime = 1.0f;
    mTimer = mFadeTime;
    mHoldDone = mGrowing = 0;
    mHoldTimer = 0.0f;
    SetHudColour(mEffectEntity, kHidden);
    // The score HUDs stay aside while more medals wait.
    mSlideScoreHuds = mQueue.empty() ? 1 : 0;
}

void BadgeManagerComp::FadeOut()
{
    if (mCurrentMedal == MedalPerfect) {
        EndLargeDisplay();
        return;
    }
    const float g = (mFadeTime - mTimer) / mFadeTime;
    if (mSlideScoreHuds)
        PlaceScoreHuds(g, g, true);
    SetScale(mBaseScale * (mFadeFactor * mTimer));
    mTimer -= PlayerFrame::Dt();
    if (mTimer <= 0.0f) {
        mShowing = 0;
        if (mSlideScoreHuds)
            PlaceScoreHuds(1.0f, 1.0f, true);
    }
    SetAlpha(mTimer * mFadeFactor);
}

// The end of the match: the medal goes, time runs at full speed again and
// play may end.
void BadgeManagerComp::EndLargeDisplay()
{
    SetColour(kHidden);
    Engine::FrameRateController::SetTimeScale(1.0);
    mShowing = 0;
    mQueue.clear();
    if (IsHookSet(PlayerHooks::Get().requestEndOfPlay, "PlayerHooks::requestEndOfPlay"))
        PlayerHooks::Get().requestEndOfPlay();
}

// t1 and t2 run from the rest places to the places aside, or back.
void BadgeManagerComp::PlaceScoreHuds(float t1, float t2, bool back)
{
    if (back) {
        Place(mScoreHud1, Engine::Math::Lerp(mScoreHudAside1, mScoreHudRest1, t1));
        Place(mScoreHud2, Engine::Math::Lerp(mScoreHudAside2, mScoreHudRest2, t2));
    } else {
        Place(mScoreHud1, Engine::Math::Lerp(mScoreHudRest1, mScoreHudAside1, t1));
        Place(mScoreHud2, Engine::Math::Lerp(mScoreHudRest2, mScoreHudAside2, t2));
    }
}

void BadgeManagerComp::SetColour(const glm::vec4& colour) const { SetHudColour(CurrentEntity(), colour); }

void BadgeManagerComp::SetAlpha(float alpha) const
{
    if (Engine::HUDComp* hud = HudOf(CurrentEntity()))
        hud->mColor.value.a = std::clamp(alpha, 0.0f, 1.0f);
}

void BadgeManagerComp::SetScale(const glm::vec3& scale) const
{
    if (HasTransform(CurrentEntity()))
        Engine::Transform::ScaleRef(CurrentEntity()) = scale;
}
