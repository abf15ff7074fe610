#include "engine/render/Viewport.h"

#include "engine/render/Camera.h"
#include "engine/render/Window.h"

#include <GL/glew.h>
#include <algorithm>
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

// The window cut along every rectangle's edges: each cell of that grid lies
// wholly inside a rectangle or wholly outside all of them.
bool CoverWindow(const std::vector<ViewportRect>& rects, int width, int height)
{
    if (width <= 0 || height <= 0)
        return true;
    std::vector<long long> xs{0, width};
    std::vector<long long> ys{0, height};
    for (const ViewportRect& r : rects) {
        for (long long x : {static_cast<long long>(r.x), static_cast<long long>(r.x) + r.width})
            xs.push_back(std::clamp<long long>(x, 0, width));
        for (long long y : {static_cast<long long>(r.y), static_cast<long long>(r.y) + r.height})
            ys.push_back(std::clamp<long long>(y, 0, height));
    }
    for (std::vector<long long>* edges : {&xs, &ys}) {
        std::sort(edges->begin(), edges->end());
        edges->erase(std::unique(edges->begin(), edges->end()), edges->end());
    }
    const auto inside = [&rects](long long x, long long y) {
        return std::any_of(rects.begin(), rects.end(), [x, y](const ViewportRect& r) {
            return x >= r.x && x < static_cast<long long>(r.x) + r.width && y >= r.y &&
                   y < static_cast<long long>(r.y) + r.height;
        });
    };
    for (std::size_t i = 0; i + 1 < xs.size(); ++i)
        for (std::size_t j = 0; j + 1 < ys.size(); ++j)
            if (!inside(xs[i], ys[j]))
                return false;
    return true;
}

void ApplyViewport(const ViewportRect& viewport)
{
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
}

} // namespace Engine
