#include "engine/render/Viewport.h"

#include "engine/render/Camera.h"
#include "engine/render/Window.h"

#include <GL/glew.h>
#include <cmath>

namespace Engine {

namespace {

// Far beyond any framebuffer GL can make, and still exact in a float.
constexpr float kLimit = 1 << 30;

int Truncate(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= kLimit)
        return static_cast<int>(kLimit);
    if (value <= -kLimit)
        return -static_cast<int>(kLimit);
    return static_cast<int>(value);
}

int Size(float value)
{
    int size = Truncate(value);
    return size < 0 ? 0 : size;
}

} // namespace

ViewportRect CameraViewport(const Camera& camera, float windowWidth, float windowHeight)
{
    const auto& position = camera.mViewportPos.value;
    const auto& intake = camera.mViewportIntake.value;
    return {Truncate(windowWidth * position.x), Truncate(windowHeight * position.y), Size(windowWidth * intake.x),
            Size(windowHeight * intake.y)};
}

ViewportRect CameraWindowViewport(const Camera& camera, float scale)
{
    const Window* window = Window::Main();
    // The window's size of the moment: the viewports follow it even before
    // the framebuffers are rebuilt for it.
    auto [w, h] = window ? window->GetSize() : std::pair<int, int>{0, 0};
    return CameraViewport(camera, static_cast<float>(w) * scale, static_cast<float>(h) * scale);
}

void ApplyViewport(const ViewportRect& viewport)
{
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
}

} // namespace Engine
