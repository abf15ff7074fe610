#pragma once
#include <GL/glew.h>
#include <cstdint>
#include <vector>

namespace Engine {

class ShaderProgram;

enum class AttachmentType : std::uint32_t {
    Rgb8 = 0,
    Depth = 1,
    Rgba16F = 2,
};

struct FramebufferAttachment {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    AttachmentType type = AttachmentType::Rgb8;
    // Read on the first description of a list only: the framebuffer also gets
    // a depth-stencil renderbuffer of that description's size.
    bool depthRenderbuffer = false;
};

struct AttachmentSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// An off-screen render target with an ordered list of texture attachments.
// Owns its GL names and frees them, so rebuilding a set never leaks.
class Framebuffer {
public:
    // Attachment i goes to colour point i (a depth texture to the depth
    // point, still using up a position). An incomplete result, or an empty
    // list, ends the process.
    explicit Framebuffer(const std::vector<FramebufferAttachment>& attachments);
    Framebuffer(AttachmentType type, unsigned width, unsigned height);
    virtual ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    void Bind() const;
    // Binds the default framebuffer, whichever one is bound.
    void Unbind() const;
    // Binds attachment `index` to GL_TEXTURE_2D of the active unit; an index
    // past the last attachment binds nothing.
    void BindTexture(unsigned index) const;
    // Binds attachment i on unit first + i, sets the program's int at
    // location first + i to that unit, and draws the "Quad" model. The caller
    // has made the program current and set the viewport.
    void DrawToScreen(const ShaderProgram& program, unsigned firstUnit) const;

    std::uint32_t Count() const { return static_cast<std::uint32_t>(mTextures.size()); }
    GLuint Id() const { return mFramebuffer; }
    GLuint TextureId(unsigned index) const { return index < mTextures.size() ? mTextures[index] : 0; }
    AttachmentSize Size(unsigned index) const { return index < mSizes.size() ? mSizes[index] : AttachmentSize{}; }

private:
    void Build(const std::vector<FramebufferAttachment>& attachments);

    GLuint mFramebuffer = 0;
    GLuint mRenderbuffer = 0;
    std::vector<GLuint> mTextures;
    std::vector<AttachmentSize> mSizes;
};

} // namespace Engine
