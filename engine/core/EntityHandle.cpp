#include "engine/core/EntityHandle.h"

#include "engine/core/EntityManager.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

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

void EntityHandle::Create() { value = EntityMgr::GetInstance().CreateEntity().value; }

void EntityHandle::Destroy() const { EntityMgr::GetInstance().DestroyEntity(*this); }

void to_json(nlohmann::json& j, const EntityHandle& handle) { j = handle.GetIndex(); }

namespace {

// Every index that does not fit the 12-bit field reads as 0, the null handle.
std::uint32_t IndexFromJson(const nlohmann::json& j)
{
    using Type = nlohmann::json::value_t;
    switch (j.type()) {
    case Type::boolean:
        return j.get<bool>() ? 1u : 0u;
    case Type::number_integer: {
        const auto v = j.get<std::int64_t>();
        return (v >= 0 && v <= EntityHandle::kMaxIndex) ? static_cast<std::uint32_t>(v) : 0u;
    }
    case Type::number_unsigned: {
        const auto v = j.get<std::uint64_t>();
        return v <= EntityHandle::kMaxIndex ? static_cast<std::uint32_t>(v) : 0u;
    }
    case Type::number_float: {
        const double v = std::trunc(j.get<double>());
        return (v >= 0.0 && v <= EntityHandle::kMaxIndex) ? static_cast<std::uint32_t>(v) : 0u;
    }
    default:
        throw nlohmann::json::type_error::create(302, std::string("type must be number, but is ") + j.type_name(), &j);
    }
}

} // namespace

void from_json(const nlohmann::json& j, EntityHandle& handle) { handle = EntityHandle(IndexFromJson(j)); }

} // namespace Engine
