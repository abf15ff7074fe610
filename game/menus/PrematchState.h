#pragma once
#include <cstdint>

// Where each machine stands before a networked match. Each side keeps what
// it last sent (local) and what the peer last sent (remote) as a pair of
// stage and value. Stages: 1 perk choice begins (value 1), 2 ready (value 1
// ready, 0 not), 10 the host starts at once with perks off (value 1).
//
// Pre-match message, channel 10, 8 bytes: 0 u32 kind (0), 4 u8 value,
// 5 u8 stage, 6 two reserved bytes sent as 0. Received, the value field
// (bytes 4 to 7, little-endian) holds the value in its low byte and the
// stage in the next.
namespace LayerCreator {

struct PrematchPair {
    std::uint8_t stage = 0;
    std::uint8_t value = 0;
    bool operator==(const PrematchPair&) const = default;
};

inline constexpr std::uint8_t kStagePerkChoice = 1;
inline constexpr std::uint8_t kStageReady = 2;
inline constexpr std::uint8_t kStageStartWithoutPerks = 10;

// A pair has reached stage s when it is past s, or at s with a non-zero
// value; a pair at stage 0 has reached nothing.
bool StageReached(const PrematchPair& pair, std::uint8_t stage);

PrematchPair& LocalPrematch();
PrematchPair& RemotePrematch();
// Both pairs back to (0, 0); every new play menu starts from here.
void ResetPrematchState();

bool IsLocalStageReached(std::uint8_t stage);
bool IsRemoteStageReached(std::uint8_t stage);

// Sends (value, stage) to the peer, reliably, and remembers it as the local
// pair.
void SendPrematchState(std::uint8_t value, std::uint8_t stage);
// The host's word that the match starts (kind 1, value 0), reliably.
void SendStartMatch();
// The pair a received value field carries.
PrematchPair PairFromValueField(std::uint32_t valueField);
std::uint32_t ValueField(const PrematchPair& pair);

} // namespace LayerCreator
