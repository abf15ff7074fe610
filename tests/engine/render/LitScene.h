#pragma once
#include "FrameTestScene.h"

#include <cmath>

// A small arena: a field of hexagonal tiles at a few heights, models in the
// cel and the smooth program, a transparent dome, two coloured lights with
// glowing markers, all through bloom and post-processing.
struct LitScene : FrameTestScene {
    void BuildFloor()
    {
        const float radius = 1.0f;
        const glm::vec3 palette[] = {{0.15f, 0.55f, 0.6f}, {0.25f, 0.3f, 0.65f}, {0.55f, 0.25f, 0.6f}};
        for (int q = -4; q <= 4; ++q) {
            for (int r = -4; r <= 4; ++r) {
                const float x = 1.5f * radius * static_cast<float>(q);
                const float z = std::sqrt(3.0f) * radius * (static_cast<float>(r) + 0.5f * static_cast<float>(q & 1));
                if (x * x + z * z > 42.0f)
                    continue;
                const float lift = 0.15f * static_cast<float>((q * 7 + r * 13 + 40) % 3);
                Engine::RenderComp& tile =
                    Model(Place({x, -1.0f + lift, z}, {0.96f, 0.4f, 0.96f}), "Hexagon", "Cel", "Tile");
                tile.mDiffuseColor.value = palette[(q + 2 * r + 30) % 3];
                tile.mAmbientColor.value = tile.mDiffuseColor.value * 0.15f;
                tile.mMetalness.value = 90.0f;
            }
        }
    }

    void BuildModels()
    {
        Engine::RenderComp& cube = Model(Place({-2.2f, 0.2f, 1.2f}, glm::vec3(0.7f)), "Cube", "Cel");
        cube.mDiffuseColor.value = {0.95f, 0.55f, 0.2f};
        Engine::RenderComp& smooth = Model(Place({2.3f, 0.35f, 1.0f}, glm::vec3(0.9f)), "Sphere", "Default");
        smooth.mDiffuseColor.value = {0.85f, 0.85f, 0.9f};
        smooth.mMetalness.value = 64.0f;
        Engine::RenderComp& player = Model(Place({0.0f, -0.2f, -1.5f}, glm::vec3(1.3f)), "Player", "Cel");
        player.mDiffuseColor.value = {0.9f, 0.3f, 0.35f};
        Engine::RenderComp& ball = Model(Place({0.2f, 0.1f, 2.8f}, glm::vec3(0.35f)), "Geosphere", "Default");
        ball.mDiffuseColor.value = {0.4f, 0.9f, 0.5f};
    }

    void BuildDomeAndLights()
    {
        Engine::AlphaRenderComp& dome =
            Transparent(Place({2.3f, 0.35f, 1.0f}, glm::vec3(1.6f)), "Sphere", "ForceField", "ForceField");
        dome.mDiffuseColor.value = {0.3f, 0.8f, 1.0f};

        const glm::vec3 warm{1.0f, 0.62f, 0.3f};
        const glm::vec3 cool{0.35f, 0.55f, 1.0f};
        const glm::vec3 warmAt{-3.5f, 2.2f, 3.0f};
        const glm::vec3 coolAt{3.8f, 2.6f, -2.0f};
        PointLight(warmAt, warm);
        PointLight(coolAt, cool);
        Glowing(warmAt, 0.18f, warm * 3.0f);
        Glowing(coolAt, 0.18f, cool * 3.0f);
    }

    // Everything above, seen from the front and a little above.
    const Engine::Camera& BuildAll()
    {
        BuildFloor();
        BuildModels();
        BuildDomeAndLights();
        const Engine::Camera& camera = AddCamera({0.0f, 5.0f, 8.5f}, {0.0f, -0.6f, 0.5f});
        renderer.SetSelectionColours({1, 1, 1}, 0.0f, {0.1f, 0.2f, 0.3f});
        return camera;
    }
};
