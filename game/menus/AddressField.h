#pragma once
#include "engine/core/InputEventHandlerList.h"
#include "engine/ui/ElementComp.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace Engine::UI {
class PureTextComp;
}

namespace LayerCreator {

// The join screen's address: a dotted IPv4 address, optionally followed by
// ':' and a port. The field keeps digits, full stops and colons only, and at
// most GameState::kMaxJoinAddressLength of them (longer pastes are cut).

std::string FilterAddressText(std::string_view text);
// The field's text after `typed` (filtered) is appended, cut to the limit.
std::string AppendAddressText(const std::string& current, std::string_view typed);

// What the connect button makes of the field's text, read by hand:
//   address  := the leading run of digits and full stops (may be empty)
//   rest     := "" | ":" | ":" digits (one or more, value at most 65535)
// Anything else after the address (a second colon, an empty port followed
// by more) does not form an address and port; digits worth more than 65535
// are a port out of range. The address must then be a dotted IPv4 address. The port is read only to be checked:
// every host listens on the network's own port.
struct JoinAddress {
    enum class Result {
        kUsable,
        // Nothing that reads as an address and port.
        kNotAnAddress,
        // An address and maybe a port, but not a dotted IPv4 address.
        kNotIpv4,
        // An address and a port past 65535.
        kPortOutOfRange,
    };
    Result result = Result::kNotAnAddress;
    std::string address;
    // False when no port was typed: the default port is meant.
    bool hasPort = false;
    std::uint16_t port = 0;
};

JoinAddress ParseJoinAddress(std::string_view text);

// The typed address of the join screen. It hears the window's raw events
// from the moment it exists until it is destroyed; it acts on them only
// while it is the active field and its layer is the top layer: typed text is
// appended, Backspace removes the last character, Ctrl+V pastes and Ctrl+C
// copies.
class EnterIPComponent : public Engine::UI::IElemComp {
public:
    explicit EnterIPComponent(Engine::UI::PureTextComp* shownIn);
    ~EnterIPComponent() override;

    // The field the join screen works with now; null when none exists.
    static EnterIPComponent* Active();
    void MakeActive();

    void SetText(std::string_view text);
    const std::string& Text() const { return typed; }

    // One raw window event, as the input manager's pump hands it on.
    void OnEvent(const SDL_Event& event);

private:
    bool Listening() const;
    void Show();

    std::string typed;
    Engine::UI::PureTextComp* field;
    Engine::SdlEventHandlerList::Token token;
};

} // namespace LayerCreator
