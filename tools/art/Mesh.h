#pragma once
#include <cstdint>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace Art {

// Texture v is 0 at the bottom of a picture, as the renderer samples it.
struct MeshVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 uv;
};

// An indexed triangle list; every triangle turns counter-clockwise when
// seen from the side its normals face.
struct Mesh {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;

    // Adds a part moved by `transform`; normals follow, and a mirroring
    // transform has its triangles turned round so they still face out.
    void Append(const Mesh& part, const glm::mat4& transform = glm::mat4(1.0f));
};

// A point of a profile turned around the y axis: radius, height, and the
// outward normal in the (radius, height) plane.
struct ProfilePoint {
    float radius;
    float height;
    glm::vec2 normal;
};

// The square -1..1 in x and y at z = 0, facing +z.
Mesh MakeQuad();
// The cube -1..1 on every axis, flat faces.
Mesh MakeCube();
// Turns the profile (bottom to top) around y; u runs once round, v up the profile.
Mesh MakeLathe(const std::vector<ProfilePoint>& profile, int segments);
// Profile normals from the curve itself, for smooth outlines.
std::vector<ProfilePoint> SmoothProfile(const std::vector<glm::vec2>& radiusHeight);
// Radius 1, rings from pole to pole.
Mesh MakeUvSphere(int rings, int segments);
// Radius 1: an icosahedron split `subdivisions` times, smooth or faceted.
Mesh MakeGeosphere(int subdivisions, bool smooth);
// A ring round the y axis.
Mesh MakeTorus(float ringRadius, float tubeRadius, int segments, int sides);
// A capsule along y from -halfLength to +halfLength (caps included).
Mesh MakeCapsule(float radius, float halfLength, int segments);

} // namespace Art
