#include "tools/art/Mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>
#include <glm/matrix.hpp>

namespace Art {
namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTau = 2.0f * kPi;

std::uint32_t Add(Mesh& mesh, const glm::vec3& p, const glm::vec3& n, const glm::vec2& uv)
{
    mesh.vertices.push_back({ p, n, uv });
    return static_cast<std::uint32_t>(mesh.vertices.size() - 1);
}

// Longitude and latitude of a direction, matching the lathe: u grows from
// +x towards -z, v from the south pole (0) to the north pole (1).
glm::vec2 SphereUv(const glm::vec3& d)
{
    float u = std::atan2(-d.z, d.x) / kTau;
    if (u < 0.0f)
        u += 1.0f;
    const float v = 0.5f + std::asin(std::clamp(d.y, -1.0f, 1.0f)) / kPi;
    return { u, v };
}

} // namespace

void Mesh::Append(const Mesh& part, const glm::mat4& transform)
{
    const glm::mat3 linear(transform);
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(linear));
    const bool mirrored = glm::determinant(linear) < 0.0f;
    const std::uint32_t base = static_cast<std::uint32_t>(vertices.size());
    for (const MeshVertex& v : part.vertices)
        vertices.push_back({ glm::vec3(transform * glm::vec4(v.position, 1.0f)), glm::normalize(normalMatrix * v.normal), v.uv });
    for (std::size_t i = 0; i + 2 < part.indices.size(); i += 3) {
        indices.push_back(base + part.indices[i]);
        indices.push_back(base + part.indices[i + (mirrored ? 2 : 1)]);
        indices.push_back(base + part.indices[i + (mirrored ? 1 : 2)]);
    }
}

Mesh MakeQuad()
{
    Mesh mesh;
    const glm::vec3 n(0, 0, 1);
    Add(mesh, { -1, -1, 0 }, n, { 0, 0 });
    Add(mesh, { 1, -1, 0 }, n, { 1, 0 });
    Add(mesh, { 1, 1, 0 }, n, { 1, 1 });
    Add(mesh, { -1, 1, 0 }, n, { 0, 1 });
    mesh.indices = { 0, 1, 2, 0, 2, 3 };
    return mesh;
}

Mesh MakeCube()
{
    // Each face by its normal and the picture's right and up directions on
    // it (right x up = normal), so it reads upright from outside.
    static const std::array<std::array<glm::vec3, 3>, 6> kFaces = { {
        { { { 1, 0, 0 }, { 0, 0, -1 }, { 0, 1, 0 } } },
        { { { -1, 0, 0 }, { 0, 0, 1 }, { 0, 1, 0 } } },
        { { { 0, 1, 0 }, { 1, 0, 0 }, { 0, 0, -1 } } },
        { { { 0, -1, 0 }, { 1, 0, 0 }, { 0, 0, 1 } } },
        { { { 0, 0, 1 }, { 1, 0, 0 }, { 0, 1, 0 } } },
        { { { 0, 0, -1 }, { -1, 0, 0 }, { 0, 1, 0 } } },
    } };
    Mesh mesh;
    for (const auto& [n, right, up] : kFaces) {
        const std::uint32_t first = Add(mesh, n - right - up, n, { 0, 0 });
        Add(mesh, n + right - up, n, { 1, 0 });
        Add(mesh, n + right + up, n, { 1, 1 });
        Add(mesh, n - right + up, n, { 0, 1 });
        for (std::uint32_t k : { 0u, 1u, 2u, 0u, 2u, 3u })
            mesh.indices.push_back(first + k);
    }
    return mesh;
}

Mesh MakeLathe(const std::vector<ProfilePoint>& profile, int segments)
{
    Mesh mesh;
    if (profile.size() < 2 || segments < 3)
        return mesh;
    // v follows the profile's length, so the texture does not stretch.
    std::vector<float> along(profile.size(), 0.0f);
    for (std::size_t i = 1; i < profile.size(); ++i)
        along[i] = along[i - 1] + std::hypot(profile[i].radius - profile[i - 1].radius, profile[i].height - profile[i - 1].height);
    const float total = along.back() > 0.0f ? along.back() : 1.0f;

    const int columns = segments + 1; // the seam column repeats with u = 1
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const ProfilePoint& p = profile[i];
        for (int j = 0; j < columns; ++j) {
            const float a = kTau * static_cast<float>(j) / static_cast<float>(segments);
            const float c = std::cos(a), s = std::sin(a);
            Add(mesh, { p.radius * c, p.height, -p.radius * s }, glm::normalize(glm::vec3(p.normal.x * c, p.normal.y, -p.normal.x * s)),
                { static_cast<float>(j) / static_cast<float>(segments), along[i] / total });
        }
    }
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        const ProfilePoint& lower = profile[i];
        const ProfilePoint& upper = profile[i + 1];
        if (lower.radius == upper.radius && lower.height == upper.height)
            continue; // a crease: the same point twice with two normals
        for (int j = 0; j < segments; ++j) {
            const std::uint32_t a = static_cast<std::uint32_t>(i * columns + j);
            const std::uint32_t b = a + 1;
            const std::uint32_t c = b + columns;
            const std::uint32_t d = a + columns;
            if (lower.radius > 0.0f)
                mesh.indices.insert(mesh.indices.end(), { a, b, c });
            if (upper.radius > 0.0f)
                mesh.indices.insert(mesh.indices.end(), { a, c, d });
        }
    }
    return mesh;
}

std::vector<ProfilePoint> SmoothProfile(const std::vector<glm::vec2>& points)
{
    std::vector<ProfilePoint> profile;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const glm::vec2 prev = points[i == 0 ? 0 : i - 1];
        const glm::vec2 next = points[std::min(i + 1, points.size() - 1)];
        const glm::vec2 tangent = next - prev;
        glm::vec2 normal(tangent.y, -tangent.x);
        if (points[i].x == 0.0f)
            normal = glm::vec2(0.0f, i == 0 ? -1.0f : 1.0f); // a pole
        profile.push_back({ points[i].x, points[i].y, glm::normalize(normal) });
    }
    return profile;
}

Mesh MakeUvSphere(int rings, int segments)
{
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= rings; ++i) {
        const float phi = -kPi / 2.0f + kPi * static_cast<float>(i) / static_cast<float>(rings);
        const float r = (i == 0 || i == rings) ? 0.0f : std::cos(phi);
        profile.push_back({ r, std::sin(phi), glm::vec2(r, std::sin(phi)) });
    }
    return MakeLathe(profile, segments);
}

Mesh MakeGeosphere(int subdivisions, bool smooth)
{
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    std::vector<glm::vec3> corners = {
        { -1, t, 0 }, { 1, t, 0 }, { -1, -t, 0 }, { 1, -t, 0 }, { 0, -1, t }, { 0, 1, t },
        { 0, -1, -t }, { 0, 1, -t }, { t, 0, -1 }, { t, 0, 1 }, { -t, 0, -1 }, { -t, 0, 1 },
    };
    for (glm::vec3& c : corners)
        c = glm::normalize(c);
    std::vector<std::array<std::uint32_t, 3>> faces = {
        { 0, 11, 5 }, { 0, 5, 1 }, { 0, 1, 7 }, { 0, 7, 10 }, { 0, 10, 11 }, { 1, 5, 9 }, { 5, 11, 4 },
        { 11, 10, 2 }, { 10, 7, 6 }, { 7, 1, 8 }, { 3, 9, 4 }, { 3, 4, 2 }, { 3, 2, 6 }, { 3, 6, 8 },
        { 3, 8, 9 }, { 4, 9, 5 }, { 2, 4, 11 }, { 6, 2, 10 }, { 8, 6, 7 }, { 9, 8, 1 },
    };
    for (int level = 0; level < subdivisions; ++level) {
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> middles;
        auto middle = [&](std::uint32_t a, std::uint32_t b) {
            const auto key = std::minmax(a, b);
            const auto found = middles.find(key);
            if (found != middles.end())
                return found->second;
            corners.push_back(glm::normalize(corners[a] + corners[b]));
            const auto index = static_cast<std::uint32_t>(corners.size() - 1);
            middles.emplace(key, index);
            return index;
        };
        std::vector<std::array<std::uint32_t, 3>> split;
        for (const auto& f : faces) {
            const std::uint32_t ab = middle(f[0], f[1]), bc = middle(f[1], f[2]), ca = middle(f[2], f[0]);
            split.push_back({ f[0], ab, ca });
            split.push_back({ f[1], bc, ab });
            split.push_back({ f[2], ca, bc });
            split.push_back({ ab, bc, ca });
        }
        faces.swap(split);
    }

    // Each triangle keeps its own three vertices, so a triangle that spans
    // the texture's seam can wrap its u past 1 without disturbing others.
    Mesh mesh;
    for (auto f : faces) {
        glm::vec3 p[3] = { corners[f[0]], corners[f[1]], corners[f[2]] };
        const glm::vec3 faceNormal = glm::normalize(glm::cross(p[1] - p[0], p[2] - p[0]));
        if (glm::dot(faceNormal, p[0] + p[1] + p[2]) < 0.0f)
            std::swap(p[1], p[2]);
        glm::vec2 uv[3] = { SphereUv(p[0]), SphereUv(p[1]), SphereUv(p[2]) };
        const float low = std::min({ uv[0].x, uv[1].x, uv[2].x }), high = std::max({ uv[0].x, uv[1].x, uv[2].x });
        if (high - low > 0.5f)
            for (glm::vec2& c : uv)
                if (c.x < 0.5f)
                    c.x += 1.0f;
        // A pole has no longitude of its own: it takes its neighbours'.
        for (int k = 0; k < 3; ++k)
            if (std::fabs(p[k].y) > 0.9999f)
                uv[k].x = (uv[(k + 1) % 3].x + uv[(k + 2) % 3].x) * 0.5f;
        const glm::vec3 flat = glm::normalize(glm::cross(p[1] - p[0], p[2] - p[0]));
        for (int k = 0; k < 3; ++k)
            mesh.indices.push_back(Add(mesh, p[k], smooth ? p[k] : flat, uv[k]));
    }
    return mesh;
}

Mesh MakeTorus(float ringRadius, float tubeRadius, int segments, int sides)
{
    // The tube's cross-section walked counter-clockwise, starting inside.
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= sides; ++i) {
        const float a = -kPi + kTau * static_cast<float>(i) / static_cast<float>(sides);
        const glm::vec2 n(std::cos(a), std::sin(a));
        profile.push_back({ ringRadius + tubeRadius * n.x, tubeRadius * n.y, n });
    }
    return MakeLathe(profile, segments);
}

Mesh MakeCapsule(float radius, float halfLength, int segments)
{
    std::vector<ProfilePoint> profile;
    const int capRings = 6;
    for (int i = 0; i <= capRings; ++i) {
        const float phi = -kPi / 2.0f + (kPi / 2.0f) * static_cast<float>(i) / capRings;
        const float r = i == 0 ? 0.0f : std::cos(phi);
        profile.push_back({ radius * r, -halfLength + radius * std::sin(phi), glm::vec2(r, std::sin(phi)) });
    }
    for (int i = 0; i <= capRings; ++i) {
        const float phi = (kPi / 2.0f) * static_cast<float>(i) / capRings;
        const float r = i == capRings ? 0.0f : std::cos(phi);
        profile.push_back({ radius * r, halfLength + radius * std::sin(phi), glm::vec2(r, std::sin(phi)) });
    }
    return MakeLathe(profile, segments);
}

} // namespace Art
