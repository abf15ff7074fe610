#include "game/menus/AddressField.h"

#include "engine/platform/UdpSocket.h"
#include "engine/ui/Element.h"
#include "engine/ui/LayerStack.h"
#include "engine/ui/TextComps.h"
#include "game/match/GameState.h"

#include <SDL.h>
#include <algorithm>
#include <optional>

namespace LayerCreator {

namespace {

EnterIPComponent* gActiveField = nullptr;

constexpr unsigned kMaxPort = 65535;

bool Kept(char c) { return (c >= '0' && c <= '9') || c == '.' || c == ':'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }

// The port after the colon: one digit or more and nothing else. Any value
// past 65535 reads as 65536, so a long run of digits cannot overflow.
std::optional<unsigned> ReadPort(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (!Digit(c))
            return std::nullopt;
        value = std::min(value * 10 + static_cast<unsigned>(c - '0'), kMaxPort + 1);
    }
    return value;
}

std::string ClipboardText()
{
    char* text = SDL_GetClipboardText();
    if (!text)
        return {};
    std::string copy = text;
    SDL_free(text);
    return copy;
}

} // namespace

std::string FilterAddressText(std::string_view text)
{
    std::string kept;
    for (char c : text) {
        if (Kept(c) && kept.size() < GameState::kMaxJoinAddressLength)
            kept += c;
    }
    return kept;
}

std::string AppendAddressText(const std::string& current, std::string_view typed)
{
    return FilterAddressText(current + std::string(typed));
}

JoinAddress ParseJoinAddress(std::string_view text)
{
    JoinAddress parsed;
    std::size_t end = 0;
    while (end < text.size() && (Digit(text[end]) || text[end] == '.'))
        ++end;
    if (end == 0)
        return parsed;
    const std::string_view rest = text.substr(end);
    if (!rest.empty() && rest != ":") {
        const std::optional<unsigned> port = rest[0] == ':' ? ReadPort(rest.substr(1)) : std::nullopt;
        if (!port)
            return parsed;
        if (*port > kMaxPort) {
            parsed.result = JoinAddress::Result::kPortOutOfRange;
            return parsed;
        }
        parsed.port = static_cast<std::uint16_t>(*port);
        parsed.hasPort = true;
    }
    parsed.address = std::string(text.substr(0, end));
    std::uint32_t ignored = 0;
    parsed.result = Engine::Platform::ParseIpv4(parsed.address.c_str(), ignored) ? JoinAddress::Result::kUsable
                                                                                 : JoinAddress::Result::kNotIpv4;
    return parsed;
}

EnterIPComponent::EnterIPComponent(Engine::UI::PureTextComp* shownIn) : field(shownIn)
{
    // Each field listens for itself from the start, so a join screen opened
    // again after an earlier one closed still hears the keyboard.
    token = Engine::SdlEventHandlerList::Add([this](Engine::SdlEventEnvelope* envelope) { OnEvent(envelope->event); });
}

EnterIPComponent::~EnterIPComponent()
{
    Engine::SdlEventHandlerList::Remove(token);
    if (gActiveField == this)
        gActiveField = nullptr;
}

EnterIPComponent* EnterIPComponent::Active() { return gActiveField; }

void EnterIPComponent::MakeActive() { gActiveField = this; }

void EnterIPComponent::SetText(std::string_view text)
{
    typed = FilterAddressText(text);
    Show();
}

void EnterIPComponent::Show()
{
    if (field)
        field->SetText(std::string_view(typed));
}

bool EnterIPComponent::Listening() const
{
    if (gActiveField != this || !owner)
        return false;
    Engine::UI::Layer* layer = owner->GetRootLayer();
    return layer && layer->stack && layer->stack->IsTop(layer);
}

void EnterIPComponent::OnEvent(const SDL_Event& event)
{
    if (!Listening())
        return;
    if (event.type == SDL_TEXTINPUT) {
        typed = AppendAddressText(typed, event.text.text);
        Show();
        return;
    }
    if (event.type != SDL_KEYDOWN || event.key.state != SDL_PRESSED)
        return;
    const SDL_Scancode key = event.key.keysym.scancode;
    const bool ctrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
    if (key == SDL_SCANCODE_BACKSPACE && !typed.empty()) {
        typed.pop_back();
        Show();
    } else if (ctrl && key == SDL_SCANCODE_V) {
        SetText(ClipboardText());
    } else if (ctrl && key == SDL_SCANCODE_C) {
        SDL_SetClipboardText(typed.c_str());
    }
}

} // namespace LayerCreator
