// Under Xvfb: two players' views of the small floor, split as on one
// machine, with their score, energy and crosshair HUDs; then the same with
// the second player exhausted and hit.
#include "game/components/PlayerScene.h"

namespace {

class PlayerViewShot : public PlayerScene {
protected:
    void BeforeFloor() override { LoadRenderer(); }

    // Two players facing each other across the floor, lit from above; the
    // first sees the upper half of the window, the second the lower.
    void SetUpMatch()
    {
        one = SpawnStanding({-9.0f, 0.0f, 3.0f});
        two = SpawnStanding({8.0f, 0.0f, -3.0f});
        Camera(one).mViewportPos.value = glm::vec2(0.0f, 0.5f);
        Camera(two).mViewportPos.value = glm::vec2(0.0f, 0.0f);
        Camera(one).SetTarget(Position(two));
        Camera(two).SetTarget(Position(one) + glm::vec3(3.0f, 0.0f, 0.0f));
        Frames(3);
        LightTheFloor();
    }

    Engine::EntityHandle one;
    Engine::EntityHandle two;
};

TEST_F(PlayerViewShot, TwoPlayersWithTheirHudsAndThenOneHurtAndExhausted)
{
    SetUpMatch();
    Component(one).mScore = 2;
    Component(one).SpendEnergy(7.0f);
    Frames(2);
    ASSERT_EQ(HudTexture(Component(one).mEnergyHud), "Energy_9");
    ASSERT_EQ(HudTexture(Component(one).mScoreHud), "Score_J1_2");
    Draw("player_views");
    // Each view's score badge at its top, in its player's colour: the
    // medals' manager rests player 1's left of the middle, player 2's right.
    const std::array<int, 3> blue = PixelAt(527, 690);
    const std::array<int, 3> red = PixelAt(642, 330);
    EXPECT_GT(blue[2], blue[0] + 60) << "player 1's badge, upper view";
    EXPECT_GT(red[0], red[2] + 60) << "player 2's badge, lower view";
    const std::array<int, 3> calm = PixelAt(200, 60);

    Component(two).mScore = 4;
    Component(two).SpendEnergy(16.0f);
    Frames(20);
    Component(two).TakeHit();
    Frames(26);
    ASSERT_EQ(EnergyState(two), "Exausted");
    ASSERT_EQ(HudTexture(Component(two).mScoreHud), "Score_J2_4");
    Draw("player_hurt_exhausted");
    // The hit reddens the view's edges.
    const std::array<int, 3> hurt = PixelAt(200, 60);
    EXPECT_GT(hurt[0] - hurt[2], calm[0] - calm[2]);
}

} // namespace
