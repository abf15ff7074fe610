#include "engine/core/Transform3D.h"

#include "engine/core/JsonForms.h"

namespace Engine {
namespace {

bool SameFloats(const glm::vec3& a, const glm::vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

} // namespace

bool Transform3D::operator==(const Transform3D& other) const
{
    return SameFloats(pos, other.pos) && SameFloats(scale, other.scale) && SameFloats(forward, other.forward)
        && SameFloats(up, other.up);
}

void to_json(nlohmann::json& j, const Transform3D& transform)
{
    j = nlohmann::json{{"pos", transform.pos}, {"scale", transform.scale}, {"forward", transform.forward}, {"up", transform.up}};
}

void from_json(const nlohmann::json& j, Transform3D& transform)
{
    Transform3D read;
    read.pos = j.at("pos").get<glm::vec3>();
    read.scale = j.at("scale").get<glm::vec3>();
    read.forward = j.at("forward").get<glm::vec3>();
    read.up = j.at("up").get<glm::vec3>();
    transform = read;
}

} // namespace Engine
