#pragma once
#include "engine/core/Property.h"
#include "engine/core/PropertyMap.h"

#include <glm/glm.hpp>

namespace Engine {

// One view of the scene: an eye, the point it looks at, a perspective lens for
// the 3D passes, an orthographic canvas for HUD and text, and the rectangle of
// the window it fills (fractions of the window, origin at the lower left).
//
// Moving a camera is two steps: set position and target, then Update. The
// view matrix always uses the up vector of the last Update.
class Camera : public Property_Holder {
public:
    Camera();
    Camera(const Camera&) = default;
    Camera& operator=(const Camera&) = default;
    virtual ~Camera() = default;

    // Recomputes forward, right and up from position and target. A target on
    // the position keeps the previous basis; a vertical view keeps the
    // previous right vector as well as it can.
    virtual void Update();

    void SetPosition(const glm::vec3& position) { mPos.value = position; }
    void SetTarget(const glm::vec3& target) { mTarget.value = target; }

    glm::mat4 GetViewMatrix() const;
    // Always the window's fixed 16:9 aspect, whatever the viewport's shape.
    glm::mat4 GetProjectionMatrix() const;
    glm::mat4 GetOrthoMatrix() const;
    // The view matrix times itself with its rotation transposed: the
    // rotation cancels, so quads drawn with it face the camera.
    glm::mat4 GetBillboardViewMatrix() const;

    Property<float> mFoV{"mFoV", 85.0f, mPropertyMap};
    Property<float> mNear{"mNear", 0.001f, mPropertyMap};
    Property<float> mFar{"mFar", 1000.0f, mPropertyMap};
    Property<glm::vec3> mPos{"mPos", glm::vec3(0.0f, 0.0f, 10.0f), mPropertyMap};
    Property<glm::vec3> mTarget{"mTarget", glm::vec3(0.0f), mPropertyMap};
    Property<glm::vec2> mCanvasSize{"mCanvasSize", glm::vec2(0.0f), mPropertyMap};
    Property<glm::vec2> mViewportPos{"mViewportPos", glm::vec2(0.0f), mPropertyMap};
    Property<glm::vec2> mViewportIntake{"mViewportIntake", glm::vec2(1.0f), mPropertyMap};
    Property<int> mCameraIndex{"mCameraIndex", 0, mPropertyMap};

    // The world point the local player aims at; the floor highlights it.
    glm::vec3 selectionPoint{0.0f};
    glm::vec3 forward{0.0f, 0.0f, -1.0f};
    glm::vec3 right{1.0f, 0.0f, 0.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
};

// The kind every entity camera is.
class GameCamera : public Camera {
public:
    using Camera::Camera;
};

// The renderer's free camera, outside the camera manager. It orbits nothing:
// its target lies `distance` away from its position in the direction given by
// the two angles.
class EditorCamera : public Camera {
public:
    void Update() override;

    float distance = 10.0f;
    float azimuth = 4.712389f;
    float polar = 1.5707964f;
};

// The window's aspect as every projection uses it: fixed when the window was
// made, 16:9 before there is one.
float ProjectionAspect();

} // namespace Engine
