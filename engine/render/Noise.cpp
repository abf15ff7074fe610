#include "engine/render/Noise.h"

#include "engine/render/Model.h"
#include "engine/render/Renderer.h"
#include "engine/render/ShaderProgram.h"

namespace Engine {

PerlinNoise::PerlinNoise(ShaderProgram* program) : Noise(AttachmentType::Rgb8, kSize, kSize), mProgram(program)
{
}

void PerlinNoise::Render()
{
    glViewport(0, 0, kSize, kSize);
    Bind();
    glClear(GL_COLOR_BUFFER_BIT);
    if (mProgram)
        mProgram->Use();
    if (const Model* quad = Renderer::GetInstance().models.Find("Quad"))
        quad->Draw();
    Unbind();
}

} // namespace Engine
