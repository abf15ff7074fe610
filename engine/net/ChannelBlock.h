#pragma once
#include "engine/net/Packet.h"
#include "engine/net/SequenceWindow.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace Net {

// A record taken off the wire and waiting for its receiver.
struct ReceivedRecord {
    std::uint32_t seq = 0;
    std::vector<std::uint8_t> payload;
    // When it arrived, so that one whose entity never shows up is dropped.
    std::uint64_t arrivedNs = 0;
};

// A reliable packet sent and not yet acknowledged.
struct PendingPacket {
    std::uint32_t seq = 0;
    Packet packet;
    std::uint64_t sentNs = 0;
    std::uint32_t resends = 0;
};

// The number each recent record's acknowledgement was first sent with, by
// the record's seq; a newer record may take an older one's place.
class AckNumbers {
public:
    std::optional<std::uint32_t> Find(std::uint32_t recordSeq) const
    {
        const Entry& entry = mEntries[recordSeq % kKept];
        return entry.used && entry.record == recordSeq ? std::optional(entry.ack) : std::nullopt;
    }
    void Note(std::uint32_t recordSeq, std::uint32_t ackSeq) { mEntries[recordSeq % kKept] = {recordSeq, ackSeq, true}; }
    void Clear() { mEntries = {}; }

private:
    static constexpr std::size_t kKept = 64;
    struct Entry {
        std::uint32_t record = 0;
        std::uint32_t ack = 0;
        bool used = false;
    };
    std::array<Entry, kKept> mEntries{};
};

// What the link keeps per channel (every channel but 1).
struct ChannelBlock {
    // At most this many records wait; more are neither queued nor
    // acknowledged, so the peer sends them again later.
    static constexpr std::size_t kMaxReceived = 512;
    // At most this many reliable packets in flight; one more means the peer
    // stopped acknowledging, and the link is dropped.
    static constexpr std::size_t kMaxPending = 2048;

    std::vector<ReceivedRecord> received;
    std::vector<PendingPacket> pending;
    SequenceWindow received_seqs;
    AckNumbers ack_numbers;
    // The seq of the last record handed to the game.
    std::uint32_t base_seq = 0;
};

} // namespace Net
