#pragma once
#include "GlTestWindow.h"
#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/RenderCompManager.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

// A window with every start-up resource, and helpers that put entities with
// transforms, models, lights and cameras into the scene.
struct FrameTestScene : ::testing::Test {
    void SetUp() override { OpenTestWindowWithResources(); }

    Engine::EntityHandle Place(const glm::vec3& position, const glm::vec3& scale = glm::vec3(1.0f))
    {
        Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        Engine::Transform::PositionRef(entity) = position;
        Engine::Transform::ScaleRef(entity) = scale;
        return entity;
    }

    template <class Component>
    static Component& Named(Component& c, const char* model, const char* shader, const char* material)
    {
        c.mModelName.value = model;
        c.mShaderName.value = shader;
        c.mMaterialName.value = material;
        c.ResolveResources();
        return c;
    }

    Engine::RenderComp& Model(Engine::EntityHandle entity, const char* model, const char* shader,
                              const char* material = "White")
    {
        return Named(*Engine::RenderCompManager::GetInstance().AddComponent(entity).component, model, shader,
                     material);
    }

    Engine::AlphaRenderComp& Transparent(Engine::EntityHandle entity, const char* model, const char* shader,
                                         const char* material)
    {
        return Named(*Engine::AlphaRenderCompManager::GetInstance().AddComponent(entity).component, model, shader,
                     material);
    }

    // A glowing blob: its ambient colour alone lights it, and what passes 1
    // glows.
    Engine::RenderComp& Glowing(const glm::vec3& position, float radius, const glm::vec3& colour)
    {
        Engine::RenderComp& blob = Model(Place(position, glm::vec3(radius)), "Sphere", "Default");
        blob.mAmbientColor.value = colour;
        return blob;
    }

    Engine::Light& PointLight(const glm::vec3& position, const glm::vec3& colour)
    {
        Engine::Light& light = *Engine::LightManager::GetInstance().AddComponent(Place(position)).light;
        light.mDiffuseColor.value = glm::vec4(colour, 1.0f);
        light.mSpecularColor.value = glm::vec4(colour, 1.0f);
        light.mAmbientColor.value = glm::vec4(colour * 0.2f, 1.0f);
        return light;
    }

    Engine::GameCamera& AddCamera(const glm::vec3& eye, const glm::vec3& target)
    {
        Engine::EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::CameraManager& cameras = Engine::CameraManager::GetInstance();
        cameras.AddComponent(entity);
        Engine::GameCamera& camera = *cameras.GetCompPtr(entity);
        camera.SetPosition(eye);
        camera.SetTarget(target);
        camera.Update();
        return camera;
    }

    // Camera 0 on the left half of the window and camera 1 on the right, or
    // when stacked camera 0 on the lower half and camera 1 on the upper one;
    // both look at the origin from (0, 0, 10).
    void SplitScreen(bool stacked = false)
    {
        Engine::GameCamera& first = AddCamera({0, 0, 10}, {0, 0, 0});
        Engine::GameCamera& second = AddCamera({0, 0, 10}, {0, 0, 0});
        const glm::vec2 half = stacked ? glm::vec2(1.0f, 0.5f) : glm::vec2(0.5f, 1.0f);
        first.mViewportIntake.value = half;
        second.mViewportPos.value = glm::vec2(1.0f) - half;
        second.mViewportIntake.value = half;
        second.mCameraIndex.value = 1;
    }

    // Where a world point lands in the window, for a camera filling it.
    static glm::ivec2 WindowPixel(const Engine::Camera& camera, const glm::vec3& world)
    {
        glm::vec4 clip = camera.GetProjectionMatrix() * camera.GetViewMatrix() * glm::vec4(world, 1.0f);
        glm::vec2 ndc = glm::vec2(clip) / clip.w;
        auto [w, h] = Engine::Window::Main()->GetSize();
        return {static_cast<int>((ndc.x * 0.5f + 0.5f) * static_cast<float>(w)),
                static_cast<int>((ndc.y * 0.5f + 0.5f) * static_cast<float>(h))};
    }

    // The window's back buffer, RGB, rows from the bottom.
    static std::vector<unsigned char> WindowPicture()
    {
        auto [w, h] = Engine::Window::Main()->GetSize();
        std::vector<unsigned char> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // The largest difference of one channel of one pixel between two
    // pictures of the same size.
    static int LargestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        int largest = 0;
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            largest = std::max(largest, std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i])));
        return largest;
    }

    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
};
