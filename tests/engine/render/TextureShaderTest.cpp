#include "GlTestWindow.h"
#include "engine/render/LightLimits.h"
#include "engine/render/UniformTypes.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <optional>
#include <gtest/gtest.h>
#include <stb_image_write.h>

namespace {

// Builds a program from two sources, keeping what it printed.
struct BuiltProgram {
    BuiltProgram(const std::string& vertex, const std::string& fragment)
    {
        WriteFileText("test.vert", vertex);
        WriteFileText("test.frag", fragment);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        program = std::make_unique<Engine::ShaderProgram>("test.vert", "test.frag");
        err = testing::internal::GetCapturedStderr();
        out = testing::internal::GetCapturedStdout();
    }
    std::unique_ptr<Engine::ShaderProgram> program;
    std::string out;
    std::string err;
};

const std::string kVertex = "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n";
const std::string kWhite = "#version 330 core\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";

struct GlFixture : ::testing::Test {
    void SetUp() override { OpenTestWindow(); }
    ScopedTempDir dir;
};

// The two texels of a one-column, two-row texture as a program samples them,
// bottom row first: red, green, blue and alpha of each.
std::vector<int> SampledColumn(const Engine::Texture& texture)
{
    BuiltProgram built("#version 330 core\nvoid main() { gl_Position = vec4(vec2(gl_VertexID % 2, gl_VertexID / 2) * 4.0 - 1.0, 0.0, 1.0); }\n",
                       "#version 330 core\nuniform sampler2D uTexture;\nuniform int uChannels;\nout vec4 c;\n"
                       "void main() { vec4 t = texelFetch(uTexture, ivec2(0, min(int(gl_FragCoord.y), 1)), 0);"
                       " c = vec4(uChannels == 0 ? t.rgb : t.aaa, 1.0); }\n");
    EXPECT_TRUE(built.program->Linked());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, 2, 2);
    glDisable(GL_SCISSOR_TEST);
    GLuint vertexArray = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glActiveTexture(GL_TEXTURE0);
    texture.Bind();
    built.program->Use();
    built.program->SetUniform("uTexture", 0);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    std::vector<int> channels;
    for (int row = 0; row < 2; ++row) {
        for (int pass = 0; pass < 2; ++pass) {
            built.program->SetUniform("uChannels", pass);
            glDrawArrays(GL_TRIANGLES, 0, 3);
            const std::array<int, 3> pixel = PixelAt(0, row);
            channels.insert(channels.end(), pixel.begin(), pixel.begin() + (pass == 0 ? 3 : 1));
        }
    }
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &vertexArray);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    return channels;
}

// Opaque grey images are kept in one channel: what a program samples must
// still be the grey in red, green and blue with alpha 1, and an image with
// colour or see-through texels must keep its four channels.
TEST_F(GlFixture, ImagesSampleAsRgbaBottomRowFirstAndOneThatCannotBeReadOrUploadedKeepsItsNameAndNoSize)
{
    // One column, two rows: grey 200 on top, grey 50 below.
    const unsigned char grey[] = {200, 50};
    ASSERT_TRUE(stbi_write_png("grey.png", 1, 2, 1, grey, 1));
    // Orange on top, a see-through grey below.
    const unsigned char mixed[] = {200, 100, 0, 255, 50, 50, 50, 128};
    ASSERT_TRUE(stbi_write_png("mixed.png", 1, 2, 4, mixed, 4));
    const std::pair<const char*, std::vector<int>> expected[] = {
        {"grey.png", {50, 50, 50, 255, 200, 200, 200, 255}},
        {"mixed.png", {50, 50, 50, 128, 200, 100, 0, 255}},
    };
    for (const auto& [file, texels] : expected) {
        Engine::Texture texture;
        texture.LoadFromFile(file);
        ASSERT_EQ(texture.Height(), 2) << file;
        EXPECT_EQ(SampledColumn(texture), texels) << file;
    }
    EXPECT_TRUE(DrainGlErrors().empty());

    WriteFileText("broken.png", "\x89PNG not really");
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const std::vector<unsigned char> row(static_cast<std::size_t>(largest) + 1, 128);
    ASSERT_TRUE(stbi_write_png("wide.png", largest + 1, 1, 1, row.data(), largest + 1));
    // A Photoshop header of three channels, 0 rows of 0 columns.
    const char emptyPsd[] = "8BPS\0\1\0\0\0\0\0\0\0\3\0\0\0\0\0\0\0\0\0\x08\0\3"
                            "\0\0\0\0\0\0\0\0\0\0\0\0\0\0";
    WriteFileText("empty.psd", std::string(emptyPsd, sizeof emptyPsd - 1));
    // Cut inside its header: the decoder reads on past the end and gives
    // no reason of its own.
    WriteFileText("cut.png", ReadFileText("grey.png").substr(0, 30));
    for (const char* path : {"missing.png", "broken.png", "wide.png", "empty.psd", "cut.png"}) {
        Engine::Texture unread;
        testing::internal::CaptureStderr();
        unread.LoadFromFile(path);
        const std::string said = testing::internal::GetCapturedStderr();
        const std::string named = "Texture \"" + std::string(path) + "\" could not be loaded: ";
        EXPECT_TRUE(said.starts_with(named)) << said;
        EXPECT_EQ(said == named + "can't fopen\n", path == std::string("missing.png")) << said;
        EXPECT_GT(said.size(), named.size() + 1) << "a reason is given";
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(unread.Id(), 0u) << path;
        EXPECT_EQ(unread.Width(), 0) << path;
        EXPECT_EQ(unread.Height(), 0) << path;
        EXPECT_EQ(unread.SingleColour(), std::nullopt) << path;
    }
}

TEST_F(GlFixture, ShaderFailuresAreReportedAndLeaveTheProgramUnlinkedAndNeverCurrent)
{
    WriteFileText("ok.frag", kWhite);
    testing::internal::CaptureStderr();
    Engine::ShaderProgram missing("absent.vert", "ok.frag");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("File not read in absent.vert\n"), std::string::npos);
    EXPECT_NE(err.find("Linker failure: "), std::string::npos);
    EXPECT_FALSE(missing.Linked());
    EXPECT_NE(missing.Id(), 0u);

    BuiltProgram bad(kVertex, "#version 330 core\nvoid main() { this is not glsl }\n");
    EXPECT_NE(bad.out.find("Shader test.vert successfully read\n"), std::string::npos);
    EXPECT_NE(bad.err.find("Compile failure in fragment shader (test.frag):\n"), std::string::npos);
    EXPECT_FALSE(bad.program->Linked());

    // Taking the failed program leaves none current rather than the one
    // before, which would draw and take uniforms in its place.
    BuiltProgram good(kVertex, kWhite);
    DrainGlErrors();
    good.program->Use();
    missing.Use();
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// A long line used to cut the source; the program below only links when the
// code after a 300-character line survives.
TEST_F(GlFixture, LongLinesAndTheSharedLightCountReachTheCompiler)
{
    BuiltProgram built("#version 330 core\n// " + std::string(300, '-') +
                           "\nuniform vec3 uLightPos[MAX_LIGHTS];\n"
                           "void main() { vec3 s = vec3(0.0); for (int i = 0; i < MAX_LIGHTS; ++i) s += uLightPos[i];"
                           " gl_Position = vec4(s, 1.0); }\n",
                       kWhite);
    const Engine::ShaderProgram& program = *built.program;
    ASSERT_TRUE(program.Linked());
    const std::string last = "uLightPos[" + std::to_string(Engine::kMaxLights - 1) + "]";
    const std::string past = "uLightPos[" + std::to_string(Engine::kMaxLights) + "]";
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

// The lit programs sample no shadows yet: this one reads the samplers and
// the spot angle that the upload sets.
TEST_F(GlFixture, LightsUploadTheirShadowSamplerUnitAndSpotAngleInRadians)
{
    BuiltProgram built(
        kVertex, "#version 330 core\n"
                 "struct L { int type; vec4 diffuse; float spot_innerAngle; sampler2D shadowMap; samplerCube shadowCube; };\n"
                 "uniform L uLights[2];\nout vec4 c;\n"
                 "void main() { c = uLights[1].diffuse * uLights[1].spot_innerAngle * float(uLights[1].type)"
                 " + texture(uLights[1].shadowMap, vec2(0.5)) + texture(uLights[0].shadowCube, vec3(1.0)); }\n");
    const Engine::ShaderProgram& program = *built.program;
    ASSERT_TRUE(program.Linked());
    program.Use();
    Engine::LightUniforms spot;
    spot.type = 2;
    spot.innerAngleDegrees = 90.0f;
    program.SetLight("uLights[1]", spot, 1);
    program.SetLight("uLights[0]", Engine::LightUniforms(), 0);

    GLint unit = -1;
    glGetUniformiv(program.Id(), glGetUniformLocation(program.Id(), "uLights[1].shadowMap"), &unit);
    EXPECT_EQ(unit, 5);
    glGetUniformiv(program.Id(), glGetUniformLocation(program.Id(), "uLights[0].shadowCube"), &unit);
    EXPECT_EQ(unit, 4);
    float angle = 0.0f;
    glGetUniformfv(program.Id(), glGetUniformLocation(program.Id(), "uLights[1].spot_innerAngle"), &angle);
    EXPECT_NEAR(angle, 1.5707963f, 1e-5f);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// A program built where a destroyed one lived must not inherit what was
// learnt of the old one's uniforms.
TEST_F(GlFixture, UniformTypesAreAskedAfreshForAProgramInAFreedSlot)
{
    const std::string matrixAtZero = "#version 330 core\n#extension GL_ARB_explicit_uniform_location : require\n"
                                     "layout(location = 0) uniform mat4 uM;\n"
                                     "void main() { gl_Position = uM * vec4(1.0); }\n";
    const std::string floatAtZero = "#version 330 core\n#extension GL_ARB_explicit_uniform_location : require\n"
                                    "layout(location = 0) uniform float uF;\n"
                                    "void main() { gl_Position = vec4(uF); }\n";
    WriteFileText("white.frag", kWhite);
    WriteFileText("matrix.vert", matrixAtZero);
    WriteFileText("float.vert", floatAtZero);
    std::optional<Engine::ShaderProgram> slot;
    testing::internal::CaptureStdout();
    slot.emplace("matrix.vert", "white.frag");
    ASSERT_TRUE(slot->Linked());
    EXPECT_EQ(Engine::UniformTypeAt(*slot, 0), static_cast<GLenum>(GL_FLOAT_MAT4));
    slot.reset();
    slot.emplace("float.vert", "white.frag");
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(slot->Linked());
    EXPECT_EQ(Engine::UniformTypeAt(*slot, 0), static_cast<GLenum>(GL_FLOAT));
}

} // namespace
