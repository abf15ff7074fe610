#include "GlTestWindow.h"
#include "support/FreshProcess.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Engine::FramebufferSlot;

TEST(WindowPlacement, CentresOnTheDisplayAndOverhangsWhenLarger)
{
    EXPECT_EQ(Engine::CentredPosition(1920, 1080, 1280, 720), std::make_pair(320, 180));
    EXPECT_EQ(Engine::CentredPosition(1024, 768, 1280, 720), std::make_pair(-128, 24));
    EXPECT_EQ(Engine::CentredPosition(1281, 721, 1280, 720), std::make_pair(0, 0));
}

TEST(WindowPlacement, AStoredSizeThatDoesNotFitFallsBackOnTheLargestOfferedSizeThatDoes)
{
    const std::vector<std::pair<int, int>> offered{{1600, 900}, {1280, 720}, {3840, 2160}, {1920, 1080}};
    const std::pair<int, int> desktop{1920, 1040};
    EXPECT_EQ(Engine::FittingSize({7680, 4320}, desktop, offered), std::make_pair(1600, 900));
    EXPECT_EQ(Engine::FittingSize({1920, 1080}, desktop, offered), std::make_pair(1600, 900)) << "taller than it";
    EXPECT_EQ(Engine::FittingSize({1366, 768}, desktop, offered), std::make_pair(1366, 768)) << "fits, unlisted";
    EXPECT_EQ(Engine::FittingSize({7680, 4320}, {1024, 600}, offered), std::make_pair(1280, 720)) << "none fits";
    EXPECT_EQ(Engine::FittingSize({7680, 4320}, desktop, {}), std::make_pair(7680, 4320)) << "nothing offered";
}

struct WindowFixture : ::testing::Test {
    void SetUp() override
    {
        OpenTestWindow();
        window = Engine::Window::Main();
        ASSERT_NE(window, nullptr);
    }

    // Resizes and waits until SDL reports the new size (the X server answers
    // asynchronously).
    void ResizeTo(int w, int h)
    {
        SDL_SetWindowSize(window->sdlWindow, w, h);
        for (int i = 0; i < 200 && window->GetSize() != std::make_pair(w, h); ++i) {
            SDL_PumpEvents();
            SDL_Delay(5);
        }
        ASSERT_EQ(window->GetSize(), std::make_pair(w, h));
    }

    std::vector<GLuint> FramebufferNames() const
    {
        std::vector<GLuint> names;
        for (std::size_t i = 0; i < static_cast<std::size_t>(FramebufferSlot::Count); ++i) {
            const Engine::Framebuffer* fb = renderer.GetFramebuffer(static_cast<FramebufferSlot>(i));
            names.push_back(fb ? fb->Id() : 0);
        }
        return names;
    }

    Engine::Window* window = nullptr;
    Engine::Renderer& renderer = Engine::Renderer::GetInstance();
};

TEST_F(WindowFixture, StartsAsTheGameWindow)
{
    EXPECT_STREQ(SDL_GetWindowTitle(window->sdlWindow), "Solvane 2");
    EXPECT_EQ(window->GetSize(), std::make_pair(1280, 720));
    int major = 0;
    int minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    EXPECT_GE(major * 10 + minor, 33);
    EXPECT_TRUE(DrainGlErrors().empty()) << "start-up leaves a GL error behind";
}

// A context made through EGL (a Wayland session; SDL may pick it on X11 too)
// has no GLX display, which GLEW reports after loading every GL entry point:
// start-up must go on and draw. In a process of its own: the hint counts
// only for the process's first window, and the green it clears with would
// stay in the one context for the tests after it.
TEST(WindowOnEgl, StartsAndDraws)
{
    ExpectInFreshProcess([]() -> std::string {
        SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
        OpenTestWindow();
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        if (PixelAt(10, 10) != std::array<int, 3>{0, 255, 0})
            return "the window is not green";
        return DrainGlErrors().empty() ? "" : "GL errors";
    });
}

TEST_F(WindowFixture, AResizeRebuildsTheSetOnceAndFreesTheOldNames)
{
    renderer.CreateFramebuffers();
    EXPECT_TRUE(Engine::Window::CheckResize());
    std::vector<GLuint> before = FramebufferNames();
    GLuint oldSceneTexture = renderer.GetFramebuffer(FramebufferSlot::Scene)->TextureId(0);

    ResizeTo(1281, 721);
    EXPECT_TRUE(Engine::Window::CheckResize());
    std::vector<GLuint> after = FramebufferNames();
    EXPECT_EQ(std::make_pair(window->width, window->height), std::make_pair(1281, 721));
    for (GLuint name : before)
        EXPECT_FALSE(glIsFramebuffer(name) && std::find(after.begin(), after.end(), name) == after.end())
            << "framebuffer " << name << " leaked";
    const Engine::Framebuffer* scene = renderer.GetFramebuffer(FramebufferSlot::Scene);
    EXPECT_TRUE(scene->TextureId(0) == oldSceneTexture || !glIsTexture(oldSceneTexture));
    ASSERT_EQ(scene->Count(), 3u);
    EXPECT_EQ(scene->Size(2).width, 1281u);
    EXPECT_EQ(scene->Size(2).height, 721u);
    EXPECT_EQ(renderer.GetFramebuffer(FramebufferSlot::Blur1)->Size(0).width, 1281u);
    for (FramebufferSlot s : {FramebufferSlot::Blur2, FramebufferSlot::Blur3, FramebufferSlot::Blur4, FramebufferSlot::Blur5})
        EXPECT_EQ(glm::uvec2(renderer.GetFramebuffer(s)->Size(0).width, renderer.GetFramebuffer(s)->Size(0).height),
                  glm::uvec2(640, 360));

    // An unchanged size rebuilds nothing.
    EXPECT_TRUE(Engine::Window::CheckResize());
    EXPECT_EQ(FramebufferNames(), after);
    EXPECT_TRUE(DrainGlErrors().empty());

    // A window asked to close ends the loop once the check has run.
    window->closing = true;
    EXPECT_FALSE(Engine::Window::CheckResize());
}

TEST_F(WindowFixture, ATinyWindowStillGetsCompleteTargets)
{
    ResizeTo(1, 1);
    EXPECT_TRUE(Engine::Window::CheckResize());
    EXPECT_EQ(renderer.GetFramebuffer(FramebufferSlot::Scene)->Size(0).width, 2u);
    EXPECT_EQ(renderer.GetFramebuffer(FramebufferSlot::Blur5)->Size(0).height, 1u);
}

// A configured size past what GL can hold in a texture or renderbuffer keeps
// the window; only the targets stop at the largest size GL takes.
TEST_F(WindowFixture, AWindowWiderThanGlCanTargetKeepsItsSizeAndGetsTheLargestTargets)
{
    GLint largestTexture = 0;
    GLint largestRenderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largestTexture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largestRenderbuffer);
    const unsigned largest = static_cast<unsigned>(std::min(largestTexture, largestRenderbuffer));
    ResizeTo(static_cast<int>(largest) + 600, 90);
    EXPECT_TRUE(Engine::Window::CheckResize());
    EXPECT_EQ(window->width, static_cast<int>(largest) + 600);
    const Engine::Framebuffer& scene = *renderer.GetFramebuffer(FramebufferSlot::Scene);
    EXPECT_EQ(scene.Size(0).width, largest);
    EXPECT_EQ(scene.Size(0).height, 90u);
    EXPECT_EQ(renderer.GetFramebuffer(FramebufferSlot::Blur5)->Size(0).width, largest / 2);
    EXPECT_TRUE(DrainGlErrors().empty());
}

// Red's type and size in bits of each attachment of a slot.
std::vector<std::pair<GLint, GLint>> RedChannels(const Engine::Framebuffer& framebuffer)
{
    std::vector<std::pair<GLint, GLint>> channels;
    for (unsigned i = 0; i < framebuffer.Count(); ++i) {
        GLint type = 0;
        GLint bits = 0;
        glBindTexture(GL_TEXTURE_2D, framebuffer.TextureId(i));
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_TYPE, &type);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &bits);
        channels.emplace_back(type, bits);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return channels;
}

// Every target holds half floats on a graphics card; where GL rasterises on
// the processor, the last pass's picture and the blur's last step hold the
// window's eight bits.
TEST_F(WindowFixture, TheSetHoldsHalfFloatsButForTwoEightBitTargetsInSoftware)
{
    const std::pair<GLint, GLint> halfFloat{GL_FLOAT, 16};
    const std::pair<GLint, GLint> eightBits{GL_UNSIGNED_NORMALIZED, 8};
    renderer.CreateFramebuffers();
    for (bool software : {false, true}) {
        SCOPED_TRACE(software);
        const RasteriserPath path(software);
        for (std::size_t i = 0; i < static_cast<std::size_t>(FramebufferSlot::Count); ++i) {
            const auto slot = static_cast<FramebufferSlot>(i);
            const bool shown = slot == FramebufferSlot::PostProcessing || slot == FramebufferSlot::Blur5;
            const auto& expected = software && shown ? eightBits : halfFloat;
            const Engine::Framebuffer& target = *renderer.GetFramebuffer(slot);
            EXPECT_EQ(RedChannels(target), std::vector(target.Count(), expected)) << "slot " << i;
        }
    }
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(WindowFixture, SetResolutionLeavesTheTargetsToTheSizeCheckAndFullscreenRebuildsThem)
{
    renderer.CreateFramebuffers();
    const GLuint before = renderer.GetFramebuffer(FramebufferSlot::Scene)->Id();
    window->SetResolution({800, 600});
    EXPECT_EQ(std::make_pair(window->width, window->height), std::make_pair(800, 600));
    EXPECT_EQ(renderer.GetFramebuffer(FramebufferSlot::Scene)->Id(), before);

    window->SetFullscreen(true);
    EXPECT_TRUE(window->IsFullscreen());
    SDL_DisplayMode mode{};
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &mode), 0);
    const Engine::Framebuffer* scene = renderer.GetFramebuffer(FramebufferSlot::Scene);
    EXPECT_EQ(scene->Size(0).width, static_cast<unsigned>(mode.w));
    EXPECT_EQ(scene->Size(0).height, static_cast<unsigned>(mode.h));
    EXPECT_TRUE(scene->Id() == before || !glIsFramebuffer(before));
    window->ToggleFullscreen();
    EXPECT_FALSE(window->IsFullscreen());
    EXPECT_FLOAT_EQ(window->aspect, 16.0f / 9.0f);
}

struct FramebufferFixture : WindowFixture {};

GLint AttachmentObjectType(GLenum attachment)
{
    GLint type = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    return type;
}

TEST_F(FramebufferFixture, DepthOnlyTargetsAreCompleteAndDrawAndReadNothingInColour)
{
    Engine::Framebuffer shadow({{400, 400, Engine::AttachmentType::Depth, false}});
    shadow.Bind();
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    GLint drawBuffer = -1;
    GLint readBuffer = -1;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    EXPECT_EQ(drawBuffer, GL_NONE);
    EXPECT_EQ(readBuffer, GL_NONE);
    EXPECT_EQ(AttachmentObjectType(GL_DEPTH_ATTACHMENT), GL_TEXTURE);

    Engine::ShadowCubeMap cube(512);
    glBindFramebuffer(GL_FRAMEBUFFER, cube.FramebufferId());
    GLint layered = GL_FALSE;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_LAYERED, &layered);
    EXPECT_EQ(layered, GL_TRUE);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_TRUE(DrainGlErrors().empty());
}

TEST_F(FramebufferFixture, OnlyTheFirstDescriptionAsksForARenderbuffer)
{
    using Engine::AttachmentType;
    Engine::Framebuffer fb({{64, 32, AttachmentType::Rgba16F, false}, {64, 32, AttachmentType::Rgba16F, true},
                            {64, 32, AttachmentType::Rgba16F, true}});
    fb.Bind();
    EXPECT_EQ(AttachmentObjectType(GL_DEPTH_ATTACHMENT), GL_NONE);
    fb.Unbind();

    Engine::Framebuffer withDepth({{64, 32, AttachmentType::Rgb8, true}});
    withDepth.Bind();
    EXPECT_EQ(AttachmentObjectType(GL_DEPTH_ATTACHMENT), GL_RENDERBUFFER);
    EXPECT_EQ(AttachmentObjectType(GL_STENCIL_ATTACHMENT), GL_RENDERBUFFER);
    // Unbind works whichever framebuffer is bound.
    fb.Unbind();
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}

// In a process started anew: a forked child would share this one's
// connection to the X server, and what it sends there as it ends breaks
// the connection for the tests after it.
TEST(FramebufferDeath, AnEmptyListIsRefused)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            OpenTestWindow();
            Engine::Framebuffer fb(std::vector<Engine::FramebufferAttachment>{});
        },
        "Framebuffer is not complete.");
}

} // namespace
