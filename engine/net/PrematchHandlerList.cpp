#include "engine/net/PrematchHandlerList.h"

#include <algorithm>

namespace {

std::vector<PrematchHandlerList::Handler>& Handlers()
{
    static std::vector<PrematchHandlerList::Handler> handlers;
    return handlers;
}

} // namespace

void PrematchHandlerList::AddOnce(Handler handler)
{
    if (handler && !Contains(handler))
        Handlers().push_back(handler);
}

void PrematchHandlerList::Remove(Handler handler)
{
    auto& handlers = Handlers();
    handlers.erase(std::remove(handlers.begin(), handlers.end(), handler), handlers.end());
}

bool PrematchHandlerList::Contains(Handler handler)
{
    const auto& handlers = Handlers();
    return std::find(handlers.begin(), handlers.end(), handler) != handlers.end();
}

std::size_t PrematchHandlerList::Size()
{
    return Handlers().size();
}

void PrematchHandlerList::Raise(PrematchMessage& message)
{
    const std::vector<Handler> snapshot = Handlers();
    message.dispatching = true;
    for (auto it = snapshot.rbegin(); it != snapshot.rend() && !message.handled; ++it)
        (*it)(&message);
    message.dispatching = false;
}
