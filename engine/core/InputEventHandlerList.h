#pragma once
#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace Engine {

// One raw SDL event of the main window, offered to the handlers in turn.
struct SdlEventEnvelope {
    // A handler that sets it ends the walk.
    bool handled = false;
    // True while the walk runs.
    bool dispatching = true;
    SDL_Event event{};
};

// Handlers of the main window's raw events (text fields that need the typed
// text and key presses as they come). The input manager's pump walks them
// for every event of the main window, last added first.
class SdlEventHandlerList {
public:
    using Handler = std::function<void(SdlEventEnvelope*)>;
    using Token = std::uint32_t;

    SdlEventHandlerList() = delete;

    // The token removes the handler again; its owner does so on destruction.
    static Token Add(Handler handler);
    static void Remove(Token token);
    static std::size_t Size();

    // A handler may add or remove handlers during the walk: one added is not
    // offered this event, one removed is not called again.
    static void Walk(const SDL_Event& event);
};

} // namespace Engine
