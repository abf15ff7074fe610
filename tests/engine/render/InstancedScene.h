#pragma once
#include "FrameTestScene.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/RenderWrapperManager.h"

#include <vector>

// Helpers for floors of instanced tiles: a tile is an entity with a
// transform and a render wrapper, a floor a group entity that draws them.
struct InstancedScene : FrameTestScene {
    // A tile whose top shows `colour` unlit: ambient colour, white texture
    // tint, no second ambient.
    Engine::EntityHandle Tile(const glm::vec3& position, const glm::vec3& colour,
                              const glm::vec3& scale = {0.95f, 0.4f, 0.95f})
    {
        Engine::EntityHandle tile = Place(position, scale);
        Paint(tile, colour);
        return tile;
    }

    static void Paint(Engine::EntityHandle tile, const glm::vec3& colour)
    {
        Engine::RenderWrapper& wrapper = *Engine::RenderWrapperManager::GetInstance().AddComponent(tile).component;
        wrapper.mAmbientColor_0.value = colour;
        wrapper.mAmbientColor_1.value = glm::vec3(1.0f);
        wrapper.mAmbientColor_2.value = glm::vec3(0.0f);
    }

    // The group as the arena builds it: hexagon model, instanced program,
    // tile material, seen by every camera.
    Engine::InstancedRenderable& Floor(const std::vector<Engine::EntityHandle>& tiles, const char* material = "White")
    {
        Engine::EntityHandle group = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::InstancedRenderable& floor =
            *Engine::InstancedRenderableManager::GetInstance().AddComponent(group).component;
        floor.mModelName.value = "Hexagon";
        floor.mShaderName.value = "Default_Instanced";
        floor.mMaterialName.value = material;
        floor.mCameraTarget.value = -1;
        floor.ResolveResources();
        for (const Engine::EntityHandle& tile : tiles)
            floor.AddInstance(tile);
        floor.SetupInstanceBuffers();
        return floor;
    }

    template <class T>
    static std::vector<T> BufferContents(const Engine::GlBuffer& buffer)
    {
        std::vector<T> values(buffer.Bytes() / sizeof(T));
        buffer.Bind();
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(values.size() * sizeof(T)), values.data());
        return values;
    }
};
