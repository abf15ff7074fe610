#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace Engine {

// Named timers and samples for the phases of the engine frame. Records are
// created on first use and never removed; they exist for inspection only.
class Profiler {
public:
    struct Record {
        std::string name;
        std::string category;
        bool isTimer = true;
        std::uint64_t start = 0; // nanoseconds of the monotonic clock
        std::uint64_t end = 0;
        float sample = 0.0f;
    };
    using Records = std::map<std::string, Record>;

    Profiler() = delete;

    // Finds or creates the record and starts its timer.
    static void Begin(std::string name, std::string category);
    // Stops the timer of an existing record; a name never begun throws
    // Engine::InvalidMapKey (a std::out_of_range).
    static void End(const std::string& name);
    // Finds or creates the record and turns it into a sample of value.
    static void Sample(const std::string& name, float value);

    static const Records& GetRecords();
};

} // namespace Engine
