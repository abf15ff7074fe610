#include "engine/core/EntityManager.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/core/SceneFormat.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Viewport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using Engine::Camera;
using Engine::CameraManager;
using Engine::EntityHandle;

bool Finite(const glm::mat4& m)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!std::isfinite(m[c][r]))
                return false;
    return true;
}

TEST(CameraMatrices, NewCameraLooksDownMinusZFromTen)
{
    Camera camera;
    glm::vec4 origin = camera.GetViewMatrix() * glm::vec4(0, 0, 0, 1);
    EXPECT_NEAR(origin.z, -10.0f, 1e-5f);
    EXPECT_NEAR(origin.x, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(camera.forward.z, -1.0f);
    EXPECT_FLOAT_EQ(camera.right.x, 1.0f);
    EXPECT_FLOAT_EQ(camera.up.y, 1.0f);

    const glm::mat4 projection = camera.GetProjectionMatrix();
    const float focal = 1.0f / std::tan(42.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(projection[1][1], focal, 1e-5f);
    EXPECT_NEAR(projection[0][0], focal / (16.0f / 9.0f), 1e-5f);
    EXPECT_FLOAT_EQ(projection[2][3], -1.0f);

    // The rotation cancels and the translation doubles.
    const glm::mat4 billboard = camera.GetBillboardViewMatrix();
    EXPECT_NEAR(billboard[3][2], -20.0f, 1e-5f);
    EXPECT_NEAR(billboard[0][0], 1.0f, 1e-6f);

    const glm::mat4 ortho = camera.GetOrthoMatrix();
    EXPECT_NEAR(ortho[0][0], 1.0f / (5.0f * 16.0f / 9.0f), 1e-6f);
    EXPECT_FLOAT_EQ(ortho[1][1], 0.2f);
}

TEST(CameraMatrices, DegenerateViewsKeepAUsableBasis)
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

    // Straight down: no NaN, and a right-handed orthonormal basis.
    camera.SetTarget({1, -5, 3});
    camera.Update();
    EXPECT_NEAR(camera.forward.y, -1.0f, 1e-6f);
    EXPECT_NEAR(glm::length(camera.right), 1.0f, 1e-5f);
    EXPECT_NEAR(glm::dot(camera.right, camera.forward), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::dot(camera.up, camera.forward), 0.0f, 1e-5f);
    EXPECT_TRUE(Finite(camera.GetViewMatrix()));
}

TEST(CameraMatrices, MovingWithoutUpdateKeepsTheOldUp)
{
    Camera camera;
    camera.SetPosition({0, 0, 0});
    camera.SetTarget({10, 10, 0});
    camera.Update(); // up now leans toward -x
    camera.SetTarget({0, 0, -10});
    // Still the leaning up: the view is rolled by 45 degrees until Update.
    EXPECT_NEAR(camera.GetViewMatrix()[0][0], std::sqrt(0.5f), 1e-5f);
    camera.Update();
    EXPECT_NEAR(camera.GetViewMatrix()[0][0], 1.0f, 1e-5f);
}

TEST(CameraViewports, SplitScreenHalvesTheWindow)
{
    Camera left;
    Camera right;
    left.mViewportIntake.value = {0.5f, 1.0f};
    right.mViewportPos.value = {0.5f, 0.0f};
    right.mViewportIntake.value = {0.5f, 1.0f};
    EXPECT_EQ(Engine::CameraViewport(left, 1280, 720), (Engine::ViewportRect{0, 0, 640, 720}));
    EXPECT_EQ(Engine::CameraViewport(right, 1280, 720), (Engine::ViewportRect{640, 0, 640, 720}));
    // Truncation, and the half-size viewport of the blur chain.
    EXPECT_EQ(Engine::CameraViewport(right, 1281, 721).x, 640);
    Camera whole;
    EXPECT_EQ(Engine::CameraViewport(whole, 1280 * 0.5f, 720 * 0.5f), (Engine::ViewportRect{0, 0, 640, 360}));
}

TEST(CameraViewports, HostileFractionsGiveASafeRectangle)
{
    Camera camera;
    camera.mViewportPos.value = {1e30f, -1e30f};
    camera.mViewportIntake.value = {-2.0f, 1e30f};
    Engine::ViewportRect v = Engine::CameraViewport(camera, 1280, 720);
    EXPECT_EQ(v.width, 0);
    EXPECT_GT(v.height, 0);
    EXPECT_GT(v.x, 0);
    EXPECT_LT(v.y, 0);
    camera.mViewportIntake.value = {NAN, 0.0f};
    v = Engine::CameraViewport(camera, 1280, 720);
    EXPECT_EQ(v.width, 0);
    EXPECT_EQ(v.height, 0);
}

struct CameraManagerFixture : ::testing::Test {
    EntityHandle NewEntity() { return Engine::EntityMgr::GetInstance().CreateEntity(); }
    CameraManager& cameras = CameraManager::GetInstance();
};

TEST_F(CameraManagerFixture, AddKeepsAnExistingCameraAndLookupsOfAbsentOnesThrow)
{
    EntityHandle a = NewEntity();
    EntityHandle b = NewEntity();
    EXPECT_EQ(cameras.AddComponent(a).entity, a);
    cameras.GetCompPtr(a)->mFoV.value = 60.0f;
    cameras.AddComponent(a);
    EXPECT_FLOAT_EQ(cameras.GetCompPtr(a)->mFoV.value, 60.0f);
    EXPECT_EQ(cameras.Count(), 1u);

    EXPECT_TRUE(cameras.GetComponent(b).entity.IsNull());
    try {
        cameras.GetCompPtr(b);
        FAIL() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
    EXPECT_TRUE(cameras.AddComponent(EntityHandle()).entity.IsNull());
    EXPECT_EQ(cameras.Count(), 1u);
}

TEST_F(CameraManagerFixture, SaveAndLoadRoundTripInEntityOrder)
{
    std::vector<EntityHandle> entities;
    for (int i = 0; i < 7; ++i)
        entities.push_back(NewEntity());
    EntityHandle seventh = entities[6];
    EntityHandle third = entities[2];
    cameras.AddComponent(seventh);
    cameras.AddComponent(third);
    Camera& c = *cameras.GetCompPtr(third);
    c.mPos.value = {1, 2, 3};
    c.mViewportIntake.value = {0.5f, 1.0f};
    c.mCameraIndex.value = 1;

    nlohmann::json document = nlohmann::json::object();
    cameras.Save(document);
    ASSERT_EQ(document["Cameras"].size(), 2u);
    EXPECT_EQ(document["Cameras"][0]["handle"], third.GetIndex());
    EXPECT_EQ(document["Cameras"][1]["handle"], seventh.GetIndex());
    EXPECT_EQ(document["Cameras"][0]["values"]["mCameraIndex"], 1);

    cameras.Clear();
    cameras.Load(document);
    ASSERT_TRUE(cameras.HasComponent(third));
    const Camera& loaded = *cameras.GetCompPtr(third);
    EXPECT_EQ(loaded.mPos.value, glm::vec3(1, 2, 3));
    EXPECT_EQ(loaded.mViewportIntake.value, glm::vec2(0.5f, 1.0f));
    EXPECT_EQ(loaded.mCameraIndex.value, 1);
    EXPECT_TRUE(cameras.HasComponent(seventh));

    nlohmann::json entity = nlohmann::json::object();
    cameras.SaveEntity(entity, third);
    cameras.Clear();
    cameras.LoadEntity(entity, third);
    EXPECT_EQ(cameras.GetCompPtr(third)->mCameraIndex.value, 1);

    // An empty manager still writes its key.
    cameras.Clear();
    nlohmann::json empty = nlohmann::json::object();
    cameras.Save(empty);
    EXPECT_TRUE(empty.contains("Cameras"));
    EXPECT_TRUE(empty["Cameras"].is_null());
    cameras.Load(empty);
    EXPECT_EQ(cameras.Count(), 0u);
}

TEST_F(CameraManagerFixture, ABadSectionIsRefusedWholeAndNamed)
{
    EntityHandle keep = NewEntity();
    cameras.AddComponent(keep);
    cameras.GetCompPtr(keep)->mFoV.value = 70.0f;

    auto section = [&](nlohmann::json second) {
        nlohmann::json document;
        document["Cameras"] = nlohmann::json::array(
            {{{"handle", keep.GetIndex()}, {"values", {{"mFoV", 20.0}}}}, std::move(second)});
        return document;
    };
    auto refused = [&](const nlohmann::json& document, const char* words) {
        try {
            cameras.Load(document);
            ADD_FAILURE() << "accepted " << document.dump();
        } catch (const std::exception& error) {
            EXPECT_NE(std::string(error.what()).find(words), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("Cameras"), std::string::npos) << error.what();
        }
        EXPECT_FLOAT_EQ(cameras.GetCompPtr(keep)->mFoV.value, 70.0f) << "first element applied";
        EXPECT_EQ(cameras.Count(), 1u);
    };
    refused(section({{"handle", 0}, {"values", nlohmann::json::object()}}), "null entity");
    refused(section({{"handle", 5000}, {"values", nlohmann::json::object()}}), "past 4095");
    refused(section({{"handle", -3}, {"values", nlohmann::json::object()}}), "handle");
    refused(section({{"handle", 9}, {"values", 4}}), "not an object");
    refused(section({{"handle", 9}}), "values");
    refused(section({{"handle", 9}, {"values", {{"mFoV", "wide"}}}}), "[1]");
    refused(section({{"handle", 9}, {"values", {{"mFoV", 1e300}}}}), "[1]");
    refused(section(7), "not an object");

    nlohmann::json notArray;
    notArray["Cameras"] = "many";
    refused(notArray, "array");
}

} // namespace
