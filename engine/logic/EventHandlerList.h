#pragma once
#include "engine/logic/Event.h"

#include <cstddef>

namespace Engine {

// The global list of entry functions that raised events walk: one entry per
// subscribing class, added the first time the class subscribes to anything,
// and kept until Reset.
class EventHandlerList {
public:
    using Entry = void (*)(EventEnvelope*);

    EventHandlerList() = delete;

    // Appends the entry unless it is listed already.
    static void AddOnce(Entry entry);
    static bool Contains(Entry entry);
    static std::size_t Size();
    // No entry, as a new run starts: each class's entry comes back with its
    // next subscription, in the order of those.
    static void Reset();

    // Offers the event to the entries from the last added to the first,
    // stopping when one marks it handled. Entries added by a handler during
    // the walk are not offered this event.
    static void Raise(IEvent& event, EntityHandle target);
};

} // namespace Engine
