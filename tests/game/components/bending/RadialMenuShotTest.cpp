// Under Xvfb: a player's view of the small floor with its radial mode menu
// open, the pointer picking the left slice (the tile behind), and the
// aimed tile highlighted.
#include "game/components/BendingScene.h"

namespace {

class RadialMenuShot : public BendingScene {
protected:
    void BeforeFloor() override { LoadRenderer(); }
};

TEST_F(RadialMenuShot, TheOpenMenuLightsTheSliceThePointerPicks)
{
    LightTheFloor();
    auto pointLeft = [this] {
        mousePixel = {640, 360};
        HoldKey(InputBindings::ModeMenu);
        Frame();
        mousePixel = {640 - 120, 360 - 20};
        Frames(3);
    };
    // The same view with the menu closed, for comparison.
    pointLeft();
    Release(InputBindings::ModeMenu);
    Frames(2);
    ASSERT_EQ(Component(player).mBendMode, 1);
    ASSERT_EQ(Component(player).mAimedTile, ExpectedTile(1));
    const std::array<glm::ivec2, 3> inSlices = {glm::ivec2(640 - 70, 360), glm::ivec2(640, 360 + 45),
                                                glm::ivec2(640 + 70, 360)};
    Draw();
    std::array<int, 3> closed{};
    for (std::size_t i = 0; i < inSlices.size(); ++i)
        closed[i] = Brightness(PixelAt(inSlices[i].x, inSlices[i].y));

    pointLeft();
    Draw("radial_menu_open");
    EXPECT_GT(Brightness(PixelAt(inSlices[0].x, inSlices[0].y)), closed[0] + 120) << "the left slice is lit";
    EXPECT_NEAR(Brightness(PixelAt(inSlices[1].x, inSlices[1].y)), closed[1], 30) << "the upper slice is not";
    EXPECT_NEAR(Brightness(PixelAt(inSlices[2].x, inSlices[2].y)), closed[2], 30) << "the right slice is not";
}

} // namespace
