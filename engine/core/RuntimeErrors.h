#pragma once
#include <new>
#include <stdexcept>

namespace Engine {

// The engine reports a lookup of an absent key and an exhausted pool with the
// same texts on every platform, so messages and tests never depend on which
// C++ runtime the game was built with.

// A map lookup of a key that is not there.
class InvalidMapKey : public std::out_of_range {
public:
    InvalidMapKey() : std::out_of_range("invalid map<K, T> key") {}
};

// An allocation that cannot be served.
class BadAllocation : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

} // namespace Engine
