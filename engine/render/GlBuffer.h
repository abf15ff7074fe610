#pragma once
#include <GL/glew.h>
#include <cstddef>

namespace Engine {

// One GL buffer name and the size of its storage. Owns the name: it cannot
// be copied, moving hands it over, and destruction deletes it.
class GlBuffer {
public:
    GlBuffer() = default;
    ~GlBuffer() { Release(); }
    GlBuffer(const GlBuffer&) = delete;
    GlBuffer& operator=(const GlBuffer&) = delete;
    GlBuffer(GlBuffer&& other) noexcept : mName(other.mName), mBytes(other.mBytes) { other.mName = 0; other.mBytes = 0; }
    GlBuffer& operator=(GlBuffer&& other) noexcept;

    // A new name with storage of `bytes` filled from data (dynamic draw);
    // the previous name, if any, is deleted first.
    void Create(std::size_t bytes, const void* data);
    // New storage of `bytes` under the same name, so vertex arrays that point
    // at it stay valid.
    void Resize(std::size_t bytes, const void* data);
    // Overwrites the first `bytes`; the caller keeps within Bytes().
    void Write(std::size_t bytes, const void* data) const;
    void Bind() const;
    void Release();

    bool Exists() const { return mName != 0; }
    GLuint Name() const { return mName; }
    std::size_t Bytes() const { return mBytes; }

private:
    GLuint mName = 0;
    std::size_t mBytes = 0;
};

} // namespace Engine
