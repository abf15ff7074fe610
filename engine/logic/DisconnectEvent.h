#pragma once
#include "engine/logic/Event.h"

namespace Engine {

// A game controller was unplugged.
struct DisconnectEvent : LogicEvent {
    // The entity the controller was bound to.
    EntityHandle entity;
};

} // namespace Engine
