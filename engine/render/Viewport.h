#pragma once

#include <vector>

namespace Engine {

class Camera;

// A GL viewport in window pixels, origin at the lower left.
struct ViewportRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ViewportRect&) const = default;
};

// The camera's rectangle of a window of the given size: its viewport
// fractions times the size, each truncated toward zero. Fractions that put
// a value past what GL takes saturate, and a negative size is empty, so a
// hostile camera never leaves the previous viewport in force.
ViewportRect CameraViewport(const Camera& camera, float windowWidth, float windowHeight);

// The camera's rectangle of the main window at its current size (none
// before the window exists), with the size first scaled by `scale`: 0.5 for
// the half-size targets.
ViewportRect CameraWindowViewport(const Camera& camera, float scale);

// Whether the rectangles together leave no pixel of a width x height window
// uncovered (parts beyond the window do not count).
bool CoverWindow(const std::vector<ViewportRect>& rects, int width, int height);

// glViewport of the rectangle.
void ApplyViewport(const ViewportRect& viewport);

} // namespace Engine
