#include "GlTestWindow.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stb_image_write.h>

void OpenTestWindowWithResources()
{
    testing::internal::CaptureStdout();
    OpenTestWindow();
    Engine::Renderer::GetInstance().LoadSplashResources();
    Engine::Renderer::GetInstance().LoadResources();
    testing::internal::GetCapturedStdout();
    DrainGlErrors();
}

bool SaveScreenshot(const std::string& name)
{
    auto [w, h] = Engine::Window::Main()->GetSize();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::filesystem::create_directories("screenshots");
    std::string path = "screenshots/" + name + ".png";
    // GL rows start at the bottom, PNG rows at the top.
    // The flag is stb's own, for the whole process: other writers expect it
    // off.
    stbi_flip_vertically_on_write(1);
    const bool written = stbi_write_png(path.c_str(), w, h, 3, pixels.data(), w * 3) != 0;
    stbi_flip_vertically_on_write(0);
    return written;
}

std::vector<GLenum> DrainGlErrors()
{
    std::vector<GLenum> errors;
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
        errors.push_back(e);
    return errors;
}
