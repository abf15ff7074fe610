#pragma once
#include <cstdint>
#include <vector>

// A pre-match message from the peer (channel 10) as the lobby's handlers
// receive it.
struct PrematchMessage {
    // A handler that sets it ends the walk.
    bool handled = false;
    // True while the walk runs.
    bool dispatching = true;
    std::uint32_t kind = 0;
    // The value field: the value byte, then the stage byte.
    std::uint32_t value = 0;
};

// The handlers that channel 10 feeds while the link is in the menus.
class PrematchHandlerList {
public:
    using Handler = void (*)(PrematchMessage*);

    PrematchHandlerList() = delete;

    static void AddOnce(Handler handler);
    static void Remove(Handler handler);
    static bool Contains(Handler handler);
    static std::size_t Size();
    // Offers the message from the last handler added to the first until one
    // marks it handled. A handler may add or remove handlers meanwhile; the
    // walk goes over the list as it was when it began.
    static void Raise(PrematchMessage& message);
};
