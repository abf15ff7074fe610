#include "engine/logic/EventHandlerList.h"

#include <algorithm>
#include <vector>

namespace Engine {
namespace {

std::vector<EventHandlerList::Entry>& EventHandlers()
{
    static std::vector<EventHandlerList::Entry> entries;
    return entries;
}

} // namespace

void EventHandlerList::AddOnce(Entry entry)
{
    if (entry && !Contains(entry))
        EventHandlers().push_back(entry);
}

bool EventHandlerList::Contains(Entry entry)
{
    const auto& entries = EventHandlers();
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

std::size_t EventHandlerList::Size() { return EventHandlers().size(); }

void EventHandlerList::Reset() { EventHandlers().clear(); }

void EventHandlerList::Raise(IEvent& event, EntityHandle target)
{
    EventEnvelope envelope{false, true, target, &event};
    // The count is taken once; each entry is read afresh because a handler
    // may subscribe a new class and grow the list under the walk.
    const std::size_t listed = EventHandlers().size();
    for (std::size_t i = listed; i-- > 0 && !envelope.handled;)
        EventHandlers()[i](&envelope);
    envelope.dispatching = false;
}

} // namespace Engine
