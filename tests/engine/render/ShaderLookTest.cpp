#include "FrameTestScene.h"

#include <functional>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

using Engine::FramebufferSlot;

// Runs the full-screen passes by hand on known inputs and reads the results
// back in floating point.
struct ShaderLookFixture : FrameTestScene {
    void SetUp() override
    {
        FrameTestScene::SetUp();
        scene = renderer.GetFramebuffer(FramebufferSlot::Scene);
        bloom = renderer.GetFramebuffer(FramebufferSlot::Bloom);
        w = static_cast<int>(scene->Size(0).width);
        h = static_cast<int>(scene->Size(0).height);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
    }

    static glm::vec4 Read(const Engine::Framebuffer& fb, unsigned attachment, int x, int y)
    {
        fb.Bind();
        glReadBuffer(GL_COLOR_ATTACHMENT0 + attachment);
        glm::vec4 value{0.0f};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, &value.x);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        fb.Unbind();
        return value;
    }

    void RunBloom()
    {
        const Engine::ShaderProgram* program = renderer.shaders.Find("Bloom");
        bloom->Bind();
        glViewport(0, 0, w, h);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        program->Use();
        glActiveTexture(GL_TEXTURE0);
        scene->BindTexture(0);
        program->SetUniform(0, 0);
        // The halo is spread by the renderer's own passes before this one;
        // run alone, the program combines without it.
        program->SetUniform(4, false);
        scene->DrawToScreen(*program, 1);
        bloom->Unbind();
    }

    // Fills the bloom target with one colour and runs the last pass into a
    // target of its own.
    glm::vec4 PostProcess(const glm::vec3& input, int x, int y, const std::function<void(const Engine::ShaderProgram&)>& set)
    {
        bloom->Bind();
        glClearColor(input.r, input.g, input.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
        Engine::Framebuffer target({{static_cast<unsigned>(w), static_cast<unsigned>(h), Engine::AttachmentType::Rgba16F, true}});
        target.Bind();
        glViewport(0, 0, w, h);
        glClear(GL_COLOR_BUFFER_BIT);
        const Engine::ShaderProgram* program = renderer.shaders.Find("PostProcessing");
        program->Use();
        for (GLint location : {2, 3, 4})
            program->SetUniform(location, false);
        program->SetUniform(5, 0);
        program->SetUniform(6, 0.0f);
        program->SetUniform(7, 0.0f);
        program->SetUniform(8, 0.0f, 0.0f, 0.0f);
        set(*program);
        bloom->DrawToScreen(*program, 0);
        return Read(target, 0, x, y);
    }

    Engine::Framebuffer* scene = nullptr;
    Engine::Framebuffer* bloom = nullptr;
    int w = 0;
    int h = 0;
};

TEST_F(ShaderLookFixture, PostProcessingHonoursItsInputs)
{
    const glm::vec3 grey{0.4f};
    const glm::vec4 plain = PostProcess(grey, w / 2, h / 2, [](const auto&) {});
    EXPECT_GT(plain.r, 0.2f);
    EXPECT_NEAR(plain.r, plain.g, 1e-3f);
    EXPECT_NEAR(PostProcess(grey, w / 2, h / 2, [](const auto& p) { p.SetUniform(6, 1.0f); }).r, 0.0f, 1e-3f)
        << "a full fade leaves colour";

    // Hurt: the edges turn red, the centre stays as it was.
    auto hurt = [](const auto& p) {
        p.SetUniform(4, true);
        p.SetUniform(7, 0.35f);
    };
    const glm::vec4 corner = PostProcess(grey, 2, 2, hurt);
    EXPECT_GT(corner.r, corner.g + 0.1f);
    EXPECT_NEAR(PostProcess(grey, w / 2, h / 2, hurt).r, plain.r, 0.02f);

    // Replay: colour drains out of the picture.
    const glm::vec3 red{0.8f, 0.0f, 0.0f};
    EXPECT_NEAR(PostProcess(red, w / 2, h / 2, [](const auto&) {}).g, 0.0f, 1e-3f);
    EXPECT_GT(PostProcess(red, w / 2, h / 2, [](const auto& p) { p.SetUniform(2, true); }).g, 0.05f);

    const glm::vec4 tinted = PostProcess(grey, w / 2, h / 2, [](const auto& p) { p.SetUniform(8, 0.0f, 0.0f, 0.3f); });
    EXPECT_NEAR(tinted.b, plain.b + 0.3f, 0.02f);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(ShaderLookFixture, CelShadedModelsAreLitAndFillTheSceneTarget)
{
    const Engine::ShaderProgram* cel = renderer.shaders.Find("Cel");
    scene->Bind();
    glViewport(0, 0, w, h);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glm::vec3 eye{0.0f, 0.0f, 6.0f};
    glm::mat4 viewProjection = glm::perspective(glm::radians(45.0f), 16.0f / 9.0f, 0.1f, 100.0f) *
                               glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
    cel->Use();
    cel->SetUniform(0, viewProjection);
    cel->SetUniform(1, glm::mat4(1.0f));
    cel->SetUniform("uViewPos", eye.x, eye.y, eye.z);
    cel->SetUniform("uLightsSize", 1);
    Engine::LightUniforms light;
    light.position = {0.0f, 0.0f, 4.0f};
    cel->SetLight("uLights[0]", light, 0);
    renderer.materials.Find("White")->Bind(*cel);
    renderer.models.Find("Sphere")->Draw();
    scene->Unbind();
    glDisable(GL_DEPTH_TEST);

    glm::vec4 colour = Read(*scene, 0, w / 2, h / 2);
    glm::vec4 normal = Read(*scene, 2, w / 2, h / 2);
    glm::vec4 outside = Read(*scene, 2, 5, 5);
    EXPECT_GT(colour.r, 0.3f) << "the lit side facing the light stays dark";
    EXPECT_NEAR(normal.a, 1.0f, 1e-3f);
    EXPECT_GT(normal.b, 0.9f) << "the centre of the sphere faces +z";
    EXPECT_NEAR(outside.a, 0.0f, 1e-3f);

    // The rest of a camera's passes, for a picture to look at. The scene's
    // three attachments go to units 1-3 and the bloom's samplers point there.
    RunBloom();
    const Engine::ShaderProgram* bloomProgram = renderer.shaders.Find("Bloom");
    for (GLint i = 1; i <= 3; ++i) {
        GLint unit = i;
        if (i < 3)
            glGetUniformiv(bloomProgram->Id(), i, &unit);
        EXPECT_EQ(unit, i);
        GLint bound = 0;
        glActiveTexture(GL_TEXTURE0 + i);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), scene->TextureId(i - 1)) << "unit " << i;
    }
    glActiveTexture(GL_TEXTURE0);
    const Engine::ShaderProgram* post = renderer.shaders.Find("PostProcessing");
    glViewport(0, 0, w, h);
    glClear(GL_COLOR_BUFFER_BIT);
    post->Use();
    bloom->DrawToScreen(*post, 0);
    renderer.SwapBuffers();
    EXPECT_TRUE(SaveScreenshot("cel_sphere"));
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(ShaderLookFixture, PerlinNoiseVariesAcrossItsTexture)
{
    Engine::Noise* noise = renderer.noises.Find("PerlinNoise");
    ASSERT_NE(noise, nullptr);
    noise->Render();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(glm::ivec2(viewport[2], viewport[3]), glm::ivec2(400, 400)) << "drawn at another size than its own";
    noise->Bind();
    float low = 1.0f;
    float high = 0.0f;
    for (int y = 0; y < 400; y += 37)
        for (int x = 0; x < 400; x += 41) {
            float value = 0.0f;
            glReadPixels(x, y, 1, 1, GL_RED, GL_FLOAT, &value);
            low = std::min(low, value);
            high = std::max(high, value);
        }
    noise->Unbind();
    EXPECT_GT(high - low, 0.2f);
    EXPECT_TRUE(DrainGlErrors().empty());
}

} // namespace
