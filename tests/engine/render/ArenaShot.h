#pragma once
#include "InstancedScene.h"
#include "engine/render/FontRenderCompManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/ParticleEmitterManager.h"

#include <cmath>
#include <nlohmann/json.hpp>

inline constexpr int kArenaTiles = 1370;
inline constexpr glm::vec3 kFountain{-12.0f, 0.0f, 8.0f};
inline constexpr glm::vec3 kCloud{13.0f, 3.5f, 4.0f};

// Axial hexagon cells spiralling out from the centre.
inline std::vector<glm::ivec2> HexSpiral(int count)
{
    std::vector<glm::ivec2> cells{{0, 0}};
    const int directions[6][2] = {{1, 0}, {1, -1}, {0, -1}, {-1, 0}, {-1, 1}, {0, 1}};
    for (int ring = 1; static_cast<int>(cells.size()) < count; ++ring) {
        glm::ivec2 cell{-ring, ring};
        for (const auto& d : directions)
            for (int step = 0; step < ring && static_cast<int>(cells.size()) < count; ++step) {
                cells.push_back(cell);
                cell += glm::ivec2(d[0], d[1]);
            }
    }
    return cells;
}

// A full arena floor as one instanced draw, text and a HUD medal over it,
// and two particle effects, through the whole frame.
struct ArenaShot : InstancedScene {
    void BuildFloor()
    {
        std::vector<Engine::EntityHandle> tiles;
        for (const glm::ivec2& cell : HexSpiral(kArenaTiles)) {
            const float x = 1.5f * static_cast<float>(cell.x);
            const float z = std::sqrt(3.0f) * (static_cast<float>(cell.y) + 0.5f * static_cast<float>(cell.x));
            const float distance = std::sqrt(x * x + z * z);
            const float wave = 0.35f * std::sin(distance * 0.45f) + 0.2f * std::sin(x * 0.3f + z * 0.2f);
            const Engine::EntityHandle tile = Place({x, -1.0f + wave, z}, {0.97f, 0.6f, 0.97f});
            // Teal at the centre through blue to violet at the rim, every
            // third tile a shade lighter.
            const float t = std::min(distance / 36.0f, 1.0f);
            glm::vec3 colour = glm::mix(glm::vec3(0.1f, 0.75f, 0.75f), glm::vec3(0.35f, 0.3f, 0.95f), t);
            colour = glm::mix(colour, glm::vec3(0.85f, 0.25f, 0.7f), std::max(0.0f, t - 0.6f) * 1.8f);
            if ((cell.x * 2 + cell.y * 5) % 3 == 0)
                colour *= 1.25f;
            Engine::RenderWrapper& wrapper = *Engine::RenderWrapperManager::GetInstance().AddComponent(tile).component;
            wrapper.mAmbientColor_0.value = colour * 0.3f;
            wrapper.mAmbientColor_1.value = glm::vec3(1.0f);
            wrapper.mAmbientColor_2.value = colour * 0.05f;
            wrapper.mDiffuseColor.value = colour * 0.7f;
            wrapper.mSpecularColor.value = glm::vec3(0.25f);
            tiles.push_back(tile);
        }
        Engine::InstancedRenderable& floor = Floor(tiles, "TileNoBlur");
        floor.mShaderName.value = "Cel_Instanced";
        floor.mMetalness.value = 48.0f;
        floor.ResolveResources();
    }

    void AddLights()
    {
        const glm::vec3 places[] = {{-16.0f, 9.0f, 10.0f}, {16.0f, 10.0f, -10.0f}, {0.0f, 18.0f, 26.0f}};
        const glm::vec3 colours[] = {{0.9f, 0.6f, 0.4f}, {0.4f, 0.55f, 0.9f}, {0.5f, 0.5f, 0.55f}};
        for (int i = 0; i < 3; ++i) {
            Engine::Light& light = PointLight(places[i], colours[i]);
            light.mAttenuation_2.value = 0.004f;
            light.mAttenuation_3.value = 0.002f;
        }
    }

    Engine::ParticleEmitter& Effect(const glm::vec3& at, const glm::vec4& from, const glm::vec4& to)
    {
        Engine::ParticleEmitter& emitter =
            *Engine::ParticleEmitterManager::GetInstance().GetCompPtr(Engine::EntityMgr::GetInstance().CreateEntity());
        emitter.programName = "Particle";
        emitter.modelName = "Quad";
        emitter.textureName = "Particle";
        emitter.LoadResources();
        emitter.SetMaxParticles(400);
        emitter.emissionCount = 4;
        emitter.shaderSwitch = 2;
        emitter.additive = true;
        emitter.pointA = at;
        emitter.minimum.startColour = from;
        emitter.maximum.startColour = from * glm::vec4(1.0f, 1.0f, 1.0f, 0.5f);
        emitter.minimum.endColour = emitter.maximum.endColour = to;
        emitter.minimum.scale = glm::vec3(0.25f);
        emitter.maximum.scale = glm::vec3(0.55f);
        emitter.minimum.lifetime = 0.8f;
        emitter.maximum.lifetime = 1.6f;
        return emitter;
    }

    void AddEffects()
    {
        // A fountain of sparks rising from one tile.
        Engine::ParticleEmitter& fountain =
            Effect(kFountain, {1.0f, 0.45f, 0.08f, 0.6f}, {0.9f, 0.1f, 0.05f, 0.0f});
        fountain.minimum.startVelocity = {-4.0f, 16.0f, -4.0f};
        fountain.maximum.startVelocity = {4.0f, 22.0f, 4.0f};
        fountain.minimum.endVelocity = fountain.maximum.endVelocity = {0.0f, -16.0f, 0.0f};
        fountain.minimum.scale = glm::vec3(0.35f);
        fountain.maximum.scale = glm::vec3(0.7f);
        // A cloud of cold motes drifting round a point over the floor.
        Engine::ParticleEmitter& cloud = Effect(kCloud, {0.1f, 0.8f, 0.75f, 0.35f}, {0.5f, 0.3f, 1.0f, 0.0f});
        cloud.shape = Engine::kParticleSphere;
        cloud.radii = {5.0f, 2.5f, 5.0f};
        cloud.emissionCount = 3;
        cloud.minimum.startVelocity = glm::vec3(-0.4f);
        cloud.maximum.startVelocity = glm::vec3(0.4f);
        cloud.minimum.endVelocity = cloud.maximum.endVelocity = {0.0f, 0.6f, 0.0f};
        cloud.minimum.lifetime = 1.5f;
        cloud.maximum.lifetime = 3.0f;
        for (int frame = 0; frame < 90; ++frame) {
            fountain.Update(1.0f / 60.0f);
            cloud.Update(1.0f / 60.0f);
        }
    }

    void AddOverlay()
    {
        Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
        const Engine::EntityHandle medal = Place({7.3f, 3.6f, 0.0f}, {1.1f, 1.1f, 1.0f});
        huds.AddComponent(medal);
        Engine::HUDComp& sprite = *huds.GetCompPtr(medal);
        sprite.mTextureName.value = "MedalGoalShot";
        sprite.ResolveTexture();

        Text({-8.4f, 4.0f, 0.0f}, "Latin", u"Solvane Arena", 0.55f);
        Text({-8.4f, 3.35f, 0.0f}, "Cyrillic", u"Арена Солване: Счёт 3:2", 0.4f);
    }

    Engine::FontRenderComp& Text(const glm::vec3& at, const char* font, const std::u16string& text, float size)
    {
        const Engine::EntityHandle entity = Place(at, {size, size, 1.0f});
        Engine::FontRenderCompManager::GetInstance().LoadEntity({{"FontRenderable", {{"mFontName", font}}}}, entity);
        Engine::FontRenderComp& label = *Engine::FontRenderCompManager::GetInstance().GetCompPtr(entity);
        label.text = text;
        return label;
    }

    // The floor, its lights, effects and overlay under one camera that sees
    // it whole, with the renderer's tile highlight set.
    Engine::GameCamera& BuildAll()
    {
        BuildFloor();
        AddLights();
        AddEffects();
        AddOverlay();
        Engine::GameCamera& camera = AddCamera({0.0f, 22.0f, 38.0f}, {0.0f, -6.0f, -2.0f});
        camera.selectionPoint = {1.5f, 0.0f, 14.7f};
        renderer.emissiveColour = {0.05f, 0.12f, 0.2f};
        renderer.SetSelectionColours({1.0f, 0.95f, 0.6f}, 1.6f, {0.2f, 0.4f, 0.6f});
        Engine::TransformCompManager::GetInstance().Update();
        return camera;
    }
};
