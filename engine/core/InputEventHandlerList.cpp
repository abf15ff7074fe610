#include "engine/core/InputEventHandlerList.h"

#include <algorithm>
#include <vector>

namespace Engine {
namespace {

struct Entry {
    SdlEventHandlerList::Token token;
    SdlEventHandlerList::Handler handler;
};

std::vector<Entry>& InputHandlers()
{
    static std::vector<Entry> entries;
    return entries;
}

SdlEventHandlerList::Token gNextToken = 1;

const Entry* FindEntry(SdlEventHandlerList::Token token)
{
    const auto& entries = InputHandlers();
    auto found = std::find_if(entries.begin(), entries.end(), [token](const Entry& e) { return e.token == token; });
    return found == entries.end() ? nullptr : &*found;
}

} // namespace

SdlEventHandlerList::Token SdlEventHandlerList::Add(Handler handler)
{
    const Token token = gNextToken++;
    InputHandlers().push_back({token, std::move(handler)});
    return token;
}

void SdlEventHandlerList::Remove(Token token)
{
    auto& entries = InputHandlers();
    std::erase_if(entries, [token](const Entry& e) { return e.token == token; });
}

std::size_t SdlEventHandlerList::Size() { return InputHandlers().size(); }

void SdlEventHandlerList::Walk(const SDL_Event& event)
{
    SdlEventEnvelope envelope;
    envelope.event = event;
    // Tokens are taken up front: handlers may reshape the list while they run.
    std::vector<Token> order;
    for (const Entry& entry : InputHandlers())
        order.push_back(entry.token);
    for (auto it = order.rbegin(); it != order.rend() && !envelope.handled; ++it) {
        const Entry* entry = FindEntry(*it);
        if (!entry || !entry->handler)
            continue;
        Handler handler = entry->handler; // the entry may go while it runs
        handler(&envelope);
    }
    envelope.dispatching = false;
}

} // namespace Engine
