#pragma once

namespace Engine {

// Everything the factory makes; deleted through this base.
class IFactoryBase {
public:
    virtual ~IFactoryBase() = default;
};

} // namespace Engine
