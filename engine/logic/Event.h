#pragma once
#include "engine/core/EntityHandle.h"

namespace Engine {

// Base of everything raised through the event handler list.
class IEvent {
public:
    virtual ~IEvent() = default;
};

// Base of the events that logic components subscribe to.
class LogicEvent : public IEvent {};

// What a raiser hands to each entry of the event handler list.
struct EventEnvelope {
    // An entry that sets it ends the walk.
    bool handled = false;
    // True while the walk runs.
    bool dispatching = true;
    // The entity whose components receive the event; null reaches every
    // subscribed component.
    EntityHandle target;
    IEvent* event = nullptr;
};

} // namespace Engine
