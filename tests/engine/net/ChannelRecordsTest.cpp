#include "engine/net/ChannelRecords.h"
#include "engine/net/Packet.h"
#include "engine/net/SequenceWindow.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace Net;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(ChannelRecords, HeaderAndPayloadSitAtTheirLittleEndianOffsets)
{
    Packet packet(PacketHeader{kData, -2, 0x01020304u, 0xA0B0C0D0u, 1});
    const auto& raw = packet.Raw();
    EXPECT_EQ(raw.size(), 2520u);
    EXPECT_EQ((std::vector<int>{raw[0], raw[4], raw[7], raw[8], raw[11], raw[12], raw[16]}),
        (std::vector<int>{4, 0xFE, 0xFF, 0x04, 0x01, 0xD0, 1}));
    ASSERT_TRUE(packet.SetPayload(Encode(Score{0x0A0B0C0D, Score::kHit})));
    EXPECT_EQ(raw[17], 0x0D); // unaligned, straight after the header
    EXPECT_EQ(raw[21], Score::kHit);
    EXPECT_FALSE(packet.SetPayload(std::vector<std::uint8_t>(kPayloadSize + 1)));
}

TEST(ChannelRecords, HostileRecordsAreRefusedWithTheReason)
{
    // (The channel tests see NaN and tiles outside the grid refused by name.)
    EXPECT_STREQ(DecodeTileBend(std::vector<std::uint8_t>(5)).problem, "record too short");
    EXPECT_STREQ(DecodeScore(Encode(Score{1, 2})).problem, "unknown kind");
    // Each field is checked only where the kind reads it.
    EXPECT_TRUE(DecodePerkEffect(Encode(PerkEffect{PerkEffect::kSlowBall, {}, {}, kNaN})));
    EXPECT_FALSE(DecodePerkEffect(Encode(PerkEffect{PerkEffect::kTeleport, {}, {}, kNaN})));
    EXPECT_TRUE(DecodeArenaEvent(Encode(ArenaEvent{ArenaEvent::kFlip, 0, {-9, -9, -9}})));
    EXPECT_FALSE(DecodeArenaEvent(Encode(ArenaEvent{ArenaEvent::kCrashingTiles, 0, {1, -1, 2}})));
    EXPECT_TRUE(DecodePerkObject(Encode(PerkObject{4095, PerkObject::kForcefield, {}})));
    EXPECT_FALSE(DecodePerkObject(Encode(PerkObject{4095, PerkObject::kTileEvent, {}})));
    for (bool refused : {!DecodeGoalBallState(Encode(GoalBallState{2, {}, {}})),
             !DecodePerkEffect(Encode(PerkEffect{3})), !DecodeArenaEvent(Encode(ArenaEvent{-2, 0, {}})),
             !DecodePerkObject(Encode(PerkObject{0, 3, {}})), !DecodePrematch(Encode(Prematch{4, 0})),
             !DecodeBallEffect(Encode(BallEffect{1, {}, 2, {}})),
             !DecodePlayerState(Encode(PlayerState{{kNaN, 0, 0}}))})
        EXPECT_TRUE(refused);
}

// The lobby's start and back messages, and the pre-match state and the
// keep-alive, all pass; nothing past the keep-alive does.
TEST(ChannelRecords, PrematchKindsThatTheLobbyHandlesAreAccepted)
{
    for (std::uint32_t kind : {0u, 1u, 2u, 3u}) {
        const auto decoded = DecodePrematch(Encode(Prematch{kind, 0x0102}));
        ASSERT_TRUE(decoded) << kind;
        EXPECT_EQ(decoded.record.kind, kind);
        EXPECT_EQ(decoded.record.value, 0x0102u);
    }
    EXPECT_STREQ(DecodePrematch(Encode(Prematch{4, 0})).problem, "unknown kind");
    EXPECT_STREQ(DecodePrematch(Encode(Prematch{0xFFFFFFFFu, 0})).problem, "unknown kind");
}

TEST(SequenceWindow, AJumpAheadForgetsExactlyTheNumbersItUncovers)
{
    SequenceWindow window;
    window.Reset(100);
    for (std::uint32_t seq : {101u, 150u, 230u})
        window.Mark(seq);
    const std::uint32_t far = 100 + SequenceWindow::kSpan + 140;
    window.Mark(far);
    EXPECT_TRUE(window.Seen(100) && window.Seen(150) && window.Seen(far)); // at the floor, behind the window, marked
    for (std::uint32_t seq : {101u, 150u, 230u})
        EXPECT_FALSE(window.Seen(seq + SequenceWindow::kSpan)) << seq; // same slot, not yet seen
    // A short jump that starts and ends inside words.
    window.Mark(far + 200);
    EXPECT_FALSE(window.Seen(far + 100));
    window.Mark(far + 100);
    EXPECT_TRUE(window.Seen(far + 100) && window.Seen(far));
    EXPECT_FALSE(window.Seen(far + 199) || window.Seen(far + 1));
}

} // namespace
