#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// One datagram of the link. Every datagram is exactly 2520 bytes, little-
// endian, packed; anything of another length is not ours and is dropped.
//
//   offset size  field
//   0      4     flags      u32: 1 SYN, 2 ACK, 3 SYN+ACK, 4 DATA, 8 RESEND, 16 FIN
//   4      4     type       i32: -2 handshake, -1 FIN, 0..10 channel
//   8      4     seq        u32: the sender's sequence number
//   12     4     ack        u32: the acknowledged seq (ACK packets), else 0
//   16     1     needs_ack  u8:  1 = the receiver must acknowledge
//   17     2503  payload    the channel's record at its start, the rest zero
//
// Flags and type come from the peer and are matched against the values
// above only; no field is used as a size or an index before it is checked.
namespace Net {

constexpr std::size_t kPacketSize = 2520;
constexpr std::size_t kHeaderSize = 17;
constexpr std::size_t kPayloadSize = kPacketSize - kHeaderSize;

enum PacketFlags : std::uint32_t {
    kSyn = 1,
    kAck = 2,
    kData = 4,
    kResend = 8,
    kFin = 16,
};

constexpr std::int32_t kHandshakeType = -2;
constexpr std::int32_t kFinType = -1;
constexpr std::int32_t kChannelCount = 11;

struct PacketHeader {
    std::uint32_t flags = 0;
    std::int32_t type = 0;
    std::uint32_t seq = 0;
    std::uint32_t ack = 0;
    std::uint8_t needsAck = 0;
};

// The bytes of one datagram, header and payload, zero unless written.
class Packet {
public:
    using Bytes = std::array<std::uint8_t, kPacketSize>;

    Packet() = default;
    explicit Packet(const PacketHeader& header) { SetHeader(header); }

    PacketHeader Header() const;
    void SetHeader(const PacketHeader& header);
    void SetFlags(std::uint32_t flags);

    // Copies the record to the payload's start; refused past 2503 bytes.
    bool SetPayload(std::span<const std::uint8_t> record);
    std::span<const std::uint8_t> Payload() const { return std::span(mBytes).subspan(kHeaderSize); }

    Bytes& Raw() { return mBytes; }
    const Bytes& Raw() const { return mBytes; }

private:
    Bytes mBytes{};
};

} // namespace Net
