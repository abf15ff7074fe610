#include <cmath>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

namespace {

// The renderer's import: tangent space, triangulation and flipped texture
// coordinates, nothing else.
constexpr unsigned kRendererFlags = aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_FlipUVs;
static_assert(kRendererFlags == 0x800009);

// Closed round shapes face outwards from their centre as well.
const std::pair<const char*, bool> kModels[] = {
    {"data/Model/Default Shapes/Quad.obj", false}, {"data/Model/Default Shapes/Cube.obj", true},
    {"data/Model/Default Shapes/Sphere.obj", true}, {"data/Model/Player2.obj", false}, {"data/Model/Ball.obj", true},
    {"data/Model/GoalBall_inside.obj", false}, {"data/Model/GoalBall_shell.obj", true},
    {"data/Model/Ball anim.dae", false},
};

aiVector3D Cross(const aiVector3D& a, const aiVector3D& b)
{
    return { a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x };
}

struct Imported {
    Assimp::Importer importer;
    const aiScene* scene = nullptr;

    explicit Imported(const std::string& path)
    {
        scene = importer.ReadFile(path, kRendererFlags);
    }
};

// What the renderer needs of every mesh: normals and texture coordinates on
// every vertex, everything inside the unit cube, and triangles that turn
// counter-clockwise towards the side their normals face.
void ExpectRenderableMesh(const aiMesh& mesh)
{
    ASSERT_TRUE(mesh.HasNormals());
    ASSERT_TRUE(mesh.HasTextureCoords(0));
    ASSERT_TRUE(mesh.HasTangentsAndBitangents());
    ASSERT_GT(mesh.mNumVertices, 0u);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& p = mesh.mVertices[i];
        EXPECT_LE(std::fabs(p.x), 1.0001f);
        EXPECT_LE(std::fabs(p.y), 1.0001f);
        EXPECT_LE(std::fabs(p.z), 1.0001f);
        EXPECT_NEAR(mesh.mNormals[i].Length(), 1.0f, 1e-3f);
        EXPECT_GE(mesh.mTextureCoords[0][i].y, -1e-4f);
        EXPECT_LE(mesh.mTextureCoords[0][i].y, 1.0001f);
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        ASSERT_EQ(face.mNumIndices, 3u);
        const aiVector3D& a = mesh.mVertices[face.mIndices[0]];
        const aiVector3D& b = mesh.mVertices[face.mIndices[1]];
        const aiVector3D& c = mesh.mVertices[face.mIndices[2]];
        const aiVector3D turn = Cross(b - a, c - a);
        ASSERT_GT(turn.Length(), 0.0f) << "degenerate triangle " << f;
        const aiVector3D normals = mesh.mNormals[face.mIndices[0]] + mesh.mNormals[face.mIndices[1]] + mesh.mNormals[face.mIndices[2]];
        ASSERT_GT(turn * normals, 0.0f) << "triangle " << f << " faces away from its normals";
    }
}

// A closed round shape, unit-sized: radius (or half-extent) 1.
void ExpectFacingOutwards(const aiMesh& mesh)
{
    float lowest = 2.0f, highest = 0.0f;
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        EXPECT_GT(mesh.mNormals[i] * mesh.mVertices[i], 0.0f);
        lowest = std::min(lowest, mesh.mVertices[i].Length());
        highest = std::max(highest, mesh.mVertices[i].Length());
    }
    EXPECT_GE(lowest, 0.99f);
    EXPECT_LE(highest, 1.75f);
}

TEST(GeneratedModels, EveryModelImportsAsTheRendererImportsIt)
{
    for (const auto& [path, round] : kModels) {
        SCOPED_TRACE(path);
        Imported model(path);
        ASSERT_NE(model.scene, nullptr) << model.importer.GetErrorString();
        EXPECT_EQ(model.scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE, 0u);
        ASSERT_NE(model.scene->mRootNode, nullptr);
        ASSERT_GE(model.scene->mNumMeshes, 1u);
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m)
            ExpectRenderableMesh(*model.scene->mMeshes[m]);
        if (round)
            ExpectFacingOutwards(*model.scene->mMeshes[0]);
    }
}

TEST(GeneratedModels, QuadCoversTheViewportAndShowsPicturesUpright)
{
    Imported quad("data/Model/Default Shapes/Quad.obj");
    ASSERT_NE(quad.scene, nullptr);
    const aiMesh& mesh = *quad.scene->mMeshes[0];
    aiVector3D low(10.0f), high(-10.0f);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& p = mesh.mVertices[i];
        low = aiVector3D(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
        high = aiVector3D(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
        EXPECT_FLOAT_EQ(mesh.mNormals[i].z, 1.0f);
        // Pictures are flipped on load, so v = 0 samples their bottom row:
        // after the import's own flip the bottom edge must carry v = 0 and
        // the left edge u = 0.
        const aiVector3D& uv = mesh.mTextureCoords[0][i];
        EXPECT_FLOAT_EQ(uv.x, (p.x + 1.0f) * 0.5f);
        EXPECT_FLOAT_EQ(uv.y, (p.y + 1.0f) * 0.5f);
    }
    EXPECT_EQ(low, aiVector3D(-1.0f, -1.0f, 0.0f));
    EXPECT_EQ(high, aiVector3D(1.0f, 1.0f, 0.0f));
}

TEST(GeneratedModels, AnimatedSampleHasASkinAndOneAnimation)
{
    Imported model("data/Model/Ball anim.dae");
    ASSERT_NE(model.scene, nullptr) << model.importer.GetErrorString();
    ASSERT_EQ(model.scene->mNumAnimations, 1u);
    const aiAnimation& animation = *model.scene->mAnimations[0];
    EXPECT_GT(animation.mDuration, 0.0);
    EXPECT_EQ(animation.mNumChannels, 2u);
    for (unsigned c = 0; c < animation.mNumChannels; ++c)
        EXPECT_GE(animation.mChannels[c]->mNumPositionKeys, 2u);

    const aiMesh& mesh = *model.scene->mMeshes[0];
    ASSERT_EQ(mesh.mNumBones, 2u);
    std::vector<float> total(mesh.mNumVertices, 0.0f);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        EXPECT_NE(model.scene->mRootNode->FindNode(bone.mName), nullptr) << bone.mName.C_Str();
        for (unsigned w = 0; w < bone.mNumWeights; ++w)
            total[bone.mWeights[w].mVertexId] += bone.mWeights[w].mWeight;
    }
    for (float sum : total)
        EXPECT_NEAR(sum, 1.0f, 1e-4f);
}

} // namespace
