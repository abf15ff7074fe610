#include "engine/render/ViewVolume.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

const glm::vec3 kEye{0.0f, 0.0f, 10.0f};

// From (0, 0, 10) toward the origin, 85 degrees high at 16:9, depth 0.1 to
// 100: at the origin the view reaches about 9.2 up and 16.3 to the side.
glm::mat4 ViewProjection()
{
    const glm::mat4 projection = glm::perspective(glm::radians(85.0f), 16.0f / 9.0f, 0.1f, 100.0f);
    return projection * glm::lookAt(kEye, glm::vec3(0.0f), glm::vec3(0, 1, 0));
}

Engine::ViewVolume Looking() { return Engine::ViewVolume(ViewProjection(), kEye); }

bool InView(const glm::vec3& point)
{
    const glm::vec4 clip = ViewProjection() * glm::vec4(point, 1.0f);
    return clip.w > 0.0f && std::abs(clip.x) <= clip.w && std::abs(clip.y) <= clip.w && std::abs(clip.z) <= clip.w;
}

glm::mat4 Placed(const glm::vec3& at, const glm::vec3& scale)
{
    return glm::scale(glm::translate(glm::mat4(1.0f), at), scale);
}

const glm::vec3 kUnitBox{1.0f};

TEST(ViewVolume, SeesBoxesThatReachInsideItsSixPlanes)
{
    struct Case {
        const char* what;
        glm::mat4 world;
        bool seen;
    };
    const glm::mat4 lying = glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 0, 1));
    const Case cases[] = {
        {"straight ahead", Placed({0, 0, 0}, glm::vec3(1.0f)), true},
        {"behind the eye", Placed({0, 0, 20}, glm::vec3(1.0f)), false},
        {"behind, but large enough to reach in", Placed({0, 0, 20}, glm::vec3(15.0f)), true},
        {"far to the side", Placed({50, 0, 0}, glm::vec3(1.0f)), false},
        {"just over the right edge, touching it", Placed({17, 0, 0}, glm::vec3(1.0f)), true},
        {"clear of the right edge", Placed({19, 0, 0}, glm::vec3(1.0f)), false},
        {"above the top edge", Placed({0, 12, 0}, glm::vec3(1.0f)), false},
        {"past the far plane", Placed({0, 0, -200}, glm::vec3(1.0f)), false},
        {"nearer than the near plane", Placed({0, 0, 9.97f}, glm::vec3(0.01f)), false},
        // A floor tile's column beside the view: a sphere round it would
        // reach in, the column does not.
        {"an upright column beside the view", Placed({25, 0, 0}, {2.5f, 40.0f, 2.5f}), false},
        {"the same column lying across the view", glm::translate(glm::mat4(1.0f), {25, 0, 0}) * lying *
                                                       glm::scale(glm::mat4(1.0f), {2.5f, 40.0f, 2.5f}),
         true},
        {"a vanished entity", glm::mat4(0.0f), false},
    };
    const Engine::ViewVolume view = Looking();
    for (const Case& c : cases)
        EXPECT_EQ(view.MaySee(c.world, glm::vec3(0.0f), kUnitBox), c.seen) << c.what;
    EXPECT_FALSE(view.MaySee(glm::mat4(1.0f), glm::vec3(0.0f), glm::vec3(0.0f))) << "a point";
    EXPECT_TRUE(view.MaySee(glm::mat4(1.0f), glm::vec3(0.0f), {1.0f, 0.0f, 1.0f})) << "a flat quad";
    EXPECT_FALSE(view.MaySee(glm::mat4(1.0f), glm::vec3(40.0f, 0.0f, 0.0f), kUnitBox)) << "a model off its origin";
    EXPECT_EQ(view.Eye(), kEye);
}

// Turned, unevenly scaled and sheared boxes (a child scaled under a turned
// parent) all round the edges of the view: whenever some point of a box
// lies in view, the box is kept.
TEST(ViewVolume, NeverTurnsAwayABoxThatReachesIntoTheView)
{
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), 0.7f, glm::normalize(glm::vec3(1, 2, 3)));
    const glm::mat4 shapes[] = {
        glm::scale(glm::mat4(1.0f), glm::vec3(0.95f, 0.4f, 0.95f)),
        turned * glm::scale(glm::mat4(1.0f), glm::vec3(3.0f, 0.5f, 1.0f)),
        glm::scale(turned, glm::vec3(2.0f, 1.0f, 0.25f)) * glm::rotate(glm::mat4(1.0f), 1.1f, glm::vec3(0, 1, 0)),
        glm::scale(glm::mat4(1.0f), glm::vec3(2.5f, 40.0f, 2.5f)),
    };
    const Engine::ViewVolume view = Looking();
    int kept = 0;
    int turnedAway = 0;
    for (const glm::mat4& shape : shapes)
        for (float x = -24.0f; x <= 24.0f; x += 2.0f)
            for (float y = -16.0f; y <= 16.0f; y += 4.0f)
                for (float z = -60.0f; z <= 14.0f; z += 8.0f) {
                    const glm::mat4 world = glm::translate(glm::mat4(1.0f), {x, y, z}) * shape;
                    bool reaches = false;
                    for (float u = -1.0f; u <= 1.0f && !reaches; u += 0.25f)
                        for (float v = -1.0f; v <= 1.0f && !reaches; v += 0.25f)
                            for (float w = -1.0f; w <= 1.0f && !reaches; w += 0.25f)
                                reaches = InView(glm::vec3(world * glm::vec4(u, v, w, 1.0f)));
                    const bool seen = view.MaySee(world, glm::vec3(0.0f), kUnitBox);
                    if (reaches) {
                        EXPECT_TRUE(seen) << "shape with its middle at " << x << ", " << y << ", " << z;
                    }
                    ++(seen ? kept : turnedAway);
                }
    // Both answers come up: the grid runs past every edge.
    EXPECT_GT(kept, 100);
    EXPECT_GT(turnedAway, 100);
}

} // namespace
