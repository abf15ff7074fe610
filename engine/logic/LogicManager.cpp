// Reads and writes the "LogicComps" member of scenes and archetypes:
//
//   scene:   "LogicComps": null | [ {"handle": 1..4095,
//                                    "obj_comps": null | [ {"type": name, "value": properties} ]} ]
//   entity:  "LogicComps": null | [ {"type": name, "value": properties} ]
//
// "type" must name a factory-registered logic component; "value" is read by
// that component's property map. Bad handles and unknown types are skipped
// with a message; JSON type errors and missing keys propagate, and a list
// that is neither an array nor null is a type error (an object would read
// as the list of its values).
#include "engine/logic/LogicManager.h"

#include "engine/core/FlagGuard.h"
#include "engine/core/RuntimeErrors.h"
#include "engine/core/SceneFormat.h"
#include "engine/core/SceneManager.h"
#include "engine/logic/Factory.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace Engine {
namespace {

constexpr const char* kKey = "LogicComps";

// The entity's list in the map, const or not, or null.
template <class Map>
auto* ListOf(Map& map, EntityHandle key)
{
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

// Saved handles are entity indices; anything else is refused.
std::optional<std::uint32_t> EntityIndexFrom(const nlohmann::json& handle)
{
    std::uint64_t index = 0;
    if (handle.is_number_unsigned())
        index = handle.get<std::uint64_t>();
    else if (handle.is_number_integer() && handle.get<std::int64_t>() > 0)
        index = static_cast<std::uint64_t>(handle.get<std::int64_t>());
    if (index < 1 || index > EntityHandle::kMaxIndex)
        return std::nullopt;
    return static_cast<std::uint32_t>(index);
}

std::unique_ptr<LogicComp> CreateByName(const std::string& type)
{
    std::unique_ptr<IFactoryBase> made(Factory::GetInstance().Create(type.c_str()));
    if (auto* component = dynamic_cast<LogicComp*>(made.get())) {
        made.release();
        return std::unique_ptr<LogicComp>(component);
    }
    return nullptr;
}

// A value from the file as it appears in a message, cut short: the file
// decides its length.
std::string Preview(const nlohmann::json& value)
{
    constexpr std::size_t kLongest = 64;
    std::string text = value.dump();
    if (text.size() > kLongest)
        text = text.substr(0, kLongest) + "...";
    return text;
}

nlohmann::json SavedComponent(const LogicComp& component)
{
    nlohmann::json saved = nlohmann::json::object();
    saved["type"] = component.RegisterType()->name;
    component.GetPropertyMap().ToJson(saved["value"]);
    return saved;
}

} // namespace

LogicManager& LogicManager::GetInstance()
{
    static LogicManager manager;
    return manager;
}

void LogicManager::Attach(EntityHandle entity, std::unique_ptr<LogicComp> component)
{
    LogicComp* attached = component.get();
    mComponents[entity].push_back(attached);
    Changed();
    component.release();
    attached->SetOwner(entity);
    if (SceneManager::GetState() == SceneManager::Active)
        attached->Initialize();
}

const LogicManager::CompList* LogicManager::FindComponents(EntityHandle entity) const
{
    return ListOf(mComponents, entity);
}

bool LogicManager::HasComponent(EntityHandle entity) const { return mComponents.contains(entity); }

void LogicManager::RemoveComponent(EntityHandle entity)
{
    const CompList* list = FindComponents(entity);
    if (!list)
        return;
    // Each component leaves the list before its Shutdown, so lookups made
    // from a Shutdown never meet a deleted sibling, and components attached
    // meanwhile are neither removed nor lost.
    for (std::size_t remaining = list->size(); remaining > 0; --remaining) {
        CompList* current = ListOf(mComponents, entity);
        if (!current || current->empty())
            return;
        LogicComp* component = Detach(*current, 0, entity);
        component->Shutdown();
        delete component;
    }
}

void LogicManager::Clear()
{
    // Until the map is empty: a Shutdown that attaches a component somewhere
    // has it shut down and deleted too, rather than dropped with its entry.
    while (!mComponents.empty()) {
        const EntityHandle key = mComponents.begin()->first;
        for (CompList* list = ListOf(mComponents, key); list && !list->empty(); list = ListOf(mComponents, key)) {
            LogicComp* component = Detach(*list, list->size() - 1, key);
            component->Shutdown();
            delete component;
        }
        mComponents.erase(key);
        ++mErasures;
    }
}

void LogicManager::SwapWithAside()
{
    mComponents.swap(mAside);
    // A walk under way must not go on in the other scene's entries.
    ++mErasures;
    Changed();
}

void LogicManager::SceneLoaded() { InitializeLogicComponents(); }

void LogicManager::RemoveFirstWhere(EntityHandle entity, bool (*matches)(const LogicComp*))
{
    CompList* list = ListOf(mComponents, entity);
    if (!list)
        throw InvalidMapKey();
    const auto found = std::find_if(list->begin(), list->end(), matches);
    if (found == list->end())
        return;
    LogicComp* component = Detach(*list, static_cast<std::size_t>(found - list->begin()), entity);
    component->Shutdown();
    delete component;
}

LogicComp* LogicManager::Detach(CompList& list, std::size_t position, EntityHandle entity)
{
    LogicComp* component = list[position];
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
    Changed();
    for (WalkPoint& walk : mWalks)
        walk.Removed(entity, position);
    if (mFlatWalkUnderWay)
        mFlatWalkRemovals.push_back({entity, position});
    return component;
}

void LogicManager::WalkPoint::Removed(EntityHandle from, std::size_t position)
{
    if (from != entity)
        return;
    if (held != kWholeList && position < held)
        --held;
    if (position < next)
        --next;
}

LogicManager::ActiveWalk::ActiveWalk(LogicManager& manager) : mManager(manager), mDepth(manager.mWalks.size())
{
    mManager.mWalks.emplace_back();
}

LogicManager::ActiveWalk::~ActiveWalk() { mManager.mWalks.pop_back(); }

void LogicManager::Update()
{
    // Only what an entity held when its turn began: a component attached to
    // it meanwhile waits for the next frame. The flat order serves until a
    // component changes what the map holds; the walk goes on from there in
    // the map itself, as it would have from the start.
    if (mUpdateOrderBuiltAt != mChanges)
        BuildUpdateOrder();
    const std::uint64_t changes = mChanges;
    // Far enough ahead for the component to arrive before its turn.
    constexpr std::size_t kFetchAhead = 4;
    const std::size_t count = mUpdateOrder.size();
    std::optional<WalkPoint> after;
    mFlatWalkRemovals.clear();
    {
        const FlagGuard underWay(mFlatWalkUnderWay);
        for (std::size_t k = 0; k < count; ++k) {
            if (k + kFetchAhead < count)
                __builtin_prefetch(mUpdateOrder[k + kFetchAhead].component);
            const UpdateStep step = mUpdateOrder[k];
            step.component->Update();
            if (mChanges != changes) {
                after = WalkPoint{step.entity, std::size_t{step.position} + 1, step.held};
                break;
            }
        }
    }
    if (!after)
        return;
    for (const Removal& removal : mFlatWalkRemovals)
        after->Removed(removal.entity, removal.position);
    WalkComponents(&LogicComp::Update, true, &*after);
}

void LogicManager::BuildUpdateOrder()
{
    mUpdateOrder.clear();
    for (const auto& [entity, list] : mComponents) {
        const auto held = static_cast<std::uint32_t>(list.size());
        for (std::uint32_t i = 0; i < held; ++i)
            mUpdateOrder.push_back({list[i], entity, i, held});
    }
    mUpdateOrderBuiltAt = mChanges;
}

void LogicManager::InitializeAll()
{
    // A component that attaches siblings in its Initialize has them
    // initialised by the same batch.
    WalkComponents(&LogicComp::Initialize, false);
}

void LogicManager::WalkComponents(void (LogicComp::*operation)(), bool onlyThoseHeldAtTheirTurn,
                                  const WalkPoint* resume)
{
    // Components may attach, remove and clear while being called. Lists are
    // read by index afresh after every call, and the map position is found
    // again by key whenever entries were dropped meanwhile, so the walk never
    // holds a stale iterator. Entities attached ahead of the walk's position
    // are visited in the same walk.
    std::uint64_t seen = mErasures;
    auto it = mComponents.begin();
    std::optional<WalkPoint> from;
    if (resume) {
        it = mComponents.find(resume->entity);
        if (it != mComponents.end())
            from = *resume;
        else
            it = mComponents.upper_bound(resume->entity);
    }
    const ActiveWalk walk(*this);
    while (it != mComponents.end()) {
        const EntityHandle key = it->first;
        const std::size_t held = onlyThoseHeldAtTheirTurn ? it->second.size() : WalkPoint::kWholeList;
        walk.At() = from ? *from : WalkPoint{key, 0, held};
        from.reset();
        while (walk.At().next < walk.At().held) {
            if (seen != mErasures) {
                seen = mErasures;
                it = mComponents.find(key);
                if (it == mComponents.end())
                    break;
            }
            const CompList& list = it->second;
            const std::size_t position = walk.At().next++;
            if (position >= list.size())
                break;
            (list[position]->*operation)();
        }
        const bool lost = seen != mErasures || it == mComponents.end();
        seen = mErasures;
        it = lost ? mComponents.upper_bound(key) : std::next(it);
    }
}

void LogicManager::InitializeLogicComponents()
{
    if (SceneManager::GetState() != SceneManager::Idle) {
        std::clog << "[LogicManager] Tried to initialise logic components outside of scene idle state.\n";
        return;
    }
    std::clog << "[LogicManager] Initializing logic components.\n";
    InitializeAll();
}

void LogicManager::Save(nlohmann::json& document)
{
    nlohmann::json& saved = document[kKey];
    for (const auto& [entity, list] : mComponents) {
        nlohmann::json element = nlohmann::json::object();
        element["handle"] = entity.GetIndex();
        nlohmann::json& components = element["obj_comps"];
        for (const LogicComp* component : list)
            components.push_back(SavedComponent(*component));
        saved.push_back(std::move(element));
    }
}

void LogicManager::Load(const nlohmann::json& document)
{
    if (document.contains(kKey)) {
        for (const nlohmann::json& element : SceneFormat::ArrayOrNullMember(document, kKey, kKey)) {
            const nlohmann::json& handle = element.at("handle");
            const std::optional<std::uint32_t> index = EntityIndexFrom(handle);
            if (!index) {
                std::clog << "[LogicManager] Skipped saved logic components: handle " << Preview(handle)
                          << " is not an entity index (1 to " << EntityHandle::kMaxIndex << ").\n";
                continue;
            }
            const nlohmann::json& components = SceneFormat::ArrayOrNullMember(element, "obj_comps", kKey);
            const EntityHandle entity(*index);
            mComponents.try_emplace(entity);
            LoadComponents(components, entity);
        }
    }
    // A scene load initialises once the previous scene is gone.
    if (!IsReadingScene())
        InitializeLogicComponents();
}

void LogicManager::SaveEntity(nlohmann::json& value, EntityHandle entity)
{
    const CompList* list = FindComponents(entity);
    if (!list)
        return;
    nlohmann::json& saved = value[kKey];
    for (const LogicComp* component : *list)
        saved.push_back(SavedComponent(*component));
}

void LogicManager::LoadEntity(const nlohmann::json& value, EntityHandle entity)
{
    if (entity.IsNull())
        return;
    if (!value.contains(kKey))
        return;
    const nlohmann::json& components = SceneFormat::ArrayOrNullMember(value, kKey, kKey);
    mComponents.try_emplace(entity);
    LoadComponents(components, entity);
}

// The counterpart of SavedComponent.
void LogicManager::LoadComponents(const nlohmann::json& components, EntityHandle entity)
{
    for (const nlohmann::json& saved : components) {
        const std::string type = saved.at("type").get<std::string>();
        std::unique_ptr<LogicComp> component = CreateByName(type);
        if (!component) {
            std::clog << "[LogicManager] Skipped a saved logic component of entity " << entity.GetIndex()
                      << ": no logic component type is registered as " << Preview(saved.at("type")) << ".\n";
            continue;
        }
        component->GetPropertyMap().FromJson(saved.at("value"));
        component->SetOwner(entity);
        CompList& list = mComponents[entity];
        list.push_back(component.get());
        Changed();
        component.release();
    }
}

bool HasLogicComponents(EntityHandle entity)
{
    if (entity.IsNull())
        return false;
    const LogicManager::CompList* list = LogicManager::GetInstance().FindComponents(entity);
    return list && !list->empty();
}

} // namespace Engine
