#include "engine/net/ChannelRecords.h"

#include "engine/net/ByteCodec.h"

#include <cmath>

namespace Net {
namespace {

using namespace Wire;

bool Finite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

template <class Record>
Decoded<Record> Refused(const char* problem)
{
    Decoded<Record> result;
    result.problem = problem;
    return result;
}

template <class Record>
bool TooShort(Span bytes)
{
    return bytes.size() < Record::kSize;
}

constexpr const char* kShort = "record too short";
constexpr const char* kNotFinite = "a float is NaN or infinite";
constexpr const char* kUnknownKind = "unknown kind";
constexpr const char* kTileOutside = "tile number outside the grid";

bool TileInside(std::int64_t tile, std::uint32_t tileCount)
{
    return tile >= 0 && tile < static_cast<std::int64_t>(tileCount);
}

} // namespace

// Each Encode and its Decode walk the same fields in the same order.

RecordBytes<PlayerState::kSize> Encode(const PlayerState& record)
{
    RecordBytes<PlayerState::kSize> bytes{};
    WriteVec3(bytes, 0, record.position);
    WriteVec3(bytes, 12, record.velocity);
    WriteVec3(bytes, 24, record.forward);
    WriteVec3(bytes, 36, record.ballPosition);
    WriteVec3(bytes, 48, record.ballVelocity);
    bytes[PlayerState::kDeliveredOffset] = record.delivered;
    return bytes;
}

Decoded<PlayerState> DecodePlayerState(Span bytes)
{
    if (TooShort<PlayerState>(bytes))
        return Refused<PlayerState>(kShort);
    Decoded<PlayerState> result;
    PlayerState& r = result.record;
    r.position = ReadVec3(bytes, 0);
    r.velocity = ReadVec3(bytes, 12);
    r.forward = ReadVec3(bytes, 24);
    r.ballPosition = ReadVec3(bytes, 36);
    r.ballVelocity = ReadVec3(bytes, 48);
    r.delivered = bytes[PlayerState::kDeliveredOffset];
    if (!Finite(r.position) || !Finite(r.velocity) || !Finite(r.forward) || !Finite(r.ballPosition)
        || !Finite(r.ballVelocity))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<TileBend::kSize> Encode(const TileBend& record)
{
    RecordBytes<TileBend::kSize> bytes{};
    WriteU32(bytes, 0, record.tile);
    WriteU32(bytes, 4, record.level);
    WriteVec3(bytes, 8, record.position);
    WriteU32(bytes, 20, record.direction);
    return bytes;
}

Decoded<TileBend> DecodeTileBend(Span bytes, std::uint32_t tileCount)
{
    if (TooShort<TileBend>(bytes))
        return Refused<TileBend>(kShort);
    Decoded<TileBend> result;
    TileBend& r = result.record;
    r.tile = ReadU32(bytes, 0);
    r.level = ReadU32(bytes, 4);
    r.position = ReadVec3(bytes, 8);
    r.direction = ReadU32(bytes, 20);
    if (!TileInside(r.tile, tileCount))
        result.problem = kTileOutside;
    else if (!Finite(r.position))
        result.problem = kNotFinite;
    else if (r.direction > 1)
        result.problem = "direction neither raise nor lower";
    return result;
}

RecordBytes<Score::kSize> Encode(const Score& record)
{
    RecordBytes<Score::kSize> bytes{};
    WriteU32(bytes, 0, record.score);
    bytes[4] = record.kind;
    return bytes;
}

Decoded<Score> DecodeScore(Span bytes)
{
    if (TooShort<Score>(bytes))
        return Refused<Score>(kShort);
    Decoded<Score> result;
    result.record.score = ReadU32(bytes, 0);
    result.record.kind = bytes[4];
    if (result.record.kind != Score::kGoal && result.record.kind != Score::kHit)
        result.problem = kUnknownKind;
    return result;
}

RecordBytes<GoalBallState::kSize> Encode(const GoalBallState& record)
{
    RecordBytes<GoalBallState::kSize> bytes{};
    WriteU32(bytes, 0, record.kind);
    WriteVec3(bytes, 4, record.position);
    WriteVec3(bytes, 16, record.velocity);
    return bytes;
}

Decoded<GoalBallState> DecodeGoalBallState(Span bytes)
{
    if (TooShort<GoalBallState>(bytes))
        return Refused<GoalBallState>(kShort);
    Decoded<GoalBallState> result;
    GoalBallState& r = result.record;
    r.kind = ReadU32(bytes, 0);
    r.position = ReadVec3(bytes, 4);
    r.velocity = ReadVec3(bytes, 16);
    if (r.kind != GoalBallState::kPerFrame && r.kind != GoalBallState::kSpawned)
        result.problem = kUnknownKind;
    else if (!Finite(r.position) || !Finite(r.velocity))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<PerkEffect::kSize> Encode(const PerkEffect& record)
{
    RecordBytes<PerkEffect::kSize> bytes{};
    WriteU32(bytes, 0, record.subKind);
    WriteVec3(bytes, 4, record.start);
    WriteVec3(bytes, 16, record.target);
    WriteF32(bytes, 28, record.scaleY);
    WriteF32(bytes, 32, record.footOffset);
    WriteVec3(bytes, 36, record.up);
    return bytes;
}

Decoded<PerkEffect> DecodePerkEffect(Span bytes)
{
    if (TooShort<PerkEffect>(bytes))
        return Refused<PerkEffect>(kShort);
    Decoded<PerkEffect> result;
    PerkEffect& r = result.record;
    r.subKind = ReadU32(bytes, 0);
    r.start = ReadVec3(bytes, 4);
    r.target = ReadVec3(bytes, 16);
    r.scaleY = ReadF32(bytes, 28);
    r.footOffset = ReadF32(bytes, 32);
    r.up = ReadVec3(bytes, 36);
    if (r.subKind > PerkEffect::kShield)
        result.problem = kUnknownKind;
    else if (r.subKind == PerkEffect::kTeleport
        && (!Finite(r.start) || !Finite(r.target) || !std::isfinite(r.scaleY) || !std::isfinite(r.footOffset)
            || !Finite(r.up)))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<ArenaEvent::kSize> Encode(const ArenaEvent& record)
{
    RecordBytes<ArenaEvent::kSize> bytes{};
    WriteI32(bytes, 0, record.kind);
    bytes[4] = record.flag;
    for (std::size_t i = 0; i < record.tiles.size(); ++i)
        WriteI32(bytes, 8 + 4 * i, record.tiles[i]);
    return bytes;
}

Decoded<ArenaEvent> DecodeArenaEvent(Span bytes, std::uint32_t tileCount)
{
    if (bytes.size() < ArenaEvent::kQueuedSize)
        return Refused<ArenaEvent>(kShort);
    Decoded<ArenaEvent> result;
    ArenaEvent& r = result.record;
    r.kind = ReadI32(bytes, 0);
    r.flag = bytes[4];
    for (std::size_t i = 0; i < r.tiles.size(); ++i)
        r.tiles[i] = ReadI32(bytes, 8 + 4 * i);
    if (r.kind < ArenaEvent::kCoolDown || r.kind > ArenaEvent::kCrashingTiles)
        result.problem = kUnknownKind;
    else if (r.kind == ArenaEvent::kCrashingTiles) {
        for (std::int32_t tile : r.tiles) {
            if (!TileInside(tile, tileCount))
                result.problem = kTileOutside;
        }
    }
    return result;
}

RecordBytes<PerkObject::kSize> Encode(const PerkObject& record)
{
    RecordBytes<PerkObject::kSize> bytes{};
    WriteU32(bytes, 0, record.tile);
    WriteU32(bytes, 4, record.kind);
    WriteVec3(bytes, 8, record.position);
    return bytes;
}

Decoded<PerkObject> DecodePerkObject(Span bytes, std::uint32_t tileCount)
{
    if (TooShort<PerkObject>(bytes))
        return Refused<PerkObject>(kShort);
    Decoded<PerkObject> result;
    PerkObject& r = result.record;
    r.tile = ReadU32(bytes, 0);
    r.kind = ReadU32(bytes, 4);
    r.position = ReadVec3(bytes, 8);
    if (r.kind > PerkObject::kStunArea)
        result.problem = kUnknownKind;
    else if (r.kind == PerkObject::kTileEvent && !TileInside(r.tile, tileCount))
        result.problem = kTileOutside;
    else if (!Finite(r.position))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<Flow::kSize> Encode(const Flow& record)
{
    return {record.a, record.b, record.c};
}

Decoded<Flow> DecodeFlow(Span bytes)
{
    if (TooShort<Flow>(bytes))
        return Refused<Flow>(kShort);
    Decoded<Flow> result;
    result.record = Flow{bytes[0], bytes[1], bytes[2]};
    return result;
}

RecordBytes<BallEffect::kSize> Encode(const BallEffect& record)
{
    RecordBytes<BallEffect::kSize> bytes{};
    bytes[0] = record.effect;
    WriteVec3(bytes, 4, record.up);
    bytes[16] = record.trail;
    WriteVec3(bytes, 20, record.position);
    return bytes;
}

Decoded<BallEffect> DecodeBallEffect(Span bytes)
{
    if (TooShort<BallEffect>(bytes))
        return Refused<BallEffect>(kShort);
    Decoded<BallEffect> result;
    BallEffect& r = result.record;
    r.effect = bytes[0];
    r.up = ReadVec3(bytes, 4);
    r.trail = bytes[16];
    r.position = ReadVec3(bytes, 20);
    if (r.trail > 1)
        result.problem = "trail neither on nor off";
    else if (!Finite(r.up) || !Finite(r.position))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<Prematch::kSize> Encode(const Prematch& record)
{
    RecordBytes<Prematch::kSize> bytes{};
    WriteU32(bytes, 0, record.kind);
    WriteU32(bytes, 4, record.value);
    return bytes;
}

Decoded<Prematch> DecodePrematch(Span bytes)
{
    if (TooShort<Prematch>(bytes))
        return Refused<Prematch>(kShort);
    Decoded<Prematch> result;
    result.record.kind = ReadU32(bytes, 0);
    result.record.value = ReadU32(bytes, 4);
    if (result.record.kind != Prematch::kState && result.record.kind != Prematch::kKeepAlive)
        result.problem = kUnknownKind;
    return result;
}

} // namespace Net
