#pragma once

namespace Engine {

// Raises a flag for as long as it lives and lowers it when the scope ends,
// also when what runs inside throws.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : mFlag(flag) { mFlag = true; }
    ~FlagGuard() { mFlag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& mFlag;
};

} // namespace Engine
