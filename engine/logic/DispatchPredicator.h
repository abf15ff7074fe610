#pragma once

namespace Engine {

class LogicComp;

// Decides which subscribed components a targeted event reaches.
class DispatchPredicator {
public:
    virtual ~DispatchPredicator() = default;
    virtual bool Accepts(const LogicComp* component) const = 0;
};

} // namespace Engine
