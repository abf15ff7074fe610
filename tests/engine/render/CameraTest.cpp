#include "engine/core/EntityManager.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Viewport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using Engine::Camera;
using Engine::CameraViewport;
using Engine::ViewportRect;

bool Finite(const glm::mat4& m)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!std::isfinite(m[c][r]))
                return false;
    return true;
}

TEST(CameraMatrices, ProjectionsAndTheBillboardViewOfANewCamera)
{
    Camera camera; // at (0, 0, 10) looking at the origin
    EXPECT_NEAR((camera.GetViewMatrix() * glm::vec4(0, 0, 0, 1)).z, -10.0f, 1e-5f);
    const float focal = 1.0f / std::tan(42.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(camera.GetProjectionMatrix()[1][1], focal, 1e-5f);
    EXPECT_NEAR(camera.GetProjectionMatrix()[0][0], focal / (16.0f / 9.0f), 1e-5f);
    EXPECT_NEAR(camera.GetOrthoMatrix()[0][0], 1.0f / (5.0f * 16.0f / 9.0f), 1e-6f);
    EXPECT_FLOAT_EQ(camera.GetOrthoMatrix()[1][1], 0.2f);
    // The rotation cancels and the translation doubles.
    EXPECT_NEAR(camera.GetBillboardViewMatrix()[3][2], -20.0f, 1e-5f);
    EXPECT_NEAR(camera.GetBillboardViewMatrix()[0][0], 1.0f, 1e-6f);
}

TEST(CameraMatrices, DegenerateViewsKeepAUsableBasisAndUpWaitsForUpdate)
{
    Camera camera;
    camera.SetPosition({1, 2, 3});
    camera.SetTarget({4, 2, 3});
    camera.Update();
    const glm::vec3 forward = camera.forward;
    // Target on the eye: nothing to look along, the old basis stays.
    camera.SetTarget({1, 2, 3});
    camera.Update();
    EXPECT_EQ(camera.forward, forward);
    EXPECT_TRUE(Finite(camera.GetViewMatrix()));
    // Straight down: no NaN, and an orthonormal basis.
    camera.SetTarget({1, -5, 3});
    camera.Update();
    EXPECT_NEAR(camera.forward.y, -1.0f, 1e-6f);
    EXPECT_NEAR(glm::length(camera.right), 1.0f, 1e-5f);
    EXPECT_NEAR(glm::dot(camera.right, camera.forward), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::dot(camera.up, camera.forward), 0.0f, 1e-5f);
    EXPECT_TRUE(Finite(camera.GetViewMatrix()));

    camera.SetPosition({0, 0, 0});
    camera.SetTarget({10, 10, 0});
    camera.Update(); // up now leans toward -x
    camera.SetTarget({0, 0, -10});
    EXPECT_NEAR(camera.GetViewMatrix()[0][0], std::sqrt(0.5f), 1e-5f) << "rolled by 45 degrees until Update";
    camera.Update();
    EXPECT_NEAR(camera.GetViewMatrix()[0][0], 1.0f, 1e-5f);
}

TEST(CameraViewports, SplitScreenTruncatesAndHostileFractionsGiveASafeRectangle)
{
    Camera left;
    Camera right;
    left.mViewportIntake.value = {0.5f, 1.0f};
    right.mViewportPos.value = {0.5f, 0.0f};
    right.mViewportIntake.value = {0.5f, 1.0f};
    EXPECT_EQ(CameraViewport(left, 1280, 720), (ViewportRect{0, 0, 640, 720}));
    EXPECT_EQ(CameraViewport(right, 1280, 720), (ViewportRect{640, 0, 640, 720}));
    EXPECT_EQ(CameraViewport(right, 1281, 721).x, 640);
    EXPECT_EQ(CameraViewport(Camera(), 1280 * 0.5f, 720 * 0.5f), (ViewportRect{0, 0, 640, 360}));

    Camera hostile;
    hostile.mViewportPos.value = {1e30f, -1e30f};
    hostile.mViewportIntake.value = {-2.0f, 1e30f};
    ViewportRect v = CameraViewport(hostile, 1280, 720);
    EXPECT_EQ(v.width, 0);
    EXPECT_GT(v.height, 0);
    EXPECT_GT(v.x, 0);
    EXPECT_LT(v.y, 0);
    hostile.mViewportIntake.value = {NAN, 0.0f};
    EXPECT_EQ(CameraViewport(hostile, 1280, 720).width, 0);
}

// Whether cameras' rectangles leave any of the window to clear.
TEST(CameraViewports, RectanglesCoverTheWindowOnlyWhenNoPixelIsLeftOut)
{
    const int w = 1280;
    const int h = 720;
    EXPECT_TRUE(Engine::CoverWindow({{0, 0, w, h}}, w, h));
    EXPECT_TRUE(Engine::CoverWindow({{0, 360, w, 360}, {0, 0, w, 360}}, w, h));
    EXPECT_TRUE(Engine::CoverWindow({{-5, -5, 700, 900}, {600, 0, 1 << 30, h}}, w, h)) << "overlapping, past the edges";
    EXPECT_FALSE(Engine::CoverWindow({}, w, h));
    EXPECT_FALSE(Engine::CoverWindow({{0, 0, 640, h}, {641, 0, 639, h}}, w, h)) << "a column between them";
    EXPECT_FALSE(Engine::CoverWindow({{0, 0, w, 360}, {0, 361, w, 359}, {640, 360, 640, 1}}, w, h))
        << "half a row between them";
    EXPECT_FALSE(Engine::CoverWindow({{0, 0, 0, h}, {w, 0, 5, h}}, w, h));
}

TEST(CameraManager, AddKeepsAnExistingCameraAndLookupsOfAbsentOnesThrow)
{
    Engine::CameraManager& cameras = Engine::CameraManager::GetInstance();
    const Engine::EntityHandle a = Engine::EntityMgr::GetInstance().CreateEntity();
    const Engine::EntityHandle b = Engine::EntityMgr::GetInstance().CreateEntity();
    EXPECT_EQ(cameras.AddComponent(a).entity, a);
    cameras.GetCompPtr(a)->mFoV.value = 60.0f;
    cameras.AddComponent(a);
    EXPECT_FLOAT_EQ(cameras.GetCompPtr(a)->mFoV.value, 60.0f);
    EXPECT_TRUE(cameras.AddComponent(Engine::EntityHandle()).entity.IsNull());
    EXPECT_EQ(cameras.Count(), 1u);
    EXPECT_TRUE(cameras.GetComponent(b).entity.IsNull());
    try {
        cameras.GetCompPtr(b);
        FAIL() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
}

} // namespace
