#include "engine/net/ChannelRecords.h"

#include "engine/net/ByteCodec.h"

#include <cmath>

namespace Net {
namespace {

using namespace Wire;

// Each record's layout is one list of (offset, field) pairs, written once and
// walked by the encoder, the decoder and the finiteness check alike, so the
// two directions cannot drift apart.

struct Writer {
    std::span<std::uint8_t> bytes;
    void operator()(std::size_t at, std::uint8_t v) const { bytes[at] = v; }
    void operator()(std::size_t at, std::uint32_t v) const { WriteU32(bytes, at, v); }
    void operator()(std::size_t at, std::int32_t v) const { WriteI32(bytes, at, v); }
    void operator()(std::size_t at, float v) const { WriteF32(bytes, at, v); }
    void operator()(std::size_t at, const glm::vec3& v) const { WriteVec3(bytes, at, v); }
};

struct Reader {
    Span bytes;
    void operator()(std::size_t at, std::uint8_t& v) const { v = bytes[at]; }
    void operator()(std::size_t at, std::uint32_t& v) const { v = ReadU32(bytes, at); }
    void operator()(std::size_t at, std::int32_t& v) const { v = ReadI32(bytes, at); }
    void operator()(std::size_t at, float& v) const { v = ReadF32(bytes, at); }
    void operator()(std::size_t at, glm::vec3& v) const { v = ReadVec3(bytes, at); }
};

struct FiniteCheck {
    bool finite = true;
    template <class Integer>
    void operator()(std::size_t, Integer) {}
    void operator()(std::size_t, float v) { finite = finite && std::isfinite(v); }
    void operator()(std::size_t, const glm::vec3& v)
    {
        finite = finite && std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
    }
};

constexpr auto kPlayerStateLayout = [](auto& r, auto&& field) {
    field(0, r.position);
    field(12, r.velocity);
    field(24, r.forward);
    field(36, r.ballPosition);
    field(48, r.ballVelocity);
    field(PlayerState::kDeliveredOffset, r.delivered);
};
constexpr auto kTileBendLayout = [](auto& r, auto&& field) {
    field(0, r.tile);
    field(4, r.level);
    field(8, r.position);
    field(20, r.direction);
};
constexpr auto kScoreLayout = [](auto& r, auto&& field) {
    field(0, r.score);
    field(4, r.kind);
};
constexpr auto kGoalBallStateLayout = [](auto& r, auto&& field) {
    field(0, r.kind);
    field(4, r.position);
    field(16, r.velocity);
};
constexpr auto kPerkEffectLayout = [](auto& r, auto&& field) {
    field(0, r.subKind);
    field(4, r.start);
    field(16, r.target);
    field(28, r.scaleY);
    field(32, r.footOffset);
    field(36, r.up);
};
constexpr auto kArenaEventLayout = [](auto& r, auto&& field) {
    field(0, r.kind);
    field(4, r.flag);
    for (std::size_t i = 0; i < r.tiles.size(); ++i)
        field(8 + 4 * i, r.tiles[i]);
};
constexpr auto kPerkObjectLayout = [](auto& r, auto&& field) {
    field(0, r.tile);
    field(4, r.kind);
    field(8, r.position);
};
constexpr auto kFlowLayout = [](auto& r, auto&& field) {
    field(0, r.a);
    field(1, r.b);
    field(2, r.c);
};
constexpr auto kBallEffectLayout = [](auto& r, auto&& field) {
    field(0, r.effect);
    field(4, r.up);
    field(16, r.trail);
    field(20, r.position);
};
constexpr auto kPrematchLayout = [](auto& r, auto&& field) {
    field(0, r.kind);
    field(4, r.value);
};

template <class Record, class Layout>
RecordBytes<Record::kSize> EncodeWith(const Record& record, Layout layout)
{
    RecordBytes<Record::kSize> bytes{};
    layout(record, Writer{bytes});
    return bytes;
}

constexpr const char* kShort = "record too short";
constexpr const char* kNotFinite = "a float is NaN or infinite";
constexpr const char* kUnknownKind = "unknown kind";
constexpr const char* kTileOutside = "tile number outside the grid";

// The record read from the first `needed` bytes; refused when fewer arrive.
template <class Record, class Layout>
Decoded<Record> DecodeWith(Span bytes, Layout layout, std::size_t needed = Record::kSize)
{
    Decoded<Record> result;
    if (bytes.size() < needed)
        result.problem = kShort;
    else
        layout(result.record, Reader{bytes});
    return result;
}

template <class Record, class Layout>
bool AllFinite(const Record& record, Layout layout)
{
    FiniteCheck check;
    layout(record, check);
    return check.finite;
}

bool TileInside(std::int64_t tile, std::uint32_t tileCount)
{
    return tile >= 0 && tile < static_cast<std::int64_t>(tileCount);
}

} // namespace

// Each Decode checks, in order, what its record may hold.

RecordBytes<PlayerState::kSize> Encode(const PlayerState& record) { return EncodeWith(record, kPlayerStateLayout); }

Decoded<PlayerState> DecodePlayerState(Span bytes)
{
    auto result = DecodeWith<PlayerState>(bytes, kPlayerStateLayout);
    if (result && !AllFinite(result.record, kPlayerStateLayout))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<TileBend::kSize> Encode(const TileBend& record) { return EncodeWith(record, kTileBendLayout); }

Decoded<TileBend> DecodeTileBend(Span bytes, std::uint32_t tileCount)
{
    auto result = DecodeWith<TileBend>(bytes, kTileBendLayout);
    const TileBend& r = result.record;
    if (!result)
        return result;
    if (!TileInside(r.tile, tileCount))
        result.problem = kTileOutside;
    else if (!AllFinite(r, kTileBendLayout))
        result.problem = kNotFinite;
    else if (r.direction > 1)
        result.problem = "direction neither raise nor lower";
    return result;
}

RecordBytes<Score::kSize> Encode(const Score& record) { return EncodeWith(record, kScoreLayout); }

Decoded<Score> DecodeScore(Span bytes)
{
    auto result = DecodeWith<Score>(bytes, kScoreLayout);
    if (result && result.record.kind != Score::kGoal && result.record.kind != Score::kHit)
        result.problem = kUnknownKind;
    return result;
}

RecordBytes<GoalBallState::kSize> Encode(const GoalBallState& record)
{
    return EncodeWith(record, kGoalBallStateLayout);
}

Decoded<GoalBallState> DecodeGoalBallState(Span bytes)
{
    auto result = DecodeWith<GoalBallState>(bytes, kGoalBallStateLayout);
    const GoalBallState& r = result.record;
    if (!result)
        return result;
    if (r.kind != GoalBallState::kPerFrame && r.kind != GoalBallState::kSpawned)
        result.problem = kUnknownKind;
    else if (!AllFinite(r, kGoalBallStateLayout))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<PerkEffect::kSize> Encode(const PerkEffect& record) { return EncodeWith(record, kPerkEffectLayout); }

Decoded<PerkEffect> DecodePerkEffect(Span bytes)
{
    auto result = DecodeWith<PerkEffect>(bytes, kPerkEffectLayout);
    const PerkEffect& r = result.record;
    if (!result)
        return result;
    if (r.subKind > PerkEffect::kShield)
        result.problem = kUnknownKind;
    // Only the teleport reads the fields after the sub-kind.
    else if (r.subKind == PerkEffect::kTeleport && !AllFinite(r, kPerkEffectLayout))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<ArenaEvent::kSize> Encode(const ArenaEvent& record) { return EncodeWith(record, kArenaEventLayout); }

Decoded<ArenaEvent> DecodeArenaEvent(Span bytes, std::uint32_t tileCount)
{
    auto result = DecodeWith<ArenaEvent>(bytes, kArenaEventLayout, ArenaEvent::kQueuedSize);
    const ArenaEvent& r = result.record;
    if (!result)
        return result;
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

RecordBytes<PerkObject::kSize> Encode(const PerkObject& record) { return EncodeWith(record, kPerkObjectLayout); }

Decoded<PerkObject> DecodePerkObject(Span bytes, std::uint32_t tileCount)
{
    auto result = DecodeWith<PerkObject>(bytes, kPerkObjectLayout);
    const PerkObject& r = result.record;
    if (!result)
        return result;
    if (r.kind > PerkObject::kStunArea)
        result.problem = kUnknownKind;
    else if (r.kind == PerkObject::kTileEvent && !TileInside(r.tile, tileCount))
        result.problem = kTileOutside;
    else if (!AllFinite(r, kPerkObjectLayout))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<Flow::kSize> Encode(const Flow& record) { return EncodeWith(record, kFlowLayout); }

Decoded<Flow> DecodeFlow(Span bytes) { return DecodeWith<Flow>(bytes, kFlowLayout); }

RecordBytes<BallEffect::kSize> Encode(const BallEffect& record) { return EncodeWith(record, kBallEffectLayout); }

Decoded<BallEffect> DecodeBallEffect(Span bytes)
{
    auto result = DecodeWith<BallEffect>(bytes, kBallEffectLayout);
    if (!result)
        return result;
    if (result.record.trail > 1)
        result.problem = "trail neither on nor off";
    else if (!AllFinite(result.record, kBallEffectLayout))
        result.problem = kNotFinite;
    return result;
}

RecordBytes<Prematch::kSize> Encode(const Prematch& record) { return EncodeWith(record, kPrematchLayout); }

Decoded<Prematch> DecodePrematch(Span bytes)
{
    auto result = DecodeWith<Prematch>(bytes, kPrematchLayout);
    if (result && result.record.kind > Prematch::kKeepAlive)
        result.problem = kUnknownKind;
    return result;
}

} // namespace Net
