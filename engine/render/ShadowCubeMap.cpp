#include "engine/render/ShadowCubeMap.h"

namespace Engine {

ShadowCubeMap::ShadowCubeMap(unsigned size) : mSize(size)
{
    glGenTextures(1, &mCubeTexture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, mCubeTexture);
    GLsizei edge = static_cast<GLsizei>(size);
    for (GLenum face = 0; face < 6; ++face)
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_DEPTH_COMPONENT, edge, edge, 0, GL_DEPTH_COMPONENT,
                     GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);

    glGenFramebuffers(1, &mFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, mCubeTexture, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

ShadowCubeMap::~ShadowCubeMap()
{
    if (mFramebuffer)
        glDeleteFramebuffers(1, &mFramebuffer);
    if (mCubeTexture)
        glDeleteTextures(1, &mCubeTexture);
}

void ShadowCubeMap::Bind() const
{
    glBindTexture(GL_TEXTURE_CUBE_MAP, mCubeTexture);
}

} // namespace Engine
