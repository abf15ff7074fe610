#include "engine/ui/UiHost.h"

#include "engine/core/FrameRateController.h"
#include "engine/core/InputManager.h"
#include "engine/render/Window.h"

#include <iterator>

namespace Engine::UI {

namespace {

UiHost gEngineHost;
UiHost* gHost = nullptr;

const InputManager& Input() { return InputManager::GetInstance(); }

SDL_GameController* PadAt(int pad)
{
    const auto& pads = Input().GetPlayerControllers();
    if (pad < 0 || pad >= static_cast<int>(pads.size()))
        return nullptr;
    return std::next(pads.begin(), pad)->second;
}

} // namespace

UiHost& Host() { return gHost ? *gHost : gEngineHost; }

void SetHost(UiHost* host) { gHost = host; }

glm::vec2 UiHost::WindowSize() const
{
    const Window* window = Window::Main();
    if (!window || !window->sdlWindow)
        return glm::vec2(0.0f);
    auto [w, h] = window->GetSize();
    return glm::vec2(static_cast<float>(w), static_cast<float>(h));
}

float UiHost::FrameTime() const { return static_cast<float>(FrameRateController::GetDt()); }

float UiHost::UncappedFrameTime() const { return static_cast<float>(FrameRateController::GetUncappedDt()); }

glm::vec2 UiHost::MouseNow() const { return Input().UpdateMousePosition(); }
glm::vec2 UiHost::MouseBefore() const { return Input().GetMousePosition(); }

bool UiHost::KeyDown(int scancode) const { return Input().IsKeyDown(scancode); }
bool UiHost::KeyTriggered(int scancode) const { return Input().IsKeyTriggered(scancode); }
bool UiHost::KeyReleased(int scancode) const { return Input().IsKeyReleased(scancode); }

bool UiHost::MouseTriggered(int button) const
{
    return button >= 0 && Input().IsMouseTriggered(static_cast<std::uint32_t>(button));
}

bool UiHost::MouseReleased(int button) const
{
    return button >= 0 && Input().IsMouseReleased(static_cast<std::uint32_t>(button));
}

int UiHost::PadCount() const { return static_cast<int>(Input().GetPlayerControllers().size()); }

bool UiHost::PadButtonDown(int pad, std::uint8_t button) const
{
    SDL_GameController* controller = PadAt(pad);
    return controller && Input().IsControllerButtonDown(button, controller);
}

bool UiHost::PadButtonTriggered(int pad, std::uint8_t button) const
{
    SDL_GameController* controller = PadAt(pad);
    return controller && Input().IsControllerButtonTriggered(button, controller);
}

bool UiHost::PadButtonReleased(int pad, std::uint8_t button) const
{
    SDL_GameController* controller = PadAt(pad);
    return controller && Input().IsControllerButtonReleased(button, controller);
}

glm::vec2 UiHost::PadLeftStick(int pad) const
{
    SDL_GameController* controller = PadAt(pad);
    return controller ? glm::vec2(Input().GetControllerLeftStick(controller)) : glm::vec2(0.0f);
}

} // namespace Engine::UI
