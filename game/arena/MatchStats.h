#pragma once
#include "engine/core/Property.h"

#include <cstdint>
#include <string>
#include <vector>

// What gameplay counts over the whole run: shots, jumps, hits, exhaustions,
// running and goals. One record built on first use; it is never reset,
// saved or shown, so its counters run across matches.
class MatchStats : public Engine::Property_Holder {
public:
    static MatchStats& GetInstance();

    MatchStats(const MatchStats&) = delete;
    MatchStats& operator=(const MatchStats&) = delete;

    Engine::Property<std::string> PassivePerk{"PassivePerk", mPropertyMap};
    Engine::Property<std::string> ActivePerk{"ActivePerk", mPropertyMap};
    Engine::Property<int> Shots{"Shots", 0, mPropertyMap};
    Engine::Property<int> Jumps{"Jumps", 0, mPropertyMap};
    Engine::Property<int> ActiveTriggers{"ActiveTriggers", 0, mPropertyMap};
    // Hits scored by the local side, and hits it took.
    Engine::Property<int> MatchResultPlayer1{"MatchResultPlayer1", 0, mPropertyMap};
    Engine::Property<int> MatchResultPlayer2{"MatchResultPlayer2", 0, mPropertyMap};
    Engine::Property<int> MatchDuration{"MatchDuration", 0, mPropertyMap};
    Engine::Property<int> HitsAfterBounce{"HitsAfterBounce", 0, mPropertyMap};
    Engine::Property<int> TimesExhausted{"TimesExhausted", 0, mPropertyMap};
    Engine::Property<int> TimesRunActivated{"TimesRunActivated", 0, mPropertyMap};
    // Seconds.
    Engine::Property<float> TimeRunning{"TimeRunning", 0.0f, mPropertyMap};
    // Whole seconds since the match start at each goal, and the distance
    // from shooter to victim then.
    Engine::Property<std::vector<int>> TimesGoalScored{"TimesGoalScored", mPropertyMap};
    Engine::Property<std::vector<float>> DistanceWhenGoalScored{"DistanceWhenGoalScored", mPropertyMap};

    // Nanoseconds on the platform clock; the game state writes it at reset.
    std::uint64_t matchStartTime = 0;

private:
    MatchStats() = default;
};
