#include "engine/render/Renderer.h"
#include "engine/render/Window.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Engine {

namespace {

// Uniform locations of the two start-up programs.
constexpr GLint kQuadSampler = 0;
constexpr GLint kQuadScale = 1;
constexpr GLint kQuadTransform = 2;
constexpr GLint kQuadColour = 3;
constexpr GLint kDebugTransform = 0;
constexpr GLint kDebugColour = 1;

const glm::vec4 kBarGrey{0.7f, 0.7f, 0.7f, 1.0f};

glm::mat4 Scale(float x, float y)
{
    return glm::scale(glm::mat4(1.0f), glm::vec3(x, y, 1.0f));
}

} // namespace

std::pair<int, int> Renderer::BeginScreenFrame()
{
    const auto size = Window::Main() ? Window::Main()->GetSize() : std::pair<int, int>{0, 0};
    glViewport(0, 0, size.first, size.second);
    Clear();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    return size;
}

void Renderer::EndScreenFrame()
{
    glEnable(GL_DEPTH_TEST);
    SwapBuffers();
}

void Renderer::DrawSplash(float overlayOpacity)
{
    const auto [w, h] = BeginScreenFrame();
    const Model* quad = models.Find("Quad");
    const ShaderProgram* quadProgram = shaders.Find("Quad");
    const ShaderProgram* debug = shaders.Find("Debug");
    const Texture* logo = textures.Find("MorwickLogo");

    // A logo without an image has no size to keep the aspect of: the frame
    // shows only the overlay.
    if (quad && quadProgram && logo && logo->Width() > 0 && logo->Height() > 0) {
        float sx = 0.6f;
        float sy = 0.6f * (static_cast<float>(logo->Height()) / static_cast<float>(logo->Width())) *
                   (static_cast<float>(w) / static_cast<float>(h > 0 ? h : 1));
        quadProgram->Use();
        quadProgram->SetUniform(kQuadScale, Scale(sx, sy));
        quadProgram->SetUniform(kQuadTransform, glm::mat4(1.0f));
        quadProgram->SetUniform(kQuadColour, 1.0f, 1.0f, 1.0f, 1.0f);
        glActiveTexture(GL_TEXTURE0);
        logo->Bind();
        quadProgram->SetUniform(kQuadSampler, 0);
        quad->Draw();
    }
    if (quad && debug) {
        debug->Use();
        debug->SetUniform(kDebugTransform, glm::mat4(1.0f));
        debug->SetUniform(kDebugColour, 0.0f, 0.0f, 0.0f, overlayOpacity);
        quad->Draw();
    }
    EndScreenFrame();
}

void Renderer::DrawLoadingBar(float progress)
{
    BeginScreenFrame();
    const Model* quad = models.Find("Quad");
    const ShaderProgram* debug = shaders.Find("Debug");
    if (quad && debug) {
        debug->Use();
        auto draw = [&](const glm::mat4& transform, const glm::vec4& colour) {
            debug->SetUniform(kDebugTransform, transform);
            debug->SetUniform(kDebugColour, colour.x, colour.y, colour.z, colour.w);
            quad->Draw();
        };
        draw(Scale(0.34f, 0.035f), kBarGrey);
        draw(Scale(0.335f, 0.032f), {0.0f, 0.0f, 0.0f, 1.0f});
        // The fill keeps its left edge at -0.33 and grows to the right.
        float sx = 0.33f * progress;
        glm::mat4 fill = Scale(sx, 0.025f);
        fill[3][0] = sx - 0.33f;
        draw(fill, kBarGrey);
    }
    EndScreenFrame();
}

} // namespace Engine
