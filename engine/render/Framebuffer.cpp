#include "engine/render/Framebuffer.h"

#include "engine/render/Model.h"
#include "engine/render/Renderer.h"
#include "engine/render/ShaderProgram.h"

#include <cstdio>
#include <cstdlib>

namespace Engine {

namespace {

[[noreturn]] void AbortIncomplete()
{
    std::fprintf(stderr, "Framebuffer is not complete.\n");
    std::fflush(stderr);
    std::abort();
}

void AllocateTexture(const FramebufferAttachment& a)
{
    GLsizei w = static_cast<GLsizei>(a.width);
    GLsizei h = static_cast<GLsizei>(a.height);
    switch (a.type) {
    case AttachmentType::Depth: {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, w, h, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
        // Lookups outside a shadow map read the far plane.
        const float white[] = {1.0f, 1.0f, 1.0f, 1.0f};
        glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, white);
        break;
    }
    case AttachmentType::Rgba16F:
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, w, h, 0, GL_RGBA, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        break;
    case AttachmentType::Rgb8:
    default:
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        break;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

} // namespace

Framebuffer::Framebuffer(const std::vector<FramebufferAttachment>& attachments)
{
    Build(attachments);
}

Framebuffer::Framebuffer(AttachmentType type, unsigned width, unsigned height)
{
    Build({FramebufferAttachment{width, height, type, false}});
}

Framebuffer::~Framebuffer()
{
    if (!mTextures.empty())
        glDeleteTextures(static_cast<GLsizei>(mTextures.size()), mTextures.data());
    if (mRenderbuffer)
        glDeleteRenderbuffers(1, &mRenderbuffer);
    if (mFramebuffer)
        glDeleteFramebuffers(1, &mFramebuffer);
}

void Framebuffer::Build(const std::vector<FramebufferAttachment>& attachments)
{
    if (attachments.empty())
        AbortIncomplete();
    const std::size_t count = attachments.size();
    glGenFramebuffers(1, &mFramebuffer);
    mTextures.assign(count, 0);
    mSizes.resize(count);
    glGenTextures(static_cast<GLsizei>(count), mTextures.data());
    glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);

    std::vector<GLenum> drawBuffers;
    for (std::size_t i = 0; i < count; ++i) {
        const FramebufferAttachment& a = attachments[i];
        mSizes[i] = {a.width, a.height};
        glBindTexture(GL_TEXTURE_2D, mTextures[i]);
        AllocateTexture(a);
        GLenum point = a.type == AttachmentType::Depth ? GL_DEPTH_ATTACHMENT : GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(i);
        glFramebufferTexture2D(GL_FRAMEBUFFER, point, GL_TEXTURE_2D, mTextures[i], 0);
        drawBuffers.push_back(GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(i));
    }

    if (attachments.front().depthRenderbuffer) {
        glGenRenderbuffers(1, &mRenderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, mRenderbuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(attachments.front().width),
                              static_cast<GLsizei>(attachments.front().height));
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, mRenderbuffer);
    }

    if (count == 1 && attachments.front().type == AttachmentType::Depth) {
        // Nothing to draw or read in colour: without GL_NONE on both the
        // depth-only target is incomplete on stricter drivers.
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    } else {
        glDrawBuffers(static_cast<GLsizei>(drawBuffers.size()), drawBuffers.data());
    }

    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        AbortIncomplete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void Framebuffer::Bind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
}

void Framebuffer::Unbind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void Framebuffer::BindTexture(unsigned index) const
{
    if (index < mTextures.size())
        glBindTexture(GL_TEXTURE_2D, mTextures[index]);
}

void Framebuffer::DrawToScreen(const ShaderProgram& program, unsigned firstUnit) const
{
    for (unsigned i = 0; i < mTextures.size(); ++i) {
        unsigned unit = firstUnit + i;
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, mTextures[i]);
        program.SetUniform(static_cast<GLint>(unit), static_cast<int>(unit));
    }
    if (const Model* quad = Renderer::GetInstance().models.Find("Quad"))
        quad->Draw();
}

} // namespace Engine
