#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <glm/vec3.hpp>
#include <span>

// The records the channels carry, each with its byte layout. Payloads are
// little-endian and packed from payload byte 0; vec3 is three f32 (x, y, z);
// bytes after the listed fields are zero. The receive side decodes them here
// and the gameplay handlers decode the event areas with the same functions.
//
// A decoder reads exactly its record's bytes (a shorter span is refused) and
// refuses a record with a NaN or infinite float, an unknown kind or a tile
// number at or past the tile count, naming what was wrong.
namespace Net {

// Tile numbers live in entity names; no grid holds more tiles than there
// are entities.
constexpr std::uint32_t kMaxTileCount = 4095;

// Channel 0: the level record; its layout belongs to the arena grid.
constexpr std::int32_t kLevelChannel = 0;
constexpr std::size_t kLevelRecordSize = 2212;
using LevelRecord = std::array<std::uint8_t, kLevelRecordSize>;

// Channel 1, 64 bytes, unreliable, every frame:
//   0 position  12 velocity  24 forward  (the local player)
//   36 ball position  48 ball velocity  60 u8 delivered  61 three zero bytes
struct PlayerState {
    static constexpr std::int32_t kChannel = 1;
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kDeliveredOffset = 60;
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
    glm::vec3 forward{0.0f};
    glm::vec3 ballPosition{0.0f};
    glm::vec3 ballVelocity{0.0f};
    std::uint8_t delivered = 0;
};

// Channel 2, 24 bytes: 0 u32 tile  4 u32 level  8 position  20 u32 direction
// (1 raise, 0 lower).
struct TileBend {
    static constexpr std::int32_t kChannel = 2;
    static constexpr std::size_t kSize = 24;
    std::uint32_t tile = 0;
    std::uint32_t level = 0;
    glm::vec3 position{0.0f};
    std::uint32_t direction = 0;
};

// Channel 3, 8 bytes: 0 u32 the shooter's score  4 u8 kind (0 goal with the
// goal ball, 1 player hit)  5 three zero bytes.
struct Score {
    static constexpr std::int32_t kChannel = 3;
    static constexpr std::size_t kSize = 8;
    static constexpr std::uint8_t kGoal = 0;
    static constexpr std::uint8_t kHit = 1;
    std::uint32_t score = 0;
    std::uint8_t kind = 0;
};

// Channel 4, 28 bytes: 0 u32 kind (0 per-frame state, 1 spawned)
// 4 position  16 velocity. Only kind 1 asks for an acknowledgement.
struct GoalBallState {
    static constexpr std::int32_t kChannel = 4;
    static constexpr std::size_t kSize = 28;
    static constexpr std::uint32_t kPerFrame = 0;
    static constexpr std::uint32_t kSpawned = 1;
    std::uint32_t kind = 0;
    glm::vec3 position{0.0f};
    glm::vec3 velocity{0.0f};
};

// Channel 5, 48 bytes: 0 u32 sub-kind (0 slow ball, 1 teleport, 2 shield)
// 4 start  16 target  28 f32 scale y  32 f32 foot offset  36 up.
// Only the teleport reads the fields after the sub-kind.
struct PerkEffect {
    static constexpr std::int32_t kChannel = 5;
    static constexpr std::size_t kSize = 48;
    static constexpr std::uint32_t kSlowBall = 0;
    static constexpr std::uint32_t kTeleport = 1;
    static constexpr std::uint32_t kShield = 2;
    std::uint32_t subKind = 0;
    glm::vec3 start{0.0f};
    glm::vec3 target{0.0f};
    float scaleY = 0.0f;
    float footOffset = 0.0f;
    glm::vec3 up{0.0f};
};

// Channel 6, 24 bytes sent, the first 20 queued: 0 i32 kind (-1 cool-down
// notice, 0 arena flip, 1 crashing tiles)  4 u8 flag  5 three zero bytes
// 8, 12, 16 three i32 tile numbers (read for kind 1 only)  20 four zero bytes.
struct ArenaEvent {
    static constexpr std::int32_t kChannel = 6;
    static constexpr std::size_t kSize = 24;
    static constexpr std::size_t kQueuedSize = 20;
    static constexpr std::int32_t kCoolDown = -1;
    static constexpr std::int32_t kFlip = 0;
    static constexpr std::int32_t kCrashingTiles = 1;
    std::int32_t kind = 0;
    std::uint8_t flag = 0;
    std::array<std::int32_t, 3> tiles{};
};

// Channel 7, 24 bytes: 0 u32 tile  4 u32 kind (0 tile event, 1 forcefield,
// 2 stun area)  8 position  20 u32 zero.
struct PerkObject {
    static constexpr std::int32_t kChannel = 7;
    static constexpr std::size_t kSize = 24;
    static constexpr std::uint32_t kTileEvent = 0;
    static constexpr std::uint32_t kForcefield = 1;
    static constexpr std::uint32_t kStunArea = 2;
    std::uint32_t tile = 0;
    std::uint32_t kind = 0;
    glm::vec3 position{0.0f};
};

// Channel 8, 3 bytes: the flow requests a, b, c.
struct Flow {
    static constexpr std::int32_t kChannel = 8;
    static constexpr std::size_t kSize = 3;
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    std::uint8_t c = 0;
};

// Channel 9, 32 bytes: 0 u8 effect (0 colour splash, else trail change)
// 4 up  16 u8 trail (1 on, 0 off)  20 splash position.
struct BallEffect {
    static constexpr std::int32_t kChannel = 9;
    static constexpr std::size_t kSize = 32;
    static constexpr std::uint8_t kSplash = 0;
    static constexpr std::uint8_t kTrail = 1; // what the game sends; any other value reads as a trail change
    std::uint8_t effect = 0;
    glm::vec3 up{0.0f};
    std::uint8_t trail = 0;
    glm::vec3 position{0.0f};
};

// Channel 10, 8 bytes: 0 u32 kind (0 pre-match state, 1 start the match,
// 2 back to the title, 3 keep-alive)  4 u32 value (pre-match: the value
// byte, then the stage byte).
struct Prematch {
    static constexpr std::int32_t kChannel = 10;
    static constexpr std::size_t kSize = 8;
    static constexpr std::uint32_t kState = 0;
    static constexpr std::uint32_t kStartMatch = 1;
    static constexpr std::uint32_t kBackToTitle = 2;
    static constexpr std::uint32_t kKeepAlive = 3;
    std::uint32_t kind = 0;
    std::uint32_t value = 0;
};

template <class Record>
struct Decoded {
    Record record{};
    // Null when the record is sound, else what was wrong with it.
    const char* problem = nullptr;
    explicit operator bool() const { return problem == nullptr; }
};

template <std::size_t N>
using RecordBytes = std::array<std::uint8_t, N>;

RecordBytes<PlayerState::kSize> Encode(const PlayerState& record);
RecordBytes<TileBend::kSize> Encode(const TileBend& record);
RecordBytes<Score::kSize> Encode(const Score& record);
RecordBytes<GoalBallState::kSize> Encode(const GoalBallState& record);
RecordBytes<PerkEffect::kSize> Encode(const PerkEffect& record);
RecordBytes<ArenaEvent::kSize> Encode(const ArenaEvent& record);
RecordBytes<PerkObject::kSize> Encode(const PerkObject& record);
RecordBytes<Flow::kSize> Encode(const Flow& record);
RecordBytes<BallEffect::kSize> Encode(const BallEffect& record);
RecordBytes<Prematch::kSize> Encode(const Prematch& record);

using Span = std::span<const std::uint8_t>;
Decoded<PlayerState> DecodePlayerState(Span bytes);
Decoded<TileBend> DecodeTileBend(Span bytes, std::uint32_t tileCount = kMaxTileCount);
Decoded<Score> DecodeScore(Span bytes);
Decoded<GoalBallState> DecodeGoalBallState(Span bytes);
Decoded<PerkEffect> DecodePerkEffect(Span bytes);
// Reads the 20 queued bytes; the trailing four are not needed.
Decoded<ArenaEvent> DecodeArenaEvent(Span bytes, std::uint32_t tileCount = kMaxTileCount);
Decoded<PerkObject> DecodePerkObject(Span bytes, std::uint32_t tileCount = kMaxTileCount);
Decoded<Flow> DecodeFlow(Span bytes);
Decoded<BallEffect> DecodeBallEffect(Span bytes);
Decoded<Prematch> DecodePrematch(Span bytes);

} // namespace Net
