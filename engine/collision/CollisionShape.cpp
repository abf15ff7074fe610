#include "engine/collision/CollisionShape.h"

#include "engine/core/JsonForms.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace Engine {
namespace {

bool IsKeptFromFile(double value)
{
    return value == 1.0 || value == 2.0 || value == 4.0 || value == 8.0 || value == 16.0;
}

} // namespace

bool IsCollisionShape(std::uint32_t value)
{
    return value != 0 && value <= ShapeShell && (value & (value - 1)) == 0;
}

void to_json(nlohmann::json& j, const ECollisionShape& shape) { j = static_cast<std::uint32_t>(shape); }

void from_json(const nlohmann::json& j, ECollisionShape& shape)
{
    // ReadNumber refuses non-numbers; the comparison on the truncated double
    // sends NaN and huge values to the box without ever converting them.
    const double value = std::trunc(Json::ReadNumber(j));
    shape = IsKeptFromFile(value) ? static_cast<ECollisionShape>(static_cast<std::uint32_t>(value)) : ShapeAABB;
}

} // namespace Engine
