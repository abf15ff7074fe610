#include "engine/render/ViewVolume.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

// From (0, 0, 10) toward the origin, 85 degrees high at 16:9, depth 0.1 to
// 100: at the origin the view reaches about 9.2 up and 16.3 to the side.
Engine::ViewVolume Looking()
{
    const glm::vec3 eye{0.0f, 0.0f, 10.0f};
    const glm::mat4 projection = glm::perspective(glm::radians(85.0f), 16.0f / 9.0f, 0.1f, 100.0f);
    return Engine::ViewVolume(projection * glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0, 1, 0)), eye);
}

TEST(ViewVolume, SeesSpheresThatReachInsideItsSixPlanes)
{
    struct Case {
        const char* what;
        glm::vec3 centre;
        float radius;
        bool seen;
    };
    const Case cases[] = {
        {"straight ahead", {0, 0, 0}, 1.0f, true},
        {"behind the eye", {0, 0, 20}, 1.0f, false},
        {"behind, but large enough to reach in", {0, 0, 20}, 15.0f, true},
        {"far to the side", {50, 0, 0}, 1.0f, false},
        {"just over the right edge, touching it", {17, 0, 0}, 1.0f, true},
        {"clear of the right edge", {19, 0, 0}, 1.0f, false},
        {"above the top edge", {0, 12, 0}, 1.0f, false},
        {"past the far plane", {0, 0, -200}, 1.0f, false},
        {"nearer than the near plane", {0, 0, 9.97f}, 0.01f, false},
        {"a point", {0, 0, 0}, 0.0f, false},
    };
    const Engine::ViewVolume view = Looking();
    for (const Case& c : cases)
        EXPECT_EQ(view.MaySee(c.centre, c.radius), c.seen) << c.what;
    EXPECT_EQ(view.Eye(), glm::vec3(0.0f, 0.0f, 10.0f));
}

// The bound holds for sheared matrices too (a child scaled unevenly under a
// turned parent), where the longest column alone would fall short.
TEST(ViewVolume, TheLargestScaleBoundsWhatAMatrixDoesToAnyDirection)
{
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), 0.7f, glm::normalize(glm::vec3(1, 2, 3)));
    const glm::mat4 matrices[] = {
        glm::scale(glm::mat4(1.0f), glm::vec3(0.95f, 0.4f, 0.95f)),
        turned * glm::scale(glm::mat4(1.0f), glm::vec3(3.0f, 0.5f, 1.0f)),
        glm::scale(turned, glm::vec3(2.0f, 1.0f, 0.25f)) * glm::rotate(glm::mat4(1.0f), 1.1f, glm::vec3(0, 1, 0)),
        glm::translate(glm::mat4(1.0f), glm::vec3(40, 5, 2)),
        glm::mat4(0.0f),
    };
    for (const glm::mat4& world : matrices) {
        const float bound = Engine::LargestScale(world);
        for (float a = 0.0f; a < 6.3f; a += 0.37f)
            for (float b = -1.5f; b < 1.6f; b += 0.5f) {
                const glm::vec3 direction{std::cos(a) * std::cos(b), std::sin(b), std::sin(a) * std::cos(b)};
                EXPECT_LE(glm::length(glm::vec3(world * glm::vec4(direction, 0.0f))), bound + 1e-5f);
            }
    }
    EXPECT_EQ(Engine::LargestScale(glm::mat4(0.0f)), 0.0f) << "a vanished entity covers nothing";
}

} // namespace
