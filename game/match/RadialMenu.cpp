#include "game/match/RadialMenu.h"

#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/Renderer.h"
#include "game/match/RadialMesh.h"

#include <memory>
#include <string>

namespace RadialMenu {
namespace {

constexpr float kMenuWidth = 1.5f;
// Lit slices let the arena show through.
constexpr glm::vec4 kSliceColour{0.92f, 0.96f, 1.0f, 0.45f};

// The renderer keeps every slice shape once, for the rest of the run.
const Engine::Model* SliceModel(int slices, int slice, int subdivisions)
{
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
    const std::string name =
        "RadialMenu_" + std::to_string(slices) + "_" + std::to_string(slice) + "_" + std::to_string(subdivisions);
    if (const Engine::Model* made = renderer.models.Find(name))
        return made;
    auto model = std::make_unique<Engine::Model>();
    // The slice adds no data to a mesh: the model keeps it as one.
    model->meshes.push_back(RadialMesh(slices, slice, subdivisions));
    return renderer.models.Add(name, std::move(model));
}

} // namespace

std::vector<Engine::EntityHandle> CreateRadialMenu(int slices, int subdivisions, int cameraIndex)
{
    std::vector<Engine::EntityHandle> made;
    for (int i = 0; i < slices; ++i) {
        const Engine::EntityHandle slice = Engine::EntityMgr::GetInstance().CreateEntity();
        // With no entity left the menu has the slices made so far: a mode
        // whose slice is missing is still picked, only not lit.
        if (slice.IsNull())
            break;
        Engine::TransformCompManager::GetInstance().AddComponent(slice);
        Engine::Transform::ScaleRef(slice).x = kMenuWidth;
        Engine::SetEntityName(slice, ("Radial menu object " + std::to_string(i)).c_str());
        Engine::HUDCompManager& huds = Engine::HUDCompManager::GetInstance();
        huds.AddComponent(slice);
        Engine::HUDComp& hud = *huds.GetCompPtr(slice);
        hud.model = SliceModel(slices, i, subdivisions);
        hud.mColor.value = kSliceColour;
        hud.mCameraTarget.value = cameraIndex;
        made.push_back(slice);
    }
    return made;
}

} // namespace RadialMenu
