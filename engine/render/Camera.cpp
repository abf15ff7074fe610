#include "engine/render/Camera.h"

#include "engine/core/Math.h"
#include "engine/render/Window.h"

#include <cmath>

namespace Engine {

namespace {

constexpr glm::vec3 kWorldUp{0.0f, 1.0f, 0.0f};

// The unit vector along v, or nothing usable when v has no length (or is not
// finite): callers then keep what they had.
bool TryNormalise(const glm::vec3& v, glm::vec3& out)
{
    float lengthSquared = glm::dot(v, v);
    if (!(lengthSquared > 1e-12f) || !std::isfinite(lengthSquared))
        return false;
    out = v * (1.0f / std::sqrt(lengthSquared));
    return true;
}

} // namespace

float ProjectionAspect()
{
    const Window* window = Window::Main();
    return window ? window->aspect : 16.0f / 9.0f;
}

Camera::Camera()
{
    mCanvasSize.value = glm::vec2(5.0f * ProjectionAspect(), 5.0f);
    Camera::Update();
}

void Camera::Update()
{
    glm::vec3 newForward;
    if (!TryNormalise(mTarget.value - mPos.value, newForward))
        return;
    glm::vec3 newRight;
    if (!TryNormalise(glm::cross(newForward, kWorldUp), newRight)) {
        // Looking straight up or down: the old right vector, made
        // perpendicular to the new forward, keeps the roll steady.
        if (!TryNormalise(right - glm::dot(right, newForward) * newForward, newRight))
            newRight = glm::vec3(1.0f, 0.0f, 0.0f);
    }
    glm::vec3 newUp;
    if (!TryNormalise(glm::cross(newRight, newForward), newUp))
        return;
    forward = newForward;
    right = newRight;
    up = newUp;
}

glm::mat4 Camera::GetViewMatrix() const
{
    const glm::vec3 eye = mPos.value;
    glm::vec3 f;
    if (!TryNormalise(mTarget.value - eye, f))
        f = forward;
    glm::vec3 s;
    if (!TryNormalise(glm::cross(f, up), s))
        s = right;
    const glm::vec3 u = glm::cross(s, f);

    glm::mat4 view(1.0f);
    view[0][0] = s.x;
    view[1][0] = s.y;
    view[2][0] = s.z;
    view[0][1] = u.x;
    view[1][1] = u.y;
    view[2][1] = u.z;
    view[0][2] = -f.x;
    view[1][2] = -f.y;
    view[2][2] = -f.z;
    view[3][0] = -glm::dot(s, eye);
    view[3][1] = -glm::dot(u, eye);
    view[3][2] = glm::dot(f, eye);
    return view;
}

glm::mat4 Camera::GetProjectionMatrix() const
{
    const float fovy = mFoV.value * Math::kDegreesToRadians;
    const float tanHalf = std::tan(fovy / 2.0f);
    const float aspect = ProjectionAspect();
    const float n = mNear.value;
    const float f = mFar.value;
    glm::mat4 projection(0.0f);
    projection[0][0] = 1.0f / (aspect * tanHalf);
    projection[1][1] = 1.0f / tanHalf;
    projection[2][2] = -(f + n) / (f - n);
    projection[2][3] = -1.0f;
    projection[3][2] = -(2.0f * f * n) / (f - n);
    return projection;
}

glm::mat4 Camera::GetOrthoMatrix() const
{
    glm::mat4 ortho(0.0f);
    ortho[0][0] = 1.0f / mCanvasSize.value.x;
    ortho[1][1] = 1.0f / mCanvasSize.value.y;
    ortho[2][2] = -0.001f;
    ortho[3][3] = 1.0f;
    return ortho;
}

glm::mat4 Camera::GetBillboardViewMatrix() const
{
    const glm::mat4 view = GetViewMatrix();
    glm::mat4 transposed = view;
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            transposed[column][row] = view[row][column];
    return view * transposed;
}

void EditorCamera::Update()
{
    const glm::vec3 direction(std::cos(azimuth) * std::sin(polar), std::cos(polar), std::sin(azimuth) * std::sin(polar));
    mTarget.value = mPos.value + distance * direction;
    Camera::Update();
}

} // namespace Engine
