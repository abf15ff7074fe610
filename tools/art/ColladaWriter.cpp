#include "tools/art/ColladaWriter.h"

#include <cstdio>

#include <glm/matrix.hpp>

namespace Art {
namespace {

std::string Number(float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

std::string Row(const glm::mat4& m)
{
    std::string out;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            out += (out.empty() ? "" : " ") + Number(m[column][row]);
    return out;
}

std::string FloatSource(const std::string& id, const std::vector<float>& values, int stride, const std::vector<std::string>& params,
    const std::string& type = "float")
{
    std::string list;
    for (float v : values)
        list += (list.empty() ? "" : " ") + Number(v);
    std::string out = "<source id=\"" + id + "\"><float_array id=\"" + id + "-array\" count=\"" + std::to_string(values.size()) + "\">" + list
        + "</float_array><technique_common><accessor source=\"#" + id + "-array\" count=\"" + std::to_string(values.size() / stride)
        + "\" stride=\"" + std::to_string(stride) + "\">";
    for (const std::string& p : params)
        out += "<param name=\"" + p + "\" type=\"" + type + "\"/>";
    return out + "</accessor></technique_common></source>\n";
}

std::string NameSource(const std::string& id, const std::vector<std::string>& names, const std::string& param)
{
    std::string list;
    for (const std::string& n : names)
        list += (list.empty() ? "" : " ") + n;
    return "<source id=\"" + id + "\"><Name_array id=\"" + id + "-array\" count=\"" + std::to_string(names.size()) + "\">" + list
        + "</Name_array><technique_common><accessor source=\"#" + id + "-array\" count=\"" + std::to_string(names.size())
        + "\" stride=\"1\"><param name=\"" + param + "\" type=\"name\"/></accessor></technique_common></source>\n";
}

std::string Geometry(const SkinnedModel& model)
{
    const std::string id = model.name + "-mesh";
    std::vector<float> positions, normals, uvs;
    for (const MeshVertex& v : model.mesh.vertices) {
        positions.insert(positions.end(), { v.position.x, v.position.y, v.position.z });
        normals.insert(normals.end(), { v.normal.x, v.normal.y, v.normal.z });
        uvs.insert(uvs.end(), { v.uv.x, 1.0f - v.uv.y });
    }
    std::string indices;
    for (std::uint32_t i : model.mesh.indices)
        indices += (indices.empty() ? "" : " ") + std::to_string(i);
    return "<library_geometries><geometry id=\"" + id + "\" name=\"" + model.name + "\"><mesh>\n"
        + FloatSource(id + "-positions", positions, 3, { "X", "Y", "Z" })
        + FloatSource(id + "-normals", normals, 3, { "X", "Y", "Z" })
        + FloatSource(id + "-uvs", uvs, 2, { "S", "T" })
        + "<vertices id=\"" + id + "-vertices\"><input semantic=\"POSITION\" source=\"#" + id + "-positions\"/></vertices>\n"
        + "<triangles count=\"" + std::to_string(model.mesh.indices.size() / 3) + "\">"
        + "<input semantic=\"VERTEX\" source=\"#" + id + "-vertices\" offset=\"0\"/>"
        + "<input semantic=\"NORMAL\" source=\"#" + id + "-normals\" offset=\"0\"/>"
        + "<input semantic=\"TEXCOORD\" source=\"#" + id + "-uvs\" offset=\"0\" set=\"0\"/>"
        + "<p>" + indices + "</p></triangles>\n</mesh></geometry></library_geometries>\n";
}

std::vector<glm::mat4> WorldRest(const SkinnedModel& model)
{
    std::vector<glm::mat4> world;
    for (const Joint& j : model.joints)
        world.push_back(j.parent < 0 ? j.rest : world[static_cast<std::size_t>(j.parent)] * j.rest);
    return world;
}

std::string Controller(const SkinnedModel& model)
{
    const std::string id = model.name + "-skin";
    std::vector<std::string> names;
    std::vector<float> inverseBinds;
    for (const glm::mat4& world : WorldRest(model)) {
        const glm::mat4 inverse = glm::inverse(world);
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                inverseBinds.push_back(inverse[column][row]);
    }
    for (const Joint& j : model.joints)
        names.push_back(j.name);
    std::vector<float> weights;
    std::string counts, pairs;
    for (const auto& influences : model.weights) {
        counts += (counts.empty() ? "" : " ") + std::to_string(influences.size());
        for (const auto& [joint, weight] : influences) {
            pairs += (pairs.empty() ? "" : " ") + std::to_string(joint) + " " + std::to_string(weights.size());
            weights.push_back(weight);
        }
    }
    return "<library_controllers><controller id=\"" + id + "\" name=\"" + model.name + "Skin\"><skin source=\"#" + model.name + "-mesh\">\n"
        + "<bind_shape_matrix>" + Row(glm::mat4(1.0f)) + "</bind_shape_matrix>\n"
        + NameSource(id + "-joints", names, "JOINT")
        + FloatSource(id + "-binds", inverseBinds, 16, { "TRANSFORM" }, "float4x4")
        + FloatSource(id + "-weights", weights, 1, { "WEIGHT" })
        + "<joints><input semantic=\"JOINT\" source=\"#" + id + "-joints\"/><input semantic=\"INV_BIND_MATRIX\" source=\"#" + id + "-binds\"/></joints>\n"
        + "<vertex_weights count=\"" + std::to_string(model.weights.size()) + "\">"
        + "<input semantic=\"JOINT\" source=\"#" + id + "-joints\" offset=\"0\"/><input semantic=\"WEIGHT\" source=\"#" + id + "-weights\" offset=\"1\"/>"
        + "<vcount>" + counts + "</vcount><v>" + pairs + "</v></vertex_weights>\n"
        + "</skin></controller></library_controllers>\n";
}

std::string Animation(const SkinnedModel& model)
{
    std::string out = "<library_animations><animation id=\"" + model.animationName + "\" name=\"" + model.animationName + "\">\n";
    for (const Joint& j : model.joints) {
        const std::string id = model.animationName + "-" + j.name;
        std::vector<float> matrices;
        for (const glm::mat4& key : j.keys)
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column)
                    matrices.push_back(key[column][row]);
        out += FloatSource(id + "-input", model.keyTimes, 1, { "TIME" });
        out += FloatSource(id + "-output", matrices, 16, { "TRANSFORM" }, "float4x4");
        out += NameSource(id + "-interpolation", std::vector<std::string>(model.keyTimes.size(), "LINEAR"), "INTERPOLATION");
        out += "<sampler id=\"" + id + "-sampler\"><input semantic=\"INPUT\" source=\"#" + id + "-input\"/>"
            + "<input semantic=\"OUTPUT\" source=\"#" + id + "-output\"/><input semantic=\"INTERPOLATION\" source=\"#" + id + "-interpolation\"/></sampler>\n";
    }
    for (const Joint& j : model.joints)
        out += "<channel source=\"#" + model.animationName + "-" + j.name + "-sampler\" target=\"" + j.name + "/transform\"/>\n";
    return out + "</animation></library_animations>\n";
}

std::string JointNode(const SkinnedModel& model, int index)
{
    const Joint& j = model.joints[static_cast<std::size_t>(index)];
    std::string out = "<node id=\"" + j.name + "\" name=\"" + j.name + "\" sid=\"" + j.name + "\" type=\"JOINT\"><matrix sid=\"transform\">" + Row(j.rest) + "</matrix>\n";
    for (std::size_t child = 0; child < model.joints.size(); ++child)
        if (model.joints[child].parent == index)
            out += JointNode(model, static_cast<int>(child));
    return out + "</node>\n";
}

std::string VisualScene(const SkinnedModel& model)
{
    std::string out = "<library_visual_scenes><visual_scene id=\"Scene\" name=\"Scene\">\n";
    out += "<node id=\"Armature\" name=\"Armature\" type=\"NODE\"><matrix sid=\"transform\">" + Row(glm::mat4(1.0f)) + "</matrix>\n";
    for (std::size_t i = 0; i < model.joints.size(); ++i)
        if (model.joints[i].parent < 0)
            out += JointNode(model, static_cast<int>(i));
    out += "</node>\n";
    out += "<node id=\"" + model.name + "\" name=\"" + model.name + "\" type=\"NODE\"><matrix sid=\"transform\">" + Row(glm::mat4(1.0f))
        + "</matrix><instance_controller url=\"#" + model.name + "-skin\"><skeleton>#" + model.joints.front().name
        + "</skeleton></instance_controller></node>\n";
    return out + "</visual_scene></library_visual_scenes>\n";
}

} // namespace

std::string WriteCollada(const SkinnedModel& model)
{
    return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n")
        + "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
        + "<asset><contributor><authoring_tool>Solvane art generator</authoring_tool></contributor>"
        + "<created>2024-01-01T00:00:00</created><modified>2024-01-01T00:00:00</modified>"
        + "<unit name=\"meter\" meter=\"1\"/><up_axis>Y_UP</up_axis></asset>\n"
        + Geometry(model) + Controller(model) + Animation(model) + VisualScene(model)
        + "<scene><instance_visual_scene url=\"#Scene\"/></scene>\n</COLLADA>\n";
}

} // namespace Art
