// The radial mode menu's slices: their shape and the HUD entities built
// from them.
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/render/GlTestWindow.h"
#include "engine/render/HUDCompManager.h"
#include "game/match/RadialMenu.h"
#include "game/match/RadialMesh.h"
#include "support/CapturedOutput.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(RadialMeshShape, EachSliceIsAFanAroundItsDirectionOnTheUnitCircle)
{
    struct Case {
        int sectors;
        int sector;
        glm::vec2 middle;
    };
    // Sector 0 points down, the next ones follow counter-clockwise.
    const Case cases[] = {
        {4, 0, {0.0f, -1.0f}}, {4, 1, {1.0f, 0.0f}}, {4, 2, {0.0f, 1.0f}}, {4, 3, {-1.0f, 0.0f}},
        {2, 1, {0.0f, 1.0f}},  {8, 2, {1.0f, 0.0f}},
    };
    constexpr int kSteps = 10;
    for (const Case& test : cases) {
        const auto vertices = RadialMesh::SliceVertices(test.sectors, test.sector, kSteps);
        ASSERT_EQ(vertices.size(), kSteps + 2u);
        EXPECT_EQ(vertices[0].position, glm::vec3(0.0f));
        for (std::size_t j = 1; j < vertices.size(); ++j) {
            EXPECT_NEAR(glm::length(vertices[j].position), 1.0f, 1e-5f);
            EXPECT_EQ(glm::vec2(vertices[j].position), vertices[j].uv);
        }
        const glm::vec2 middle(vertices[1 + kSteps / 2].position);
        EXPECT_LT(glm::distance(middle, test.middle), 1e-3f) << test.sectors << " sectors, sector " << test.sector;
        // The rim spans one sector.
        const float span = std::acos(glm::dot(vertices[1].position, vertices[kSteps + 1].position));
        EXPECT_NEAR(span, 6.283f / static_cast<float>(test.sectors), 1e-3f);
    }
    const auto indices = RadialMesh::SliceIndices(kSteps);
    ASSERT_EQ(indices.size(), 3u * kSteps);
    EXPECT_EQ((std::vector<std::uint32_t>(indices.end() - 3, indices.end())), (std::vector<std::uint32_t>{0, 10, 11}));
    // Nothing to draw rather than a division by zero.
    EXPECT_TRUE(RadialMesh::SliceVertices(0, 0, kSteps).empty());
    EXPECT_TRUE(RadialMesh::SliceVertices(4, 0, 0).empty());
    EXPECT_TRUE(RadialMesh::SliceIndices(0).empty());
}

TEST(RadialMenuSlices, ASliceEntityPerSectorHiddenUntilLitAndShapesShared)
{
    StdoutOf([] { OpenTestWindow(); });
    const std::vector<Engine::EntityHandle> first = RadialMenu::CreateRadialMenu(4, 10, 2);
    const std::vector<Engine::EntityHandle> second = RadialMenu::CreateRadialMenu(4, 10, 1);
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(second.size(), 4u);
    Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(std::string(Engine::EntityNameCompManager::GetInstance().GetName(first[i])), "Radial menu obj")
            << "names keep 15 characters";
        EXPECT_FLOAT_EQ(Engine::Transform::ScalePtr(first[i])->x, 1.5f);
        const Engine::HUDComp& hud = *huds.GetCompPtr(first[i]);
        EXPECT_EQ(hud.texture, nullptr) << "hidden";
        EXPECT_EQ(hud.mCameraTarget.value, 2);
        EXPECT_EQ(huds.GetCompPtr(second[i])->mCameraTarget.value, 1);
        ASSERT_NE(hud.model, nullptr);
        EXPECT_EQ(huds.GetCompPtr(second[i])->model, hud.model) << "one shape per slice for every player";
        if (i > 0) {
            EXPECT_NE(huds.GetCompPtr(first[i - 1])->model, hud.model);
        }
    }
    EXPECT_TRUE(DrainGlErrors().empty());
    Engine::SceneManager::SetIdle();
    StdoutOf([] { Engine::SceneManager::DestroySceneImmediately(); });
}

} // namespace
