#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "tools/art/Mesh.h"

namespace {

// Every triangle must turn counter-clockwise towards the side its vertex
// normals face, and none may be a sliver of zero area.
void ExpectFacesAgreeWithNormals(const Art::Mesh& mesh)
{
    ASSERT_EQ(mesh.indices.size() % 3, 0u);
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3) {
        const Art::MeshVertex& a = mesh.vertices[mesh.indices[i]];
        const Art::MeshVertex& b = mesh.vertices[mesh.indices[i + 1]];
        const Art::MeshVertex& c = mesh.vertices[mesh.indices[i + 2]];
        const glm::vec3 turn = glm::cross(b.position - a.position, c.position - a.position);
        ASSERT_GT(glm::length(turn), 1e-7f) << "triangle " << i / 3;
        ASSERT_GT(glm::dot(turn, a.normal + b.normal + c.normal), 0.0f) << "triangle " << i / 3;
    }
}

TEST(ArtMesh, MirroredPartsStillFaceOut)
{
    Art::Mesh mesh;
    mesh.Append(Art::MakeCube(), glm::scale(glm::mat4(1.0f), glm::vec3(-1.0f, 0.5f, 1.0f)));
    ExpectFacesAgreeWithNormals(mesh);
    for (const Art::MeshVertex& v : mesh.vertices) {
        EXPECT_NEAR(glm::length(v.normal), 1.0f, 1e-5f);
        EXPECT_GT(glm::dot(v.normal, v.position), 0.0f);
    }
}

TEST(ArtMesh, GeosphereTexturesDoNotSmearAcrossTheSeam)
{
    // A triangle that straddles u = 0 / 1 must wrap instead of stretching
    // the whole picture backwards across itself.
    const Art::Mesh ball = Art::MakeGeosphere(3, true);
    for (std::size_t i = 0; i < ball.indices.size(); i += 3) {
        float low = 10.0f, high = -10.0f;
        for (std::size_t k = 0; k < 3; ++k) {
            low = std::min(low, ball.vertices[ball.indices[i + k]].uv.x);
            high = std::max(high, ball.vertices[ball.indices[i + k]].uv.x);
        }
        ASSERT_LT(high - low, 0.25f) << "triangle " << i / 3;
    }
}

} // namespace
