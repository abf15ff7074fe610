#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <glm/vec3.hpp>
#include <span>

// Little-endian reads and writes at any byte offset. Fields on the wire sit
// unaligned (a payload starts at byte 17), so every access goes through
// memcpy-sized byte copies, never through a cast pointer. Callers check that
// offset + width fits the span before they call.
namespace Net::Wire {

inline std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8)
        | (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) | (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

inline std::int32_t ReadI32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return std::bit_cast<std::int32_t>(ReadU32(bytes, offset));
}

inline float ReadF32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return std::bit_cast<float>(ReadU32(bytes, offset));
}

inline glm::vec3 ReadVec3(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return {ReadF32(bytes, offset), ReadF32(bytes, offset + 4), ReadF32(bytes, offset + 8)};
}

inline void WriteU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void WriteI32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value)
{
    WriteU32(bytes, offset, std::bit_cast<std::uint32_t>(value));
}

inline void WriteF32(std::span<std::uint8_t> bytes, std::size_t offset, float value)
{
    WriteU32(bytes, offset, std::bit_cast<std::uint32_t>(value));
}

inline void WriteVec3(std::span<std::uint8_t> bytes, std::size_t offset, const glm::vec3& value)
{
    WriteF32(bytes, offset, value.x);
    WriteF32(bytes, offset + 4, value.y);
    WriteF32(bytes, offset + 8, value.z);
}

} // namespace Net::Wire
