#include "engine/core/JsonForms.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace Engine::Json {
namespace {

using Type = nlohmann::json::value_t;

[[noreturn]] void ThrowNotANumber(const nlohmann::json& j)
{
    throw nlohmann::json::type_error::create(302, std::string("type must be number, but is ") + j.type_name(), &j);
}

[[noreturn]] void ThrowDoesNotFit(const nlohmann::json& j, const char* typeName)
{
    throw nlohmann::json::out_of_range::create(406, "number " + j.dump() + " does not fit in " + typeName, &j);
}

template <class T>
T ReadIntegral(const nlohmann::json& j, const char* typeName)
{
    switch (j.type()) {
    case Type::boolean:
        return j.get<bool>() ? T(1) : T(0);
    case Type::number_integer: {
        const auto v = j.get<std::int64_t>();
        if (!std::in_range<T>(v))
            ThrowDoesNotFit(j, typeName);
        return static_cast<T>(v);
    }
    case Type::number_unsigned: {
        const auto v = j.get<std::uint64_t>();
        if (!std::in_range<T>(v))
            ThrowDoesNotFit(j, typeName);
        return static_cast<T>(v);
    }
    case Type::number_float: {
        const double v = std::trunc(j.get<double>());
        // Written so that NaN fails too.
        if (!(v >= static_cast<double>(std::numeric_limits<T>::min())
              && v <= static_cast<double>(std::numeric_limits<T>::max())))
            ThrowDoesNotFit(j, typeName);
        return static_cast<T>(v);
    }
    default:
        ThrowNotANumber(j);
    }
}

} // namespace

double ReadNumber(const nlohmann::json& j)
{
    switch (j.type()) {
    case Type::boolean:
        return j.get<bool>() ? 1.0 : 0.0;
    case Type::number_integer:
    case Type::number_unsigned:
    case Type::number_float:
        return j.get<double>();
    default:
        ThrowNotANumber(j);
    }
}

int ReadInt(const nlohmann::json& j) { return ReadIntegral<int>(j, "int"); }

unsigned int ReadUnsigned(const nlohmann::json& j) { return ReadIntegral<unsigned int>(j, "unsigned int"); }

float ReadFloat(const nlohmann::json& j)
{
    const double v = ReadNumber(j);
    if (std::isfinite(v) && std::fabs(v) > static_cast<double>(FLT_MAX))
        ThrowDoesNotFit(j, "float");
    return static_cast<float>(v);
}

void ThrowNotAnObject(const nlohmann::json& j)
{
    throw nlohmann::json::type_error::create(
        305, std::string("cannot use operator[] with a string argument with ") + j.type_name(), &j);
}

void ThrowNotAList(const nlohmann::json& j)
{
    throw nlohmann::json::type_error::create(
        302, std::string("type must be array, but is ") + j.type_name() + " (\"vector_values\")", &j);
}

} // namespace Engine::Json

namespace glm {

void to_json(nlohmann::json& j, const vec2& v)
{
    j = nlohmann::json{{"x", static_cast<double>(v.x)}, {"y", static_cast<double>(v.y)}};
}

void to_json(nlohmann::json& j, const vec3& v)
{
    j = nlohmann::json{{"x", static_cast<double>(v.x)}, {"y", static_cast<double>(v.y)}, {"z", static_cast<double>(v.z)}};
}

void to_json(nlohmann::json& j, const vec4& v)
{
    j = nlohmann::json{{"x", static_cast<double>(v.x)},
                       {"y", static_cast<double>(v.y)},
                       {"z", static_cast<double>(v.z)},
                       {"w", static_cast<double>(v.w)}};
}

// Every component is read before any is stored, so a bad one changes nothing.
void from_json(const nlohmann::json& j, vec2& v)
{
    using Engine::Json::ReadFloat;
    v = vec2(ReadFloat(j.at("x")), ReadFloat(j.at("y")));
}

void from_json(const nlohmann::json& j, vec3& v)
{
    using Engine::Json::ReadFloat;
    const float x = ReadFloat(j.at("x"));
    const float y = ReadFloat(j.at("y"));
    const float z = ReadFloat(j.at("z"));
    v = vec3(x, y, z);
}

void from_json(const nlohmann::json& j, vec4& v)
{
    using Engine::Json::ReadFloat;
    const float x = ReadFloat(j.at("x"));
    const float y = ReadFloat(j.at("y"));
    const float z = ReadFloat(j.at("z"));
    const float w = ReadFloat(j.at("w"));
    v = vec4(x, y, z, w);
}

} // namespace glm
