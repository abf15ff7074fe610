#include "engine/render/LightLimits.h"
#include "engine/render/ShaderSource.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
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

} // namespace
