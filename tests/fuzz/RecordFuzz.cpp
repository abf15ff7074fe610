// The records the channels carry, decoded as the receivers and the gameplay
// handlers decode them; the arena events (channel 6) and the pre-match
// records (channel 10, whose states the lobby reads on) above all, which the
// game acts on by kind.
//
// Input: u8 channel (1 to 10; taken modulo 10, 0 as 10), u16 the arena's tile
// count (at most 4095), then the payload. Beyond not crashing: a record that
// is taken names no tile outside the arena, and encodes to bytes that decode
// to the same bytes again.
#include "FuzzSupport.h"

#include "engine/net/ChannelRecords.h"
#include "game/menus/PrematchState.h"

#include <algorithm>
#include <span>

namespace {

template <class Decode>
void RoundTrip(Net::Span payload, Decode decode)
{
    const auto decoded = decode(payload);
    if (!decoded)
        return;
    const auto bytes = Net::Encode(decoded.record);
    const auto again = decode(Net::Span(bytes));
    Fuzz::Require(static_cast<bool>(again), "an encoded record is taken");
    Fuzz::Require(Net::Encode(again.record) == bytes, "an encoded record decodes to the same bytes");
}

bool TileInside(std::int64_t tile, std::uint32_t tileCount) { return tile >= 0 && tile < tileCount; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const int channel = data[0] % 10 == 0 ? 10 : data[0] % 10;
    const std::uint32_t tileCount = static_cast<std::uint32_t>(data[1] | (data[2] << 8)) % (Net::kMaxTileCount + 1);
    const Net::Span payload(data + 3, size - 3);

    switch (channel) {
    case 1: RoundTrip(payload, [](Net::Span b) { return Net::DecodePlayerState(b); }); break;
    case 2: {
        const auto decode = [tileCount](Net::Span b) { return Net::DecodeTileBend(b, tileCount); };
        if (const auto bend = decode(payload))
            Fuzz::Require(TileInside(bend.record.tile, tileCount), "a taken bend names a tile of the arena");
        RoundTrip(payload, decode);
        break;
    }
    case 3: RoundTrip(payload, [](Net::Span b) { return Net::DecodeScore(b); }); break;
    case 4: RoundTrip(payload, [](Net::Span b) { return Net::DecodeGoalBallState(b); }); break;
    case 5: RoundTrip(payload, [](Net::Span b) { return Net::DecodePerkEffect(b); }); break;
    case 6: {
        const auto decode = [tileCount](Net::Span b) { return Net::DecodeArenaEvent(b, tileCount); };
        const auto event = decode(payload);
        if (event && event.record.kind == Net::ArenaEvent::kCrashingTiles) {
            Fuzz::Require(std::all_of(event.record.tiles.begin(), event.record.tiles.end(),
                                      [tileCount](std::int32_t tile) { return TileInside(tile, tileCount); }),
                          "taken crashing tiles are tiles of the arena");
        }
        RoundTrip(payload, decode);
        break;
    }
    case 7: {
        const auto decode = [tileCount](Net::Span b) { return Net::DecodePerkObject(b, tileCount); };
        const auto object = decode(payload);
        if (object && object.record.kind == Net::PerkObject::kTileEvent)
            Fuzz::Require(TileInside(object.record.tile, tileCount), "a taken tile event names a tile of the arena");
        RoundTrip(payload, decode);
        break;
    }
    case 8: RoundTrip(payload, [](Net::Span b) { return Net::DecodeFlow(b); }); break;
    case 9: RoundTrip(payload, [](Net::Span b) { return Net::DecodeBallEffect(b); }); break;
    default: {
        const auto decode = [](Net::Span b) { return Net::DecodePrematch(b); };
        const auto message = decode(payload);
        // The lobby takes a state's stage and value from the value field's
        // two low bytes; the pair it keeps says the same again.
        if (message && message.record.kind == Net::Prematch::kState) {
            const LayerCreator::PrematchPair pair = LayerCreator::PairFromValueField(message.record.value);
            Fuzz::Require(LayerCreator::ValueField(pair) == (message.record.value & 0xFFFFu),
                          "the lobby reads a state's stage and value whole");
        }
        RoundTrip(payload, decode);
        break;
    }
    }
    return 0;
}
