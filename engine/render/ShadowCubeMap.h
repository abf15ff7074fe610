#pragma once
#include <GL/glew.h>

namespace Engine {

// A depth cube map with the layered depth-only framebuffer that renders
// into all six faces at once.
class ShadowCubeMap {
public:
    explicit ShadowCubeMap(unsigned size);
    ~ShadowCubeMap();
    ShadowCubeMap(const ShadowCubeMap&) = delete;
    ShadowCubeMap& operator=(const ShadowCubeMap&) = delete;

    // Binds the cube texture on the active unit.
    void Bind() const;

    GLuint Texture() const { return mCubeTexture; }
    GLuint FramebufferId() const { return mFramebuffer; }
    unsigned Size() const { return mSize; }

private:
    GLuint mCubeTexture = 0;
    unsigned mSize = 0;
    GLuint mFramebuffer = 0;
};

} // namespace Engine
