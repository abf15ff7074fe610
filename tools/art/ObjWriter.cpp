#include "tools/art/ObjWriter.h"

#include <cstdio>

namespace Art {
namespace {

std::string Numbers(const char* tag, std::initializer_list<float> values)
{
    std::string line = tag;
    char buffer[32];
    for (float v : values) {
        std::snprintf(buffer, sizeof buffer, " %.6f", v);
        line += buffer;
    }
    return line + "\n";
}

} // namespace

std::string WriteObj(const Mesh& mesh, const std::string& name)
{
    std::string out = "# " + name + ", made by the Solvane art generator\n";
    out += "o " + name + "\n";
    for (const MeshVertex& v : mesh.vertices)
        out += Numbers("v", { v.position.x, v.position.y, v.position.z });
    for (const MeshVertex& v : mesh.vertices)
        out += Numbers("vt", { v.uv.x, 1.0f - v.uv.y });
    for (const MeshVertex& v : mesh.vertices)
        out += Numbers("vn", { v.normal.x, v.normal.y, v.normal.z });
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        out += "f";
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string n = std::to_string(mesh.indices[i + k] + 1);
            out += " " + n + "/" + n + "/" + n;
        }
        out += "\n";
    }
    return out;
}

} // namespace Art
