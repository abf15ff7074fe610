#include "engine/render/Renderer.h"
#include "engine/render/Window.h"

#include <algorithm>
#include <tuple>

namespace Engine {

namespace {

// A window shrunk to nothing must not ask GL for empty targets, which are
// incomplete and would end the process.
constexpr int kMinTargetSide = 2;

// The largest side GL can give both a colour texture and the depth-stencil
// renderbuffer. A window may be wider (a size from the configuration file,
// a display wall): its targets stop here and the frame is stretched over it.
int LargestTargetSide()
{
    GLint texture = 0;
    GLint renderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    return std::max(std::min(texture, renderbuffer), kMinTargetSide);
}

FramebufferAttachment Colour(int w, int h)
{
    return {static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), AttachmentType::Rgba16F, true};
}

} // namespace

std::pair<int, int> Renderer::FramebufferTargetSize() const
{
    int w = 0;
    int h = 0;
    const Window* window = Window::Main();
    if (window && window->fullscreen) {
        SDL_DisplayMode mode{};
        if (SDL_GetCurrentDisplayMode(0, &mode) == 0) {
            w = mode.w;
            h = mode.h;
        }
    } else if (window) {
        std::tie(w, h) = window->GetSize();
    }
    const int largest = LargestTargetSide();
    return {std::clamp(w, kMinTargetSide, largest), std::clamp(h, kMinTargetSide, largest)};
}

void Renderer::CreateFramebuffers()
{
    auto [w, h] = FramebufferTargetSize();
    int halfW = std::max(w / 2, kMinTargetSide / 2);
    int halfH = std::max(h / 2, kMinTargetSide / 2);

    // The old set goes first so its GL names are free before the new ones.
    for (auto& framebuffer : mFramebuffers)
        framebuffer.reset();

    auto slot = [this](FramebufferSlot s) -> std::unique_ptr<Framebuffer>& {
        return mFramebuffers[static_cast<std::size_t>(s)];
    };
    auto single = [](int width, int height) {
        return std::make_unique<Framebuffer>(std::vector<FramebufferAttachment>{Colour(width, height)});
    };
    // The last pass's picture on its way to the blur, and the blur's last
    // step, hold only what the window shows: colours from 0 to 1. Where GL
    // rasterises on the processor they are kept at the window's own eight
    // bits, which writes and reads half the bytes of a half-float target;
    // a graphics card keeps the half floats of the rest of the set.
    const AttachmentType shownType = softwareRasteriser ? AttachmentType::Rgb8 : AttachmentType::Rgba16F;
    auto shown = [shownType](int width, int height) {
        return std::make_unique<Framebuffer>(std::vector<FramebufferAttachment>{
            {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), shownType, true}});
    };
    slot(FramebufferSlot::Scene) = std::make_unique<Framebuffer>(
        std::vector<FramebufferAttachment>{Colour(w, h), Colour(w, h), Colour(w, h)});
    for (FramebufferSlot s : {FramebufferSlot::Bloom, FramebufferSlot::Blur1})
        slot(s) = single(w, h);
    for (FramebufferSlot s : {FramebufferSlot::Blur2, FramebufferSlot::Blur3, FramebufferSlot::Blur4})
        slot(s) = single(halfW, halfH);
    slot(FramebufferSlot::PostProcessing) = shown(w, h);
    slot(FramebufferSlot::Blur5) = shown(halfW, halfH);
}

Framebuffer* Renderer::GetFramebuffer(FramebufferSlot slot) const
{
    std::size_t index = static_cast<std::size_t>(slot);
    return index < mFramebuffers.size() ? mFramebuffers[index].get() : nullptr;
}

} // namespace Engine
