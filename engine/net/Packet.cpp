#include "engine/net/Packet.h"

#include "engine/net/ByteCodec.h"

#include <algorithm>

namespace Net {

PacketHeader Packet::Header() const
{
    PacketHeader header;
    header.flags = Wire::ReadU32(mBytes, 0);
    header.type = Wire::ReadI32(mBytes, 4);
    header.seq = Wire::ReadU32(mBytes, 8);
    header.ack = Wire::ReadU32(mBytes, 12);
    header.needsAck = mBytes[16];
    return header;
}

void Packet::SetHeader(const PacketHeader& header)
{
    Wire::WriteU32(mBytes, 0, header.flags);
    Wire::WriteI32(mBytes, 4, header.type);
    Wire::WriteU32(mBytes, 8, header.seq);
    Wire::WriteU32(mBytes, 12, header.ack);
    mBytes[16] = header.needsAck;
}

void Packet::SetFlags(std::uint32_t flags)
{
    Wire::WriteU32(mBytes, 0, flags);
}

bool Packet::SetPayload(std::span<const std::uint8_t> record)
{
    if (record.size() > kPayloadSize)
        return false;
    std::copy(record.begin(), record.end(), mBytes.begin() + kHeaderSize);
    return true;
}

} // namespace Net
