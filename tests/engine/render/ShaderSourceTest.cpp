#include "engine/render/FullScreenLocations.h"
#include "engine/render/LightLimits.h"
#include "engine/render/ShaderSource.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <string>

namespace {

TEST(ShaderSource, MissingOrOversizedFilesAreRefusedWithTheirPath)
{
    ScopedTempDir dir;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Engine::ReadShaderFile("nowhere.vert").has_value());
    WriteFileText("huge.vert", std::string(Engine::kMaxShaderFileBytes + 1, ' '));
    EXPECT_FALSE(Engine::ReadShaderFile("huge.vert").has_value());
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("File not read in nowhere.vert\n"), std::string::npos);
    EXPECT_NE(err.find("File not read in huge.vert"), std::string::npos);

    WriteFileText("empty.vert", "");
    auto empty = Engine::ReadShaderFile("empty.vert");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
}

TEST(ShaderSource, EngineDefinesFollowTheVersionLine)
{
    std::string define = "#define MAX_LIGHTS " + std::to_string(Engine::kMaxLights) + "\n#line 2\n";
    EXPECT_EQ(Engine::WithEngineDefines("#version 330 core\nvoid main(){}\n"),
              "#version 330 core\n" + define + "void main(){}\n");
    // Leading comments before #version are kept in front of it.
    EXPECT_EQ(Engine::WithEngineDefines("// c\n#version 330 core\nx\n"), "// c\n#version 330 core\n" + define + "x\n");
    EXPECT_EQ(Engine::WithEngineDefines("void main(){}"), define + "void main(){}");
    EXPECT_EQ(Engine::WithEngineDefines("#version 330 core"), "#version 330 core\n" + define);

    // A variant's own lines come after the engine's, before the "#line".
    EXPECT_EQ(Engine::WithEngineDefines("#version 330 core\nx\n", "#define EFFECTS_OFF\n"),
              "#version 330 core\n#define MAX_LIGHTS " + std::to_string(Engine::kMaxLights) +
                  "\n#define EFFECTS_OFF\n#line 2\nx\n");
}

// The uniform names and locations that a shader's layout lines declare.
std::map<std::string, GLint> UniformLocations(const std::string& shader)
{
    const std::optional<std::string> source = Engine::ReadShaderFile("data/Shader/" + shader);
    if (!source)
        return {};
    static const std::regex layout(R"(layout\s*\(\s*location\s*=\s*(\d+)\s*\)\s*uniform\s+\w+\s+(\w+))");
    std::map<std::string, GLint> locations;
    for (std::sregex_iterator it(source->begin(), source->end(), layout), end; it != end; ++it)
        locations[(*it)[2]] = std::stoi((*it)[1]);
    return locations;
}

// The renderer sets the full-screen programs' inputs by number; a number
// that drifts from its shader's layout line sets nothing, silently.
TEST(ShaderSource, FullScreenLocationsMatchTheShadersLayoutLines)
{
    struct Tie {
        const char* shader;
        const char* uniform;
        GLint location;
    };
    const Tie ties[] = {
        {"vert/Framebuffer.vert", "uSourceRegion", Engine::kSourceRegion},
        {"frag/Blur.frag", "uSourceRegion", Engine::kSourceRegion},
        {"frag/Bloom.frag", "uScene", Engine::kSourceImage},
        {"frag/Blur.frag", "uSource", Engine::kSourceImage},
        {"frag/PostProcessing.frag", "uImage", Engine::kSourceImage},
        {"frag/Quad.frag", "uTexture", Engine::kSourceImage},
        {"frag/Bloom.frag", "uBloomEnabled", Engine::kBloomFlagLocation},
        {"frag/Bloom.frag", "uSpread", Engine::kBloomSpreadLocation},
        {"frag/Bloom.frag", "uSpreadRegion", Engine::kBloomSpreadRegionLocation},
        {"frag/Bloom.frag", "uFade", Engine::kFinishFade},
        {"frag/Bloom.frag", "uAddColour", Engine::kFinishAddColour},
        {"frag/Blur.frag", "uTaps", Engine::kBlurTaps},
        {"frag/Blur.frag", "uSourceCorner", Engine::kSourceCorner},
        {"frag/Blur.frag", "uTargetCorner", Engine::kTargetCorner},
        {"frag/Quad.frag", "uColour", Engine::kCopyColour},
        {"frag/PostProcessing.frag", "uTime", Engine::kPostTime},
        {"frag/PostProcessing.frag", "uReplay", Engine::kPostFlag1},
        {"frag/PostProcessing.frag", "uColourSplit", Engine::kPostFlag2},
        {"frag/PostProcessing.frag", "uHurtTint", Engine::kPostFlag3},
        {"frag/PostProcessing.frag", "uSplitPixels", Engine::kPostInteger},
        {"frag/PostProcessing.frag", "uFade", Engine::kPostFloat1},
        {"frag/PostProcessing.frag", "uHurtStrength", Engine::kPostFloat2},
        {"frag/PostProcessing.frag", "uAddColour", Engine::kPostVector},
    };
    for (const Tie& tie : ties) {
        const std::map<std::string, GLint> locations = UniformLocations(tie.shader);
        const auto found = locations.find(tie.uniform);
        ASSERT_NE(found, locations.end()) << tie.shader << " declares no " << tie.uniform;
        EXPECT_EQ(found->second, tie.location) << tie.shader << " " << tie.uniform;
    }
}

} // namespace
