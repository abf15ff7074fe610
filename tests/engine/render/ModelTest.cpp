#include "GlTestWindow.h"
#include "support/TempDir.h"

#include <assimp/scene.h>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// A mesh of `count` vertices (so meshes can be told apart by size), with or
// without normals.
aiMesh* MakeMesh(unsigned count, bool withNormals, const std::vector<std::vector<unsigned>>& faces = {{0, 1, 2}})
{
    auto* mesh = new aiMesh();
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mNumVertices = count;
    mesh->mVertices = new aiVector3D[count];
    for (unsigned i = 0; i < count; ++i)
        mesh->mVertices[i] = aiVector3D(static_cast<float>(i), 1.0f, 2.0f);
    if (withNormals) {
        mesh->mNormals = new aiVector3D[count];
        for (unsigned i = 0; i < count; ++i)
            mesh->mNormals[i] = aiVector3D(0.0f, 0.0f, 1.0f);
    }
    mesh->mNumFaces = static_cast<unsigned>(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    for (std::size_t f = 0; f < faces.size(); ++f) {
        mesh->mFaces[f].mNumIndices = static_cast<unsigned>(faces[f].size());
        mesh->mFaces[f].mIndices = new unsigned[faces[f].size()];
        std::copy(faces[f].begin(), faces[f].end(), mesh->mFaces[f].mIndices);
    }
    return mesh;
}

aiNode* MakeNode(std::initializer_list<unsigned> meshes)
{
    auto* node = new aiNode();
    node->mNumMeshes = static_cast<unsigned>(meshes.size());
    node->mMeshes = new unsigned[meshes.size()];
    std::copy(meshes.begin(), meshes.end(), node->mMeshes);
    return node;
}

void AddChildren(aiNode* parent, std::initializer_list<aiNode*> children)
{
    parent->mNumChildren = static_cast<unsigned>(children.size());
    parent->mChildren = new aiNode*[children.size()];
    unsigned i = 0;
    for (aiNode* child : children) {
        child->mParent = parent;
        parent->mChildren[i++] = child;
    }
}

struct ModelFixture : ::testing::Test {
    void SetUp() override { OpenTestWindow(); }
};

TEST_F(ModelFixture, NestedNodesYieldTheirMeshesParentFirstWithMissingDataZeroAndBrokenFacesLeftOut)
{
    aiScene scene;
    scene.mNumMeshes = 4;
    // The first mesh lacks normals and has a face pointing past its vertices
    // and a line.
    scene.mMeshes = new aiMesh*[4]{MakeMesh(3, false, {{2, 1, 0}, {0, 1, 7}, {0, 1}}), MakeMesh(4, true),
                                   MakeMesh(5, true), MakeMesh(6, true)};
    // root(3) -> [a(4) -> [b(5)], c(6)]
    aiNode* a = MakeNode({1});
    AddChildren(a, {MakeNode({2})});
    scene.mRootNode = MakeNode({0});
    AddChildren(scene.mRootNode, {a, MakeNode({3})});

    Engine::Model model;
    model.ProcessNode(scene.mRootNode, &scene);
    ASSERT_EQ(model.meshes.size(), 4u);
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(model.meshes[i].Vertices().size(), 3u + i);
    EXPECT_NE(model.meshes[0].VertexArray(), 0u);
    const Engine::Mesh& m = model.meshes[0];
    EXPECT_EQ(m.Indices(), (std::vector<std::uint32_t>{2, 1, 0}));
    for (const Engine::Vertex& v : m.Vertices()) {
        EXPECT_EQ(v.normal, glm::vec3(0.0f));
        EXPECT_EQ(v.uv, glm::vec2(0.0f));
        EXPECT_EQ(v.tangent, glm::vec3(0.0f));
    }
    EXPECT_EQ(m.Vertices()[1].position, glm::vec3(1.0f, 1.0f, 2.0f));
}

TEST_F(ModelFixture, AnObjFileImportsWithFlippedTextureCoordinates)
{
    ScopedTempDir dir;
    std::ofstream("tri.obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0.25\nvt 1 0\nvt 0 1\nvn 0 0 1\n"
                                "f 1/1/1 2/2/1 3/3/1\n";
    Engine::Model model;
    model.Load("tri.obj");
    ASSERT_EQ(model.meshes.size(), 1u);
    const Engine::Vertex& first = model.meshes[0].Vertices()[0];
    EXPECT_FLOAT_EQ(first.uv.y, 0.75f);
    EXPECT_EQ(first.normal, glm::vec3(0, 0, 1));
    EXPECT_EQ(model.meshes[0].Indices().size(), 3u);

    Engine::ModelAnim anim;
    anim.Load("tri.obj");
    ASSERT_EQ(anim.meshes.size(), 1u);
    EXPECT_EQ(anim.meshes[0].Vertices()[2].position, glm::vec3(0, 1, 0));
    EXPECT_EQ(anim.meshes[0].Vertices()[2].extra0, glm::vec3(0.0f));
}

// In a process started anew: a test before it may have opened a window, and
// a fork of this process would share its connection to the X server and
// take none of the threads the window started, nor the locks they hold.
TEST(ModelDeath, AFileThatCannotBeImportedEndsTheProcessNamingIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Engine::Model model;
    EXPECT_DEATH(model.Load("data/Model/no such model.obj"), "no such model\\.obj");
}

TEST_F(ModelFixture, MovingAMeshKeepsItsGlNames)
{
    std::vector<Engine::Vertex> v(3);
    Engine::Mesh a(v, {0, 1, 2});
    GLuint vao = a.VertexArray();
    Engine::Mesh b(std::move(a));
    EXPECT_EQ(b.VertexArray(), vao);
    EXPECT_EQ(a.VertexArray(), 0u);
    EXPECT_TRUE(glIsVertexArray(vao));
    {
        Engine::Mesh gone(std::move(b));
    }
    EXPECT_FALSE(glIsVertexArray(vao));
}

} // namespace
