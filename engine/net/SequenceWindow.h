#pragma once
#include <cstdint>
#include <vector>

namespace Net {

// The peer's sequence numbers already taken on one channel, so that a
// duplicate or a late re-send is never delivered twice while a reordered
// record that was never seen still is. Memory is fixed: the window covers
// the 65536 numbers up to the highest one seen. Anything at or below the
// floor (the peer's first number of the link) or older than the window
// counts as seen; the peer's resend cap drops a link long before a live
// record could fall that far behind.
class SequenceWindow {
public:
    static constexpr std::uint32_t kSpan = 65536;

    SequenceWindow();

    // Forgets every number; those at or below the floor count as seen.
    void Reset(std::uint32_t floor);
    bool Seen(std::uint32_t seq) const;
    void Mark(std::uint32_t seq);

private:
    bool Bit(std::uint32_t seq) const;
    void SetBit(std::uint32_t seq, bool on);
    void ClearRange(std::uint32_t from, std::uint32_t to);

    std::uint32_t mFloor = 0;
    std::uint32_t mHighest = 0;
    std::vector<std::uint64_t> mBits;
};

} // namespace Net
