#include "engine/render/Mesh.h"

#include <cstddef>

namespace Engine {

namespace {

void PointAttribute(GLuint location, int components, std::size_t stride, std::size_t offset)
{
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride),
                          reinterpret_cast<const void*>(offset));
}

void PointAttributes(const Vertex*)
{
    PointAttribute(0, 3, sizeof(Vertex), offsetof(Vertex, position));
    PointAttribute(1, 2, sizeof(Vertex), offsetof(Vertex, uv));
    PointAttribute(2, 3, sizeof(Vertex), offsetof(Vertex, normal));
    PointAttribute(3, 3, sizeof(Vertex), offsetof(Vertex, tangent));
    PointAttribute(4, 3, sizeof(Vertex), offsetof(Vertex, bitangent));
}

void PointAttributes(const VertexAnim*)
{
    PointAttribute(0, 3, sizeof(VertexAnim), offsetof(VertexAnim, position));
    PointAttribute(1, 2, sizeof(VertexAnim), offsetof(VertexAnim, uv));
    PointAttribute(2, 3, sizeof(VertexAnim), offsetof(VertexAnim, normal));
    PointAttribute(3, 3, sizeof(VertexAnim), offsetof(VertexAnim, tangent));
    PointAttribute(4, 3, sizeof(VertexAnim), offsetof(VertexAnim, bitangent));
    PointAttribute(5, 3, sizeof(VertexAnim), offsetof(VertexAnim, extra0));
    PointAttribute(6, 3, sizeof(VertexAnim), offsetof(VertexAnim, extra1));
}

} // namespace

template <typename V>
void BasicMesh<V>::Setup()
{
    Release();
    glGenVertexArrays(1, &mVao);
    glGenBuffers(1, &mVbo);
    glGenBuffers(1, &mEbo);
    glBindVertexArray(mVao);
    glBindBuffer(GL_ARRAY_BUFFER, mVbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mVertices.size() * sizeof(V)), mVertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mEbo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mIndices.size() * sizeof(std::uint32_t)),
                 mIndices.data(), GL_STATIC_DRAW);
    PointAttributes(static_cast<const V*>(nullptr));
    glBindVertexArray(0);
}

template <typename V>
void BasicMesh<V>::Draw() const
{
    glBindVertexArray(mVao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mIndices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

template <typename V>
void BasicMesh<V>::Release()
{
    if (mVao)
        glDeleteVertexArrays(1, &mVao);
    if (mVbo)
        glDeleteBuffers(1, &mVbo);
    if (mEbo)
        glDeleteBuffers(1, &mEbo);
    mVao = mVbo = mEbo = 0;
}

template <typename V>
void BasicMesh<V>::TakeFrom(BasicMesh& other)
{
    mVertices = std::move(other.mVertices);
    mIndices = std::move(other.mIndices);
    mVao = other.mVao;
    mVbo = other.mVbo;
    mEbo = other.mEbo;
    other.mVao = other.mVbo = other.mEbo = 0;
}

template class BasicMesh<Vertex>;
template class BasicMesh<VertexAnim>;

} // namespace Engine
