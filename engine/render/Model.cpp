#include "engine/render/Model.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cstdio>
#include <cstdlib>

namespace Engine {

namespace {

constexpr unsigned kImportFlags = aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_FlipUVs;

glm::vec3 ToVec3(const aiVector3D& v)
{
    return {v.x, v.y, v.z};
}

// Copies what the shaders read; data the file lacks (texture coordinates,
// normals, tangents) stays zero rather than uninitialised.
template <typename V>
std::vector<V> ReadVertices(const aiMesh* mesh)
{
    std::vector<V> vertices(mesh->mNumVertices);
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        V& v = vertices[i];
        v.position = ToVec3(mesh->mVertices[i]);
        if (mesh->mTextureCoords[0])
            v.uv = {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y};
        if (mesh->mNormals)
            v.normal = ToVec3(mesh->mNormals[i]);
        if (mesh->mTangents && mesh->mBitangents) {
            v.tangent = ToVec3(mesh->mTangents[i]);
            v.bitangent = ToVec3(mesh->mBitangents[i]);
        }
    }
    return vertices;
}

// Only whole triangles whose corners exist enter the list: a stray point or
// line face would shift every later triangle.
std::vector<std::uint32_t> ReadIndices(const aiMesh* mesh)
{
    std::vector<std::uint32_t> indices;
    indices.reserve(static_cast<std::size_t>(mesh->mNumFaces) * 3);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != 3)
            continue;
        if (face.mIndices[0] >= mesh->mNumVertices || face.mIndices[1] >= mesh->mNumVertices ||
            face.mIndices[2] >= mesh->mNumVertices)
            continue;
        indices.insert(indices.end(), face.mIndices, face.mIndices + 3);
    }
    return indices;
}

// Returns the imported scene or ends the process: a model that every part of
// the game expects cannot be left out quietly.
const aiScene* ImportOrAbort(Assimp::Importer& importer, const std::string& path)
{
    const aiScene* scene = importer.ReadFile(path, kImportFlags);
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        std::fprintf(stderr, "Model \"%s\" could not be imported: %s\n", path.c_str(), importer.GetErrorString());
        std::fflush(stderr);
        std::abort();
    }
    return scene;
}

} // namespace

template <class M>
void BasicModel<M>::Load(const std::string& path)
{
    Assimp::Importer importer;
    const aiScene* scene = ImportOrAbort(importer, path);
    ProcessNode(scene->mRootNode, scene);
}

template <class M>
void BasicModel<M>::ProcessNode(const aiNode* node, const aiScene* scene)
{
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        unsigned index = node->mMeshes[i];
        if (index < scene->mNumMeshes)
            meshes.push_back(ProcessMesh(scene->mMeshes[index], scene));
    }
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        ProcessNode(node->mChildren[i], scene);
}

template <class M>
M BasicModel<M>::ProcessMesh(const aiMesh* mesh, const aiScene*)
{
    return M(ReadVertices<typename M::VertexType>(mesh), ReadIndices(mesh));
}

template <class M>
void BasicModel<M>::Draw() const
{
    for (const M& mesh : meshes)
        mesh.Draw();
}

template class BasicModel<Mesh>;
template class BasicModel<MeshAnim>;

} // namespace Engine
