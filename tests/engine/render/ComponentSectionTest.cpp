#include "GlTestWindow.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "engine/render/CameraManager.h"
#include "engine/render/FontRenderCompManager.h"
#include "engine/render/HUDCompManager.h"
#include "engine/render/InstancedRenderableManager.h"
#include "engine/render/LightManager.h"
#include "engine/render/ParticleEmitterManager.h"
#include "engine/render/RenderCompManager.h"
#include "engine/render/RenderWrapperManager.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Engine::EntityHandle;
using nlohmann::json;

EntityHandle NewEntity() { return Engine::EntityMgr::GetInstance().CreateEntity(); }

// Every value changed in a way that survives float storage, and each one
// differently, so that swapped members show: numbers move up to whole
// numbers, flags flip, names grow.
json Changed(const json& value, int& step)
{
    if (value.is_structured()) {
        json changed = value;
        for (auto& item : changed.items())
            item.value() = Changed(item.value(), step);
        return changed;
    }
    ++step;
    if (value.is_boolean())
        return !value.get<bool>();
    if (value.is_number_float())
        return std::round(value.get<double>()) + step;
    if (value.is_number())
        return value.get<std::int64_t>() + step;
    if (value.is_string())
        return value.get<std::string>() + std::to_string(step);
    return value;
}

struct Section {
    const char* name;
    const char* entityKey; // null: the manager keeps no archetype entry
    std::size_t properties;
    Engine::ICompManager& manager;
    std::function<void(EntityHandle)> add;
    std::function<void(const json&)> load;
};

template <class Manager>
Section Managed(const char* name, const char* entityKey, std::size_t properties)
{
    Manager& m = Manager::GetInstance();
    Section section{name, entityKey, properties, m, nullptr, [&m](const json& document) { m.Load(document); }};
    if constexpr (requires(EntityHandle e) { m.AddComponent(e); })
        section.add = [&m](EntityHandle e) { m.AddComponent(e); };
    return section;
}

std::vector<Section> Sections()
{
    using namespace Engine;
    Section texts = Managed<FontRenderCompManager>("FontRenderables", "FontRenderable", 3);
    texts.add = [](EntityHandle e) { FontRenderCompManager::GetInstance().LoadEntity({{"FontRenderable", json::object()}}, e); };
    Section emitters = Managed<ParticleEmitterManager>("ParticleEmitters", "ParticleEmitter", 0);
    emitters.add = [](EntityHandle e) { ParticleEmitterManager::GetInstance().GetCompPtr(e)->SetMaxParticles(8); };
    // A scene load leaves lights alone (no owners, no types saved):
    // LoadLights brings them back.
    Section lights = Managed<LightManager>("Lights", nullptr, 14);
    lights.load = [](const json& document) { LightManager::GetInstance().LoadLights(document); };
    return {Managed<CameraManager>("Cameras", "Camera", 9),
            Managed<RenderCompManager>("RenderComps", "RenderComp", 10),
            Managed<AlphaRenderCompManager>("AlphaRenderComps", "AlphaRenderComp", 8),
            Managed<InstancedRenderableManager>("InstancedRenderable", "InstancedRenderable", 5),
            Managed<RenderWrapperManager>("RenderWrapper", "RenderWrapper", 5),
            Managed<HUDCompManager>("HUDComps", "HUDComp", 3),
            texts,
            emitters,
            lights};
}

struct ComponentSections : ::testing::Test {
    void SetUp() override { OpenTestWindow(); } // lights and emitters own GL names
};

// All managers share one document, as in a scene file: a section read by
// the wrong manager would duplicate or lose components.
TEST_F(ComponentSections, EveryManagerRoundTripsEveryPropertyInEntityOrder)
{
    const EntityHandle first = NewEntity();
    const EntityHandle spare = NewEntity();
    const EntityHandle last = NewEntity();
    std::vector<Section> sections = Sections();
    json saved = json::object();
    for (Section& s : sections) {
        s.add(last);
        s.add(first);
        s.manager.Save(saved);
    }
    json changed = saved;
    int step = 0;
    for (Section& s : sections) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(saved[s.name].size(), 2u);
        EXPECT_EQ(saved[s.name][0]["handle"], first.GetIndex());
        EXPECT_EQ(saved[s.name][1]["handle"], last.GetIndex());
        EXPECT_EQ(saved[s.name][0]["values"].size(), s.properties);
        for (json& element : changed[s.name])
            element["values"] = Changed(element["values"], step);
        s.manager.Clear();
    }
    Engine::LightManager& lights = Engine::LightManager::GetInstance();
    lights.Load(changed);
    EXPECT_EQ(lights.Count(), 0u) << "a scene load brought lights back";
    for (Section& s : sections) {
        s.manager.Load(json::object({{"Other", 1}}));
        EXPECT_EQ(s.manager.Count(), 0u) << s.name << ": a document without the section changes nothing";
        s.load(changed);
    }
    for (Section& s : sections) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.manager.Count(), 2u);
        json again = json::object();
        s.manager.Save(again);
        EXPECT_EQ(again[s.name], changed[s.name]);
        if (!s.entityKey)
            continue;
        json archetype = json::object();
        s.manager.SaveEntity(archetype, first);
        ASSERT_TRUE(archetype.contains(s.entityKey));
        s.manager.LoadEntity(archetype, spare);
        json copy = json::object();
        s.manager.SaveEntity(copy, spare);
        EXPECT_EQ(copy, archetype);
    }
    EXPECT_TRUE(lights.GetCompPtr(first)->owner.IsNull());
    // An empty manager still writes its key, as null.
    for (Section& s : sections) {
        s.manager.Clear();
        json empty = json::object();
        s.manager.Save(empty);
        EXPECT_TRUE(empty.contains(s.name) && empty[s.name].is_null()) << s.name;
        s.load(empty);
        EXPECT_EQ(s.manager.Count(), 0u) << s.name;
    }
    EXPECT_EQ(saved["ParticleEmitters"][0]["values"], nullptr) << "emitters keep no properties";
}

TEST_F(ComponentSections, ALoadUpdatesInPlaceAndABadElementRefusesTheWholeSection)
{
    Engine::CameraManager& cameras = Engine::CameraManager::GetInstance();
    const EntityHandle keep = NewEntity();
    cameras.AddComponent(keep);
    Engine::GameCamera* camera = cameras.GetCompPtr(keep);
    camera->mFoV.value = 70.0f;
    cameras.Load({{"Cameras", {{{"handle", keep.GetIndex()}, {"values", {{"mCameraIndex", 1}}}}}}});
    EXPECT_EQ(cameras.GetCompPtr(keep), camera);
    EXPECT_EQ(camera->mCameraIndex.value, 1);
    EXPECT_FLOAT_EQ(camera->mFoV.value, 70.0f) << "a property the element leaves out was reset";

    const json good = {{"handle", keep.GetIndex()}, {"values", {{"mFoV", 20.0}}}};
    auto refused = [&](const json& section, const char* words) {
        try {
            cameras.Load({{"Cameras", section}});
            ADD_FAILURE() << "accepted " << section.dump();
        } catch (const std::exception& error) {
            const std::string what = error.what();
            EXPECT_NE(what.find(words), std::string::npos) << what;
            EXPECT_NE(what.find("Cameras"), std::string::npos) << what;
        }
        EXPECT_FLOAT_EQ(camera->mFoV.value, 70.0f) << "first element applied: " << section.dump();
        EXPECT_EQ(cameras.Count(), 1u);
    };
    refused(json::array({good, {{"handle", 0}, {"values", json::object()}}}), "null entity");
    refused(json::array({good, {{"handle", 5000}, {"values", json::object()}}}), "past 4095");
    refused(json::array({good, {{"handle", -3}, {"values", json::object()}}}), "handle");
    refused(json::array({good, {{"handle", 9}, {"values", 4}}}), "not an object");
    refused(json::array({good, {{"handle", 9}}}), "values");
    refused(json::array({good, {{"handle", 9}, {"values", {{"mFoV", "wide"}}}}}), "[1]");
    refused(json::array({good, {{"handle", 9}, {"values", {{"mFoV", 1e300}}}}}), "[1]");
    refused(json::array({good, 7}), "not an object");
    refused("many", "array");

    // Emitters read only the handles, but refuse as whole.
    Engine::ParticleEmitterManager& emitters = Engine::ParticleEmitterManager::GetInstance();
    for (const char* text : {R"({"ParticleEmitters": 7})", R"({"ParticleEmitters": [{"handle": 2}, {"handle": 0}]})",
                             R"({"ParticleEmitters": [{"handle": 2}, {"handle": 3, "values": 5}]})"}) {
        EXPECT_ANY_THROW(emitters.Load(json::parse(text))) << text;
        EXPECT_EQ(emitters.Count(), 0u) << text;
    }

    json wrong = {{"RenderComps", 3}};
    Engine::RenderCompManager::GetInstance().AddComponent(keep);
    EXPECT_THROW(Engine::RenderCompManager::GetInstance().Save(wrong), json::type_error);
}

} // namespace
