// Under Xvfb: a player's view of the small floor with its radial mode menu
// open, the pointer picking the left slice (the tile behind), and the
// aimed tile highlighted.
#include "BendingScene.h"

#include "engine/render/LightManager.h"
#include "engine/render/Renderer.h"
#include "game/match/Palette.h"

namespace {

class RadialMenuShot : public BendingScene {
protected:
    void BeforeFloor() override
    {
        StdoutOf([] {
            Engine::Renderer::GetInstance().LoadSplashResources();
            Engine::Renderer::GetInstance().LoadResources();
        });
        DrainGlErrors();
    }

    void Light()
    {
        const Engine::EntityHandle lamp = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(lamp);
        Engine::Transform::PositionRef(lamp) = glm::vec3(0.0f, FloorTop() + 25.0f, 0.0f);
        Engine::Light& light = *Engine::LightManager::GetInstance().AddComponent(lamp).light;
        light.mAttenuation_2.value = 0.002f;
        light.mAttenuation_3.value = 0.0005f;
        Engine::Renderer& renderer = Engine::Renderer::GetInstance();
        renderer.SetSelectionColours(CurrentPalette.Colour(SelBordCol), CurrentPalette.Value(SelRadius),
                                     CurrentPalette.Colour(BordCol));
        renderer.emissiveColour = CurrentPalette.Colour(BorderEmissive);
    }

    void Draw()
    {
        Engine::TransformCompManager::GetInstance().Update();
        Engine::Renderer::GetInstance().Render();
        EXPECT_TRUE(DrainGlErrors().empty());
    }
    static int Brightness(const std::array<int, 3>& rgb) { return rgb[0] + rgb[1] + rgb[2]; }
};

TEST_F(RadialMenuShot, TheOpenMenuLightsTheSliceThePointerPicks)
{
    Light();
    auto pointLeft = [this] {
        mousePixel = {640, 360};
        Hold(InputBindings::ModeMenu);
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
    Draw();
    ASSERT_TRUE(SaveScreenshot("radial_menu_open"));
    EXPECT_GT(Brightness(PixelAt(inSlices[0].x, inSlices[0].y)), closed[0] + 120) << "the left slice is lit";
    EXPECT_NEAR(Brightness(PixelAt(inSlices[1].x, inSlices[1].y)), closed[1], 30) << "the upper slice is not";
    EXPECT_NEAR(Brightness(PixelAt(inSlices[2].x, inSlices[2].y)), closed[2], 30) << "the right slice is not";
}

} // namespace
