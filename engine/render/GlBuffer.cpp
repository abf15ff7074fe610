#include "engine/render/GlBuffer.h"

namespace Engine {

GlBuffer& GlBuffer::operator=(GlBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        mName = other.mName;
        mBytes = other.mBytes;
        other.mName = 0;
        other.mBytes = 0;
    }
    return *this;
}

void GlBuffer::Create(std::size_t bytes, const void* data)
{
    Release();
    glGenBuffers(1, &mName);
    Resize(bytes, data);
}

void GlBuffer::Resize(std::size_t bytes, const void* data)
{
    glBindBuffer(GL_ARRAY_BUFFER, mName);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_DYNAMIC_DRAW);
    mBytes = bytes;
}

void GlBuffer::Write(std::size_t bytes, const void* data) const
{
    glBindBuffer(GL_ARRAY_BUFFER, mName);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), data);
}

void GlBuffer::Bind() const
{
    glBindBuffer(GL_ARRAY_BUFFER, mName);
}

void GlBuffer::Release()
{
    if (mName)
        glDeleteBuffers(1, &mName);
    mName = 0;
    mBytes = 0;
}

} // namespace Engine
