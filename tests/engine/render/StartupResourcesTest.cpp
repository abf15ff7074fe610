#include "GlTestWindow.h"
#include "engine/render/ForceFieldShader.h"
#include "engine/render/HexagonMesh.h"
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>
#include <stb_image.h>

namespace {

using Engine::Renderer;

// Loads everything the way start-up does and keeps what it printed.
struct StartupFixture : ::testing::Test {
    void SetUp() override
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        OpenTestWindow();
        renderer.LoadSplashResources();
        renderer.LoadResources();
        err = testing::internal::GetCapturedStderr();
        out = testing::internal::GetCapturedStdout();
    }

    Renderer& renderer = Renderer::GetInstance();
    std::string out;
    std::string err;
};

TEST_F(StartupFixture, LoadsEveryResourceWithoutComplaintAndLookupsAddNothing)
{
    for (const char* complaint :
         {"Compile failure", "Linker failure", "File not read in", "could not be", "data/font_mapping", "ERROR"}) {
        EXPECT_EQ(out.find(complaint), std::string::npos) << complaint << " in:\n" << out;
        EXPECT_EQ(err.find(complaint), std::string::npos) << complaint << " in:\n" << err;
    }
    EXPECT_EQ(renderer.models.Size(), 8u);
    EXPECT_EQ(renderer.animatedModels.Size(), 1u);
    EXPECT_EQ(renderer.materials.Size(), 6u);
    EXPECT_NE(renderer.noises.Find("PerlinNoise"), nullptr);
    EXPECT_EQ(renderer.noises.Size(), 1u);
    EXPECT_NE(renderer.fonts.Find("Latin"), nullptr);
    EXPECT_NE(renderer.fonts.Find("Cyrillic"), nullptr);
    EXPECT_EQ(renderer.fonts.Size(), 2u);
    for (const auto& [name, program] : renderer.shaders)
        EXPECT_TRUE(program->Linked()) << name;
    for (const auto& [name, texture] : renderer.textures)
        EXPECT_GT(texture->Width(), 0) << name;
    for (const char* name : {"", "NoSuchThing", "quad"}) {
        EXPECT_EQ(renderer.shaders.Find(name), nullptr);
        EXPECT_EQ(renderer.textures.Find(name), nullptr);
    }
    EXPECT_EQ(renderer.shaders.Size(), 27u);
    EXPECT_EQ(renderer.textures.Size(), 102u);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(StartupFixture, ProgramsCarryTheirClassAndCullingAndMaterialsTheirMaps)
{
    for (const char* name : {"ForceField", "StunArea", "PostProcessing", "Default"}) {
        const Engine::ShaderProgram* program = renderer.shaders.Find(name);
        EXPECT_EQ(dynamic_cast<const Engine::ForceFieldShader*>(program) != nullptr, name != std::string("Default"))
            << name;
        const bool culled = name == std::string("PostProcessing") || name == std::string("Default");
        EXPECT_EQ(program->cullMode, culled ? static_cast<GLenum>(GL_BACK) : Engine::ShaderProgram::kCullNone) << name;
    }
    // Built from the same two files, still two programs.
    EXPECT_NE(renderer.shaders.Find("Trail")->Id(), renderer.shaders.Find("Player")->Id());

    const Engine::Material* ball = renderer.materials.Find("Ball");
    EXPECT_EQ(ball->diffuse, renderer.textures.Find("Ball_Bump"));
    EXPECT_EQ(ball->normal, renderer.textures.Find("NormalDefault"));
    EXPECT_EQ(ball->specular, nullptr);
    EXPECT_EQ(renderer.materials.Find("TileNoBlur")->specular, renderer.textures.Find("Tile_Specular"));
}

// The flat default normal map is known to be of one colour, so the floor
// can be drawn by the build of its program that skips reading it; a
// patterned map is not, and programs without such a build stand for
// themselves.
TEST_F(StartupFixture, NormalMapsOfOneColourAreKnownAndTheFloorProgramsHaveABuildForThem)
{
    using Colour = std::array<std::uint8_t, 4>;
    EXPECT_EQ(renderer.textures.Find("NormalDefault")->SingleColour(), (Colour{128, 128, 255, 255}));
    EXPECT_EQ(renderer.textures.Find("Tile_Normal")->SingleColour(), std::nullopt);
    EXPECT_EQ(renderer.textures.Find("TileNoBlur")->SingleColour(), std::nullopt);

    const std::optional<glm::vec3> flat = renderer.materials.Find("TileNoBlur")->NormalTexel();
    ASSERT_TRUE(flat.has_value());
    EXPECT_NEAR(flat->x, 128.0f / 255.0f, 1e-6f);
    EXPECT_NEAR(flat->z, 1.0f, 1e-6f);
    const Engine::Material patterned(nullptr, renderer.textures.Find("Tile_Normal"), nullptr, nullptr);
    EXPECT_EQ(patterned.NormalTexel(), std::nullopt);
    EXPECT_EQ(Engine::Material(nullptr, nullptr, nullptr, nullptr).NormalTexel(), std::nullopt);

    for (const char* name : {"Cel_Instanced", "Default_Instanced"}) {
        const Engine::ShaderProgram& registered = *renderer.shaders.Find(name);
        const Engine::ShaderProgram& build = renderer.OneColourNormalBuild(registered);
        EXPECT_NE(&build, &registered) << name;
        EXPECT_TRUE(build.Linked()) << name;
        EXPECT_NE(glGetUniformLocation(build.Id(), "uNormalTexel"), -1) << name;
    }
    const Engine::ShaderProgram& cel = *renderer.shaders.Find("Cel");
    EXPECT_EQ(&renderer.OneColourNormalBuild(cel), &cel);
}

// The boards of one player are shown under the other player's names.
TEST_F(StartupFixture, ScoreAndWinImagesCrossOver)
{
    auto sameImage = [](const Engine::Texture* texture, const char* path) {
        int w = 0, h = 0, n = 0;
        stbi_set_flip_vertically_on_load(1);
        stbi_uc* pixels = stbi_load(path, &w, &h, &n, 4);
        if (!pixels || w != texture->Width() || h != texture->Height()) {
            stbi_image_free(pixels);
            return false;
        }
        std::vector<unsigned char> texels(static_cast<std::size_t>(w * h * 4));
        texture->Bind();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        bool same = std::equal(texels.begin(), texels.end(), pixels);
        stbi_image_free(pixels);
        return same;
    };
    EXPECT_TRUE(sameImage(renderer.textures.Find("Win_1"), "data/Texture/Win/Player_2.psd"));
    EXPECT_TRUE(sameImage(renderer.textures.Find("Win_2"), "data/Texture/Win/Player_1.psd"));
    EXPECT_TRUE(sameImage(renderer.textures.Find("Score_J1_3"), "data/Texture/Score/Score_Base_J2_3.psd"));
    EXPECT_TRUE(sameImage(renderer.textures.Find("Score_J2_0"), "data/Texture/Score/Score_Base_J1_0.psd"));
    EXPECT_FALSE(sameImage(renderer.textures.Find("Win_1"), "data/Texture/Win/Player_1.psd"));
}

TEST_F(StartupFixture, TheHexagonModelIsTheGeneratedPrism)
{
    StdoutOf([&] { StderrOf([&] { renderer.LoadResources(); }); });
    const Engine::Model* hexagon = renderer.models.Find("Hexagon");
    ASSERT_EQ(hexagon->meshes.size(), 1u) << "loaded twice, still one prism";
    std::vector<Engine::Vertex> generated;
    std::vector<std::uint32_t> indices;
    Engine::HexagonMesh().Generate(generated, 6, indices);
    ASSERT_EQ(hexagon->meshes[0].Vertices().size(), generated.size());
    EXPECT_EQ(hexagon->meshes[0].Vertices()[0].normal, generated[0].normal);
    EXPECT_EQ(hexagon->meshes[0].Indices(), indices);
}

// What the frame draws into the scene target reaches all three attachments.
TEST_F(StartupFixture, SceneProgramsWriteTheThreeOutputs)
{
    for (const char* name : {"Default", "Default_Instanced", "Cel", "Cel_Instanced", "Player", "Trail", "Particle", "Ball",
                             "GoalBall_Inside", "GoalBall_Shell", "ForceField", "StunArea", "Border", "Light",
                             "Hologram", "NoLight", "Quad"}) {
        GLuint id = renderer.shaders.Find(name)->Id();
        EXPECT_EQ(glGetFragDataLocation(id, "oColour"), 0) << name;
        EXPECT_EQ(glGetFragDataLocation(id, "oGlow"), 1) << name;
        EXPECT_EQ(glGetFragDataLocation(id, "oNormal"), 2) << name;
    }
    for (const char* name : {"Default", "Cel", "Default_Instanced", "Cel_Instanced"}) {
        GLuint id = renderer.shaders.Find(name)->Id();
        EXPECT_NE(glGetUniformLocation(id, "uLights[0].diffuse"), -1) << name;
        EXPECT_NE(glGetUniformLocation(id, "uLightsSize"), -1) << name;
        EXPECT_NE(glGetUniformLocation(id, "uViewPos"), -1) << name;
    }
    for (const char* name : {"Default_Instanced", "Cel_Instanced"}) {
        GLuint id = renderer.shaders.Find(name)->Id();
        for (const char* uniform : {"uSelectPos", "uSelectColour", "uMaxColourDist", "uBorderColour", "uEmissiveCol"})
            EXPECT_NE(glGetUniformLocation(id, uniform), -1) << name << " " << uniform;
    }
}

} // namespace
