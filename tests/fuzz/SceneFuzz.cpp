// Scene files as a scene load reads them: the first JSON value of the text,
// then the entity manager's and every component manager's section (names,
// tags, transforms, logic components, bodies and spatial colliders with the
// collision table, cameras, render, transparent, instanced and HUD
// components, render wrappers, text components, particle emitters), and
// the lights' section, which their own loader reads from the same document.
//
// Input: the file's bytes, loaded over a small running scene. A refusal is
// the JSON library's error or the scene format's; anything else that leaves
// the load is a finding. Beyond that: a refused file leaves the running
// scene as it was; the render wrappers' table stays true; a scene that loads
// updates its transforms, and saves and loads again to the same document.
#include "FuzzSupport.h"

#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionShape.h"
#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/CompManager.h"
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Property.h"
#include "engine/core/SceneManager.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/Factory.h"
#include "engine/logic/LogicManager.h"
#include "engine/logic/LogicTypeRegistration.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/ComponentSection.h"
#include "engine/render/FontRenderComp.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/Light.h"
#include "engine/render/LightManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapperManager.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <utility>

namespace Fuzz {

// A logic component with a property of every persisted kind, registered
// under its type name so that scene files can bring it back.
class Probe : public Engine::LogicComp {
public:
    static Engine::TypeNode* RegisterClassType()
    {
        return Engine::TypeRegistry::RegisterUnder<Probe, Engine::LogicComp>();
    }
    Engine::TypeNode* RegisterType() const override { return RegisterClassType(); }

    Engine::Property<int> count{"count", mPropertyMap};
    Engine::Property<unsigned int> mask{"mask", mPropertyMap};
    Engine::Property<float> speed{"speed", mPropertyMap};
    Engine::Property<bool> on{"on", mPropertyMap};
    Engine::Property<std::string> label{"label", mPropertyMap};
    Engine::Property<glm::vec2> size{"size", mPropertyMap};
    Engine::Property<glm::vec3> place{"place", mPropertyMap};
    Engine::Property<glm::vec4> colour{"colour", mPropertyMap};
    Engine::Property<std::vector<int>> steps{"steps", mPropertyMap};
};

} // namespace Fuzz

namespace {

using nlohmann::json;
using Fuzz::Probe;

// What a scene load reads. Lights and text components own GL objects from
// the moment they are made, and there is no GL context here: their sections
// are read whole as their managers read them before making anything, but
// nothing is made. (Lights have their own loader; the text components'
// manager joins the scene at the first text pass.)
bool Load(const json& document)
{
    try {
        Engine::ComponentSection::Stage<Engine::LightSettings>(document, "Lights",
                                                               std::map<Engine::EntityHandle, Engine::Light>());
        Engine::ComponentSection::Stage<Engine::FontRenderCompProperties>(
            document, "FontRenderables", std::map<Engine::EntityHandle, Engine::FontRenderComp>());
        Engine::ICompManager::LoadDocument(document);
        return true;
    } catch (const json::exception&) {
    } catch (const Engine::SceneFormat::Error&) {
    }
    return false;
}

// The document a scene save writes.
json Save()
{
    json document = json::object();
    Engine::EntityMgr::GetInstance().Save(document);
    Engine::ICompManager::ForEachManager([&document](Engine::ICompManager& manager) { manager.Save(document); });
    return document;
}

// Colliders keep only the shapes a file may name: one without a shape yet,
// or a shell (made only in code), is saved as it is and reads back as a box.
json ShapesAsRead(json document)
{
    const auto asRead = [](json& shape) {
        const std::uint32_t value = shape.get<std::uint32_t>();
        if (!Engine::IsCollisionShape(value) || value == Engine::ShapeShell)
            shape = static_cast<std::uint32_t>(Engine::ShapeAABB);
    };
    for (const auto& [section, key] : {std::pair{"CollisionMgr", "mCollisionShape"}, std::pair{"SpatialCollisionMgr", "shape"}}) {
        if (document.contains(section)) {
            for (json& collider : document[section]["Colliders"])
                asRead(collider["values"][key]);
        }
    }
    return document;
}

// Every floor tile finds its wrapper through a table by entity index,
// which must name exactly the wrappers held, wherever a load left them.
void CheckWrapperTable()
{
    const Engine::RenderWrapperManager& wrappers = Engine::RenderWrapperManager::GetInstance();
    std::size_t listed = 0;
    for (std::uint32_t index = 1; index <= Engine::EntityHandle::kMaxIndex; ++index)
        listed += wrappers.GetCompPtr(Engine::EntityHandle(index)) != nullptr;
    bool same = listed == wrappers.GetComponents().size();
    for (const auto& [entity, wrapper] : wrappers.GetComponents())
        same = same && wrappers.GetCompPtr(entity) == &wrapper;
    Fuzz::Require(same, "the wrappers' table names the wrappers held");
}

void StartFresh()
{
    Engine::SceneManager::DestroySceneImmediately();
    Engine::CollisionTable::GetInstance().Load(json{{"tags", nullptr}, {"pairs", nullptr}});
}

// Every input leaves nothing behind: the logic manager leaves what it holds
// at exit to the system, which the leak checker would take for a leak.
struct FreshAfterwards {
    FreshAfterwards() = default;
    FreshAfterwards(const FreshAfterwards&) = delete;
    FreshAfterwards& operator=(const FreshAfterwards&) = delete;
    ~FreshAfterwards() { StartFresh(); }
};

// The scene every input is loaded over: a parent and child with names,
// tags, transforms, a probe, a body and a spatial collider, a component of
// every rendering manager, and two collision tags; as a file, also a light
// and a text component, which are only read. It is the corpus's first seed
// (run with FUZZ_WRITE_BASE=<file> to write it).
struct BaseScene {
    json file;
    // What the scene manager saves once the file is loaded.
    json saved;
};

BaseScene MakeBaseScene()
{
    using namespace Engine;
    const EntityHandle parent = EntityMgr::GetInstance().CreateEntity();
    const EntityHandle child = EntityMgr::GetInstance().CreateEntity();
    for (const EntityHandle& entity : {parent, child}) {
        TransformCompManager::GetInstance().AddComponent(entity);
        EntityTagCompManager::GetInstance().AddTag(entity, "Base");
        CollisionMgr::GetInstance().AddComponent(entity);
    }
    Transform::SetParent(child, parent);
    Transform::PositionRef(child) = glm::vec3(1.0f, 2.0f, 3.0f);
    SetEntityName(parent, "Parent");
    SetEntityName(child, "Child");
    LogicManager::GetInstance().AddComponent<Probe>(child);
    LogicManager::GetCompPtr<Probe>(child)->label.value = "base";
    LogicManager::GetCompPtr<Probe>(child)->steps.value = {1, 2};
    SpatialCollisionMgr::GetInstance().AddComponent(parent);
    CameraManager::GetInstance().AddComponent(parent);
    RenderCompManager::GetInstance().AddComponent(parent);
    AlphaRenderCompManager::GetInstance().AddComponent(child);
    InstancedRenderableManager::GetInstance().AddComponent(parent);
    HUDCompManager::GetInstance().AddComponent(child);
    RenderWrapperManager::GetInstance().AddComponent(child);
    ParticleEmitterManager::GetInstance().AddComponent(child);
    CollisionTable::GetInstance().AddTag("Wall");
    CollisionTable::GetInstance().AddTag("Ball");
    BaseScene base{Save(), {}};
    // Sections that are only read here still belong in the file.
    json light;
    LightSettings().GetPropertyMap().ToJson(light);
    base.file["Lights"] = json::array({{{"handle", parent.GetIndex()}, {"values", light}}});
    json text;
    FontRenderCompProperties().GetPropertyMap().ToJson(text);
    base.file["FontRenderables"] = json::array({{{"handle", child.GetIndex()}, {"values", text}}});
    Fuzz::Require(Load(base.file), "the base scene loads");
    base.saved = Save();
    return base;
}

const BaseScene& Base()
{
    static const BaseScene base = MakeBaseScene();
    return base;
}

void SetUpOnce()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Fuzz::QuietStreams();
    // In the order the engine builds them; the rest as the game first asks.
    Engine::CollisionMgr::GetInstance();
    Engine::TransformCompManager::GetInstance();
    Engine::RenderCompManager::GetInstance();
    Engine::InstancedRenderableManager::GetInstance();
    Engine::RenderWrapperManager::GetInstance();
    Engine::HUDCompManager::GetInstance();
    Engine::CameraManager::GetInstance();
    Engine::LightManager::GetInstance();
    Engine::EntityNameCompManager::GetInstance();
    Engine::EntityTagCompManager::GetInstance();
    Engine::LogicManager::GetInstance();
    Engine::SpatialCollisionMgr::GetInstance();
    Engine::AlphaRenderCompManager::GetInstance();
    Engine::ParticleEmitterManager::GetInstance();
    Engine::RegisterLogicType<Probe>();
    if (const char* path = std::getenv("FUZZ_WRITE_BASE"))
        std::ofstream(path) << Base().file.dump(4);
    Base();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SetUpOnce();
    StartFresh();
    const FreshAfterwards fresh;
    Fuzz::Require(Load(Base().file), "the base scene loads");
    // As the scene manager parses: one value from the start, the rest unread.
    std::istringstream text(Fuzz::Text(data, size));
    json document;
    try {
        text >> document;
    } catch (const json::exception&) {
        return 0;
    }
    const bool loaded = Load(document);
    CheckWrapperTable();
    if (!loaded) {
        Fuzz::Require(Save() == Base().saved, "a refused scene leaves the running one as it was");
        return 0;
    }
    Engine::TransformCompManager::GetInstance().Update();

    const json saved = Save();
    // The save writes text: a string the writer refuses throws here.
    saved.dump();
    StartFresh();
    Fuzz::Require(Load(saved), "a saved scene loads again");
    Fuzz::Require(Save() == ShapesAsRead(saved), "a saved scene loads as it was saved");
    return 0;
}
