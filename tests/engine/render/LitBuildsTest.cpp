// The floor is drawn by the build of its program for the kinds of lights
// the frame has; each must draw what the program for every kind draws.
#include "ArenaShot.h"
#include "engine/render/Texture.h"

#include <array>
#include <stb_image_write.h>

namespace {

struct LitBuilds : ArenaShot {
    // A spot light that gives no light: with it among the lights the frame
    // needs the program for every kind, and draws the same picture.
    Engine::EntityHandle AddDarkSpot()
    {
        Engine::Light& spot = PointLight({0.0f, 30.0f, 0.0f}, glm::vec3(0.0f));
        spot.mAmbientColor.value = glm::vec4(0.0f);
        spot.type = 2;
        return spot.owner;
    }
};

TEST_F(LitBuilds, TheBuildForTheFramesLightsDrawsWhatTheProgramForEveryKindDraws)
{
    BuildFloor();
    AddCamera({0.0f, 22.0f, 38.0f}, {0.0f, -6.0f, -2.0f}).selectionPoint = {1.5f, 0.0f, 14.7f};
    renderer.emissiveColour = {0.05f, 0.12f, 0.2f};
    renderer.SetSelectionColours({1.0f, 0.95f, 0.6f}, 1.6f, {0.2f, 0.4f, 0.6f});
    Engine::TransformCompManager::GetInstance().Update();
    Engine::LightManager& lights = Engine::LightManager::GetInstance();
    for (bool cel : {true, false}) {
        renderer.celShading = cel;
        lights.Clear();
        for (Engine::LightKinds kinds : {Engine::LightKinds::None, Engine::LightKinds::Point}) {
            if (kinds == Engine::LightKinds::Point)
                AddLights();
            ASSERT_EQ(lights.Kinds(), kinds);
            renderer.Render();
            const std::vector<unsigned char> lean = WindowPicture();
            const Engine::EntityHandle spot = AddDarkSpot();
            ASSERT_EQ(lights.Kinds(), Engine::LightKinds::Any);
            renderer.Render();
            EXPECT_LE(LargestDifference(lean, WindowPicture()), 2) << cel << " " << static_cast<int>(kinds);
            lights.RemoveComponent(spot);
        }
    }
    EXPECT_TRUE(DrainGlErrors().empty());
}

// A normal map of one colour tilts every face of a tile alike, so the floor's
// build for such maps tilts the normal once per vertex. It must draw what
// reading the map draws: a map of the same colour whose alpha differs in one
// texel is read texel by texel.
TEST_F(LitBuilds, TheBuildForANormalMapOfOneColourDrawsWhatReadingTheMapDraws)
{
    std::array<unsigned char, 16> texels{200, 90, 190, 255, 200, 90, 190, 255, 200, 90, 190, 255, 200, 90, 190, 255};
    ASSERT_TRUE(stbi_write_png("tilted_normal.png", 2, 2, 4, texels.data(), 8));
    texels[3] = 254;
    ASSERT_TRUE(stbi_write_png("tilted_normal_read.png", 2, 2, 4, texels.data(), 8));
    Engine::Texture oneColour;
    Engine::Texture read;
    oneColour.LoadFromFile("tilted_normal.png");
    read.LoadFromFile("tilted_normal_read.png");
    ASSERT_TRUE(oneColour.SingleColour().has_value());
    ASSERT_FALSE(read.SingleColour().has_value());

    BuildFloor();
    AddLights();
    AddCamera({0.0f, 22.0f, 38.0f}, {0.0f, -6.0f, -2.0f});
    Engine::TransformCompManager::GetInstance().Update();
    Engine::Material& material = *renderer.materials.Find("TileNoBlur");
    Engine::Texture* const shipped = material.normal;
    for (bool cel : {true, false}) {
        renderer.celShading = cel;
        material.normal = &oneColour;
        renderer.Render();
        const std::vector<unsigned char> built = WindowPicture();
        material.normal = &read;
        renderer.Render();
        EXPECT_LE(LargestDifference(built, WindowPicture()), 2) << cel;
    }
    material.normal = shipped;
    EXPECT_TRUE(DrainGlErrors().empty());
}

// The floor's builds for a grey diffuse and highlight map pair take both
// maps from one texel (see Material::GreyPair). They must draw what reading
// the two maps draws: a highlight map whose alpha differs in one texel is no
// opaque grey and is read on its own.
TEST_F(LitBuilds, TheBuildForAGreyMapPairDrawsWhatReadingBothMapsDraws)
{
    const std::array<unsigned char, 4> diffuse{230, 90, 160, 40};
    std::array<unsigned char, 8> highlight{250, 255, 20, 255, 140, 255, 60, 255}; // grey and alpha
    ASSERT_TRUE(stbi_write_png("pair_diffuse.png", 2, 2, 1, diffuse.data(), 2));
    ASSERT_TRUE(stbi_write_png("pair_highlight.png", 2, 2, 2, highlight.data(), 4));
    highlight[7] = 254;
    ASSERT_TRUE(stbi_write_png("pair_highlight_read.png", 2, 2, 2, highlight.data(), 4));
    Engine::Texture diffuseMap;
    Engine::Texture paired;
    Engine::Texture read;
    diffuseMap.LoadFromFile("pair_diffuse.png");
    paired.LoadFromFile("pair_highlight.png");
    read.LoadFromFile("pair_highlight_read.png");

    BuildFloor();
    AddLights();
    AddCamera({0.0f, 22.0f, 38.0f}, {0.0f, -6.0f, -2.0f});
    Engine::TransformCompManager::GetInstance().Update();
    Engine::Material& material = *renderer.materials.Find("TileNoBlur");
    const Engine::Material shipped = material;
    material.diffuse = &diffuseMap;
    for (bool cel : {true, false}) {
        renderer.celShading = cel;
        material.specular = &paired;
        ASSERT_NE(material.GreyPair(), nullptr);
        renderer.Render();
        const std::vector<unsigned char> built = WindowPicture();
        material.specular = &read;
        ASSERT_EQ(material.GreyPair(), nullptr);
        renderer.Render();
        EXPECT_LE(LargestDifference(built, WindowPicture()), 2) << cel;
    }
    material = shipped;
    EXPECT_TRUE(DrainGlErrors().empty());
}

// Only the lights the programs receive count, and a light of an unknown
// type is lit as a point light.
TEST_F(LitBuilds, TheKindsOfLightsAreThoseOfTheLightsSent)
{
    Engine::LightManager& lights = Engine::LightManager::GetInstance();
    EXPECT_EQ(lights.Kinds(), Engine::LightKinds::None);
    for (int i = 0; i < Engine::kMaxLights; ++i)
        PointLight({static_cast<float>(i), 0.0f, 0.0f}, glm::vec3(1.0f)).type = i == 3 ? 7 : 0;
    EXPECT_EQ(lights.Kinds(), Engine::LightKinds::Point);
    PointLight({0.0f, 9.0f, 0.0f}, glm::vec3(1.0f)).type = 1; // the ninth: never sent
    EXPECT_EQ(lights.Kinds(), Engine::LightKinds::Point);
    lights.Clear();
    PointLight({0.0f, 9.0f, 0.0f}, glm::vec3(1.0f)).type = 1;
    EXPECT_EQ(lights.Kinds(), Engine::LightKinds::Any);
}

} // namespace
