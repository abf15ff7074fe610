#pragma once
#include "engine/logic/Event.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace Engine {

// One game record received from the peer, delivered to the entity it
// addresses.
//
//   code  area         bytes  from channel: record
//   0     tileBend       24   2: a tile raised or lowered
//   1     score           8   3: a goal or a hit, with the points
//   2     goalBall       28   4: goal-ball kind, position, velocity
//   3     perkEffect     48   5: an active perk used
//   4     arenaEvent     20   6: a random arena event
//   5     perkObject     24   7: a placed perk object
//   6     ballEffect     32   9: a change of the ball's state
//
// The areas are separate, not overlaid: only the code's own area is filled,
// with the bytes of the record that follow its 32-bit sequence number. The
// layout inside each area is its channel's record layout. Codes past 6 have
// no area.
struct NetworkingEvent : LogicEvent {
    // The codes of the table above.
    enum Code : std::uint32_t { kTileBend, kScore, kGoalBall, kPerkEffect, kArenaEvent, kPerkObject, kBallEffect };
    static constexpr std::uint32_t kCodeCount = 7;
    static constexpr std::array<std::size_t, kCodeCount> kAreaSizes{24, 8, 28, 48, 20, 24, 32};

    std::uint32_t code = 0;
    std::array<std::uint8_t, 24> tileBend{};
    std::array<std::uint8_t, 8> score{};
    std::array<std::uint8_t, 28> goalBall{};
    std::array<std::uint8_t, 48> perkEffect{};
    std::array<std::uint8_t, 20> arenaEvent{};
    std::array<std::uint8_t, 24> perkObject{};
    std::array<std::uint8_t, 32> ballEffect{};

    // The area of a code; empty for a code without one.
    std::span<std::uint8_t> Area(std::uint32_t areaCode);
    std::span<const std::uint8_t> Area(std::uint32_t areaCode) const;
    // The area of this event's own code.
    std::span<const std::uint8_t> Payload() const { return Area(code); }

    // Sets the code and copies the first bytes of the record into its area.
    // Refused, changing nothing, for a code without an area or a record
    // shorter than the area; bytes past the area are not read.
    bool Fill(std::uint32_t recordCode, std::span<const std::uint8_t> record);
};

} // namespace Engine
