#pragma once
#include "engine/render/Drawable.h"
#include "engine/render/Vertex.h"

#include <GL/glew.h>
#include <cstdint>
#include <vector>

namespace Engine {

class MeshBase : public Drawable {
public:
    virtual void Setup() = 0;
};

// An indexed triangle list on the GPU with its CPU copy. Owns its GL names;
// moving hands them over unchanged.
template <typename V>
class BasicMesh : public MeshBase {
public:
    using VertexType = V;

    BasicMesh() = default;
    BasicMesh(std::vector<V> vertices, std::vector<std::uint32_t> indices)
        : mVertices(std::move(vertices)), mIndices(std::move(indices))
    {
        Setup();
    }
    ~BasicMesh() override { Release(); }
    BasicMesh(const BasicMesh&) = delete;
    BasicMesh& operator=(const BasicMesh&) = delete;
    BasicMesh(BasicMesh&& other) noexcept { TakeFrom(other); }
    BasicMesh& operator=(BasicMesh&& other) noexcept
    {
        if (this != &other) {
            Release();
            TakeFrom(other);
        }
        return *this;
    }

    void Draw() const override;
    void Setup() override;

    GLuint VertexArray() const { return mVao; }
    const std::vector<V>& Vertices() const { return mVertices; }
    const std::vector<std::uint32_t>& Indices() const { return mIndices; }

protected:
    std::vector<V> mVertices;
    std::vector<std::uint32_t> mIndices;

private:
    void Release();
    void TakeFrom(BasicMesh& other);

    GLuint mVao = 0;
    GLuint mVbo = 0;
    GLuint mEbo = 0;
};

class Mesh : public BasicMesh<Vertex> {
public:
    using BasicMesh::BasicMesh;
};

class MeshAnim : public BasicMesh<VertexAnim> {
public:
    using BasicMesh::BasicMesh;
};

} // namespace Engine
