#include "GlTestWindow.h"
#include "engine/render/LightLimits.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <stb_image_write.h>

namespace {

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<unsigned char> TexelsOf(const Engine::Texture& texture)
{
    std::vector<unsigned char> texels(static_cast<std::size_t>(texture.Width() * texture.Height() * 4));
    texture.Bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

struct GlFixture : ::testing::Test {
    void SetUp() override { OpenTestWindow(); }
    ScopedTempDir dir;
};

TEST_F(GlFixture, AMissingImageKeepsItsNameAndNoSize)
{
    Engine::Texture texture;
    testing::internal::CaptureStderr();
    texture.LoadFromFile("missing.png");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't fopen\n");
    EXPECT_NE(texture.Id(), 0u);
    EXPECT_EQ(texture.Width(), 0);
    EXPECT_EQ(texture.Height(), 0);

    WriteFile("broken.png", "\x89PNG not really");
    Engine::Texture broken;
    testing::internal::CaptureStderr();
    broken.LoadFromFile("broken.png");
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_EQ(broken.Width(), 0);
}

TEST_F(GlFixture, ImagesBecomeRgbaWithTheBottomRowFirst)
{
    // One column, two rows: grey 200 on top, grey 50 below.
    const unsigned char grey[] = {200, 50};
    ASSERT_TRUE(stbi_write_png("grey.png", 1, 2, 1, grey, 1));
    Engine::Texture texture;
    texture.LoadFromFile("grey.png");
    ASSERT_EQ(texture.Width(), 1);
    ASSERT_EQ(texture.Height(), 2);
    std::vector<unsigned char> texels = TexelsOf(texture);
    EXPECT_EQ(std::vector<unsigned char>(texels.begin(), texels.begin() + 4),
              (std::vector<unsigned char>{50, 50, 50, 255}));
    EXPECT_EQ(texels[4], 200);
}

TEST_F(GlFixture, AMissingShaderFileIsReportedAndTheLinkFails)
{
    WriteFile("ok.frag", "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n");
    testing::internal::CaptureStderr();
    Engine::ShaderProgram program("absent.vert", "ok.frag");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("File not read in absent.vert\n"), std::string::npos);
    EXPECT_NE(err.find("Linker failure: "), std::string::npos);
    EXPECT_FALSE(program.Linked());
    EXPECT_NE(program.Id(), 0u);
}

TEST_F(GlFixture, ACompileFailureNamesTheStageAndFile)
{
    WriteFile("ok.vert", "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n");
    WriteFile("bad.frag", "#version 330 core\nvoid main() { this is not glsl }\n");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Engine::ShaderProgram program("ok.vert", "bad.frag");
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Shader ok.vert successfully read\n"), std::string::npos);
    EXPECT_NE(err.find("Compile failure in fragment shader (bad.frag):\n"), std::string::npos);
    EXPECT_FALSE(program.Linked());
}

// A long line used to cut the source; the program below only links when the
// code after a 300-character line survives.
TEST_F(GlFixture, LongLinesAndTheSharedLightCountReachTheCompiler)
{
    WriteFile("lights.vert", "#version 330 core\n// " + std::string(300, '-') +
                                 "\nuniform vec3 uLightPos[MAX_LIGHTS];\n"
                                 "void main() { vec3 s = vec3(0.0); for (int i = 0; i < MAX_LIGHTS; ++i) s += uLightPos[i];"
                                 " gl_Position = vec4(s, 1.0); }\n");
    WriteFile("white.frag", "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n");
    testing::internal::CaptureStdout();
    Engine::ShaderProgram program("lights.vert", "white.frag");
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(program.Linked());
    std::string last = "uLightPos[" + std::to_string(Engine::kMaxLights - 1) + "]";
    std::string past = "uLightPos[" + std::to_string(Engine::kMaxLights) + "]";
    EXPECT_NE(glGetUniformLocation(program.Id(), last.c_str()), -1);
    EXPECT_EQ(glGetUniformLocation(program.Id(), past.c_str()), -1);

    // A name the program lacks is ignored without a GL error.
    program.Use();
    DrainGlErrors();
    program.SetUniform("uNoSuchThing", 1.0f);
    program.SetUniform("uNoSuchThing", 1);
    program.SetUniform("uNoSuchThing", 1.0f, 2.0f, 3.0f);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(GlFixture, LightsUploadTheirMembersAndShadowUnit)
{
    WriteFile("light.vert", "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n");
    WriteFile("light.frag",
              "#version 330 core\n"
              "struct L { int type; vec4 diffuse; float spot_innerAngle; sampler2D shadowMap; samplerCube shadowCube; };\n"
              "uniform L uLights[2];\nout vec4 c;\n"
              "void main() { c = uLights[1].diffuse * uLights[1].spot_innerAngle * float(uLights[1].type)"
              " + texture(uLights[1].shadowMap, vec2(0.5)) + texture(uLights[0].shadowCube, vec3(1.0)); }\n");
    testing::internal::CaptureStdout();
    Engine::ShaderProgram program("light.vert", "light.frag");
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(program.Linked());
    program.Use();

    Engine::Framebuffer shadowMap({{16, 16, Engine::AttachmentType::Depth, false}});
    Engine::ShadowCubeMap cube(8);
    Engine::LightUniforms spot;
    spot.type = 2;
    spot.diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    spot.innerAngleDegrees = 90.0f;
    spot.shadowMap = &shadowMap;
    program.SetLight("uLights[1]", spot, 1);
    Engine::LightUniforms point;
    point.shadowCube = &cube;
    program.SetLight("uLights[0]", point, 0);

    GLint value = -1;
    glGetUniformiv(program.Id(), glGetUniformLocation(program.Id(), "uLights[1].shadowMap"), &value);
    EXPECT_EQ(value, 5);
    glGetUniformiv(program.Id(), glGetUniformLocation(program.Id(), "uLights[0].shadowCube"), &value);
    EXPECT_EQ(value, 4);
    float angle = 0.0f;
    glGetUniformfv(program.Id(), glGetUniformLocation(program.Id(), "uLights[1].spot_innerAngle"), &angle);
    EXPECT_NEAR(angle, 1.5707963f, 1e-5f);
    GLint bound = 0;
    glActiveTexture(GL_TEXTURE5);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), shadowMap.TextureId(0));
    glActiveTexture(GL_TEXTURE4);
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), cube.Texture());
    glActiveTexture(GL_TEXTURE0);
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
