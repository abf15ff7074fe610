#include "engine/render/InstanceStreams.h"

#include "engine/render/Model.h"

namespace Engine {

namespace {

void PointStreams(std::span<const InstanceStream> streams)
{
    for (const InstanceStream& stream : streams) {
        stream.buffer->Bind();
        for (const InstanceAttribute& attribute : stream.attributes) {
            glEnableVertexAttribArray(attribute.location);
            const auto stride = static_cast<GLsizei>(stream.stride);
            const auto* offset = reinterpret_cast<const void*>(attribute.offset);
            if (attribute.integer)
                glVertexAttribIPointer(attribute.location, attribute.components, GL_UNSIGNED_INT, stride, offset);
            else
                glVertexAttribPointer(attribute.location, attribute.components, GL_FLOAT, GL_FALSE, stride, offset);
            glVertexAttribDivisor(attribute.location, 1);
        }
    }
}

void DisableStreams(std::span<const InstanceStream> streams)
{
    for (const InstanceStream& stream : streams)
        for (const InstanceAttribute& attribute : stream.attributes)
            glDisableVertexAttribArray(attribute.location);
}

} // namespace

void DrawInstanced(const Model& model, std::span<const InstanceStream> streams, GLsizei instances)
{
    for (const Mesh& mesh : model.meshes) {
        glBindVertexArray(mesh.VertexArray());
        PointStreams(streams);
        glDrawElementsInstanced(GL_TRIANGLES, static_cast<GLsizei>(mesh.Indices().size()), GL_UNSIGNED_INT, nullptr,
                                instances);
        DisableStreams(streams);
        glBindVertexArray(0);
    }
}

} // namespace Engine
