// Under Xvfb: two players' views split as on one machine, each with its
// active perk's arrows along the lower left of its own view.
#include "game/components/PlayerScene.h"

#include "game/components/perks/ActivePerks.h"
#include "game/components/perks/PassivePerks.h"

namespace {

class ActivePerkHudShot : public PlayerScene {
protected:
    void BeforeFloor() override { LoadRenderer(); }

    // The brightest pixel round an arrow of a view: its x on the canvas, the
    // view's lower edge in window pixels (GL's y up).
    static int ArrowBrightness(float canvasX, int viewBottom)
    {
        const float halfWidth = 5.0f * 1280.0f / 720.0f;
        const int x = static_cast<int>((canvasX / halfWidth + 1.0f) * 0.5f * 1280.0f);
        const int y = viewBottom + static_cast<int>((-4.0f / 5.0f + 1.0f) * 0.5f * 360.0f);
        int brightest = 0;
        for (int dx = -8; dx <= 8; dx += 2) {
            for (int dy = -5; dy <= 5; ++dy)
                brightest = std::max(brightest, Brightness(PixelAt(x + dx, y + dy)));
        }
        return brightest;
    }
};

TEST_F(ActivePerkHudShot, EachViewShowsItsOwnPerksArrowsLitAsFarAsTheWaitHasGone)
{
    const Engine::EntityHandle one = SpawnStanding({-9.0f, 0.0f, 3.0f});
    const Engine::EntityHandle two = SpawnStanding({8.0f, 0.0f, -3.0f});
    Camera(one).mViewportPos.value = glm::vec2(0.0f, 0.5f);
    Camera(two).mViewportPos.value = glm::vec2(0.0f, 0.0f);
    Camera(one).SetTarget(Position(two));
    Camera(two).SetTarget(Position(one));
    // The first player's shield at half the cooldown: ready after 4 s, its
    // row of 8 half lit then; the second's teleport at 2 s of its 4.5.
    Engine::LogicManager::GetInstance().AddComponent<PasivePerkss::ActiveCost>(one);
    ASSERT_TRUE(ActivePerkss::AttachBySelection(one, 1));
    ASSERT_TRUE(ActivePerkss::AttachBySelection(two, 0));
    Frames(2);
    ActivePerkss::ActivePerk& shield = *Engine::LogicManager::GetCompPtr<ActivePerkss::ActivePerk>(one);
    ActivePerkss::ActivePerk& teleport = *Engine::LogicManager::GetCompPtr<ActivePerkss::ActivePerk>(two);
    shield.timer = 4.0f;
    teleport.timer = 2.0f;
    Frame();
    ASSERT_EQ(shield.arrows.size(), 8u);
    ASSERT_EQ(teleport.arrows.size(), 9u);
    LightTheFloor();
    Draw("perk_hud_arrows");

    const float pitch = 0.2f * 1.3507f;
    for (auto [arrows, view] : {std::pair{8, 360}, std::pair{9, 0}}) {
        SCOPED_TRACE(view);
        for (int i = 0; i < arrows; ++i) {
            const int brightness = ArrowBrightness(-7.5f + static_cast<float>(i) * pitch, view);
            if (i < 4)
                EXPECT_GT(brightness, 700) << "arrow " << i << " is lit";
            else
                EXPECT_LT(brightness, 500) << "arrow " << i << " waits";
        }
    }
}

} // namespace
