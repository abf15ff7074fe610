#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/FontRenderCompManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/Renderer.h"

#include <vector>

namespace Engine {

namespace {

// Location of the canvas projection in "Quad" and "Text".
constexpr GLint kCanvasLocation = 1;

glm::mat4 ViewProjection(const Camera& camera)
{
    return camera.GetProjectionMatrix() * camera.GetViewMatrix();
}

bool LocationZeroIsMatrix(GLuint program)
{
    GLint count = 0;
    GLint longest = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
    std::vector<GLchar> name(static_cast<std::size_t>(longest) + 1, '\0');
    for (GLint i = 0; i < count; ++i) {
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), longest + 1, nullptr, &size, &type, name.data());
        if (glGetUniformLocation(program, name.data()) == 0)
            return type == GL_FLOAT_MAT4;
    }
    return false;
}

void Set(const ShaderProgram& program, const char* name, const glm::vec3& v)
{
    program.SetUniform(name, v.x, v.y, v.z);
}

} // namespace

bool Renderer::TakesViewProjection(const ShaderProgram& program)
{
    auto [entry, isNew] = mViewProjectionAtZero.try_emplace(&program, false);
    if (isNew)
        entry->second = program.Linked() && LocationZeroIsMatrix(program.Id());
    return entry->second;
}

// Samplers and other values sit at location 0 of the full-screen and
// screen-space programs; a matrix there would only raise GL errors.
void Renderer::UseWithViewProjection(const ShaderProgram& program, const glm::mat4& viewProjection)
{
    program.Use();
    if (TakesViewProjection(program))
        program.SetUniform(0, viewProjection);
}

void Renderer::RenderOpaque(const Camera& camera, const ShaderProgram* program)
{
    const glm::mat4 viewProjection = ViewProjection(camera);
    const int cameraIndex = camera.mCameraIndex.value;
    RenderCompManager& manager = RenderCompManager::GetInstance();
    if (program) {
        UseWithViewProjection(*program, viewProjection);
        manager.Render(*program, cameraIndex);
        return;
    }
    for (const auto& [name, registered] : shaders)
        if (registered->Linked())
            UseWithViewProjection(*registered, viewProjection);
    manager.Render(cameraIndex);
}

void Renderer::RenderInstanced(const Camera& camera, const ShaderProgram* program)
{
    const glm::mat4 viewProjection = ViewProjection(camera);
    const int cameraIndex = camera.mCameraIndex.value;
    InstancedRenderableManager& manager = InstancedRenderableManager::GetInstance();
    if (program) {
        UseWithViewProjection(*program, viewProjection);
        manager.Render(*program, cameraIndex);
        return;
    }
    for (const auto& [name, registered] : shaders)
        if (registered->Linked())
            UseWithViewProjection(*registered, viewProjection);
    manager.Render(cameraIndex);
}

void Renderer::RenderAlpha(const Camera& camera, const ShaderProgram* program)
{
    AlphaRenderCompManager& manager = AlphaRenderCompManager::GetInstance();
    manager.SortByDistance(camera);
    const glm::mat4 viewProjection = ViewProjection(camera);
    if (program) {
        UseWithViewProjection(*program, viewProjection);
        program->BeforeDraw(camera);
        manager.Render(*program, camera);
    } else {
        for (const auto& [name, registered] : shaders) {
            if (!registered->Linked())
                continue;
            UseWithViewProjection(*registered, viewProjection);
            registered->BeforeDraw(camera);
        }
        manager.Render(camera);
    }
    // A program that culls front faces leaves them culled; the passes after
    // this one draw camera-facing quads.
    glCullFace(GL_BACK);
}

void Renderer::RenderHUD(const Camera& camera)
{
    const ShaderProgram* quad = shaders.Find("Quad");
    if (!quad)
        return;
    glDisable(GL_DEPTH_TEST);
    quad->Use();
    quad->SetUniform(kCanvasLocation, camera.GetOrthoMatrix());
    HUDCompManager::GetInstance().Render(camera.mCameraIndex.value);
    glEnable(GL_DEPTH_TEST);
}

void Renderer::RenderText(const Camera& camera)
{
    const ShaderProgram* text = shaders.Find("Text");
    if (!text)
        return;
    glDisable(GL_DEPTH_TEST);
    text->Use();
    text->SetUniform(kCanvasLocation, camera.GetOrthoMatrix());
    FontRenderCompManager::GetInstance().Render(camera.mCameraIndex.value);
    glEnable(GL_DEPTH_TEST);
}

void Renderer::SetSelectionColours(const glm::vec3& selection, float maxColourDistance, const glm::vec3& border)
{
    for (const char* name : {"Cel_Instanced", "Default_Instanced"}) {
        const ShaderProgram* program = shaders.Find(name);
        if (!program)
            continue;
        program->Use();
        Set(*program, "uSelectColour", selection);
        program->SetUniform("uMaxColourDist", maxColourDistance);
        Set(*program, "uBorderColour", border);
    }
    for (const char* name : {"Cel", "Default"}) {
        const ShaderProgram* program = shaders.Find(name);
        if (!program)
            continue;
        program->Use();
        Set(*program, "uBorderColour", border);
    }
}

} // namespace Engine
