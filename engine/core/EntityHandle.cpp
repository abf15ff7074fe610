#include "engine/core/EntityHandle.h"

#include "engine/core/EntityManager.h"
#include "engine/core/JsonForms.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace Engine {

EntityHandle::EntityHandle(std::uint32_t index)
{
    if (index == 0 || index > kMaxIndex)
        return;
    value = static_cast<std::uint16_t>((index << kIndexShift) | EntityMgr::GetInstance().GetGeneration(index));
}

EntityHandle& EntityHandle::operator=(EntityHandle&& other) noexcept
{
    if (this != &other) {
        value = other.value;
        other.value = 0;
    }
    return *this;
}

bool EntityHandle::IsValid() const
{
    if (IsNull())
        return false;
    return GetGeneration() == EntityMgr::GetInstance().GetGeneration(GetIndex());
}

bool EntityHandle::Exists() const { return IsValid() && EntityMgr::GetInstance().IsInUse(GetIndex()); }

void EntityHandle::Create() { value = EntityMgr::GetInstance().CreateEntity().value; }

void EntityHandle::Destroy() const { EntityMgr::GetInstance().DestroyEntity(*this); }

void to_json(nlohmann::json& j, const EntityHandle& handle) { j = handle.GetIndex(); }

namespace {

// Every index that does not fit the 12-bit field reads as 0, the null handle.
std::uint32_t IndexFromJson(const nlohmann::json& j)
{
    // Any number or boolean; NaN fails both comparisons.
    const double index = std::trunc(Json::ReadNumber(j));
    return (index >= 0.0 && index <= EntityHandle::kMaxIndex) ? static_cast<std::uint32_t>(index) : 0u;
}

} // namespace

void from_json(const nlohmann::json& j, EntityHandle& handle) { handle = EntityHandle(IndexFromJson(j)); }

} // namespace Engine
