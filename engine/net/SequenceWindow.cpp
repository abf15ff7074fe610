#include "engine/net/SequenceWindow.h"

#include <algorithm>

namespace Net {

SequenceWindow::SequenceWindow() : mBits(kSpan / 64, 0) {}

void SequenceWindow::Reset(std::uint32_t floor)
{
    mFloor = floor;
    mHighest = floor;
    std::fill(mBits.begin(), mBits.end(), 0);
}

bool SequenceWindow::Seen(std::uint32_t seq) const
{
    if (seq <= mFloor)
        return true;
    if (seq > mHighest)
        return false;
    if (mHighest - seq >= kSpan)
        return true;
    return Bit(seq);
}

void SequenceWindow::Mark(std::uint32_t seq)
{
    if (seq <= mFloor)
        return;
    if (seq > mHighest) {
        // Slots that the window now covers afresh still hold numbers from
        // 65536 earlier.
        if (seq - mHighest >= kSpan)
            std::fill(mBits.begin(), mBits.end(), 0);
        else
            ClearRange(mHighest + 1, seq);
        mHighest = seq;
    } else if (mHighest - seq >= kSpan) {
        return;
    }
    SetBit(seq, true);
}

bool SequenceWindow::Bit(std::uint32_t seq) const
{
    const std::uint32_t slot = seq % kSpan;
    return (mBits[slot / 64] >> (slot % 64)) & 1u;
}

void SequenceWindow::SetBit(std::uint32_t seq, bool on)
{
    const std::uint32_t slot = seq % kSpan;
    const std::uint64_t mask = std::uint64_t{1} << (slot % 64);
    if (on)
        mBits[slot / 64] |= mask;
    else
        mBits[slot / 64] &= ~mask;
}

// Whole words at a time: a peer that jumps its numbers far ahead on every
// packet must not cost a bit-by-bit sweep of the window each time.
void SequenceWindow::ClearRange(std::uint32_t from, std::uint32_t to)
{
    for (std::uint64_t seq = from; seq <= to;) {
        const std::uint32_t slot = static_cast<std::uint32_t>(seq % kSpan);
        if (slot % 64 == 0 && to - seq >= 63) {
            mBits[slot / 64] = 0;
            seq += 64;
        } else {
            SetBit(static_cast<std::uint32_t>(seq), false);
            ++seq;
        }
    }
}

} // namespace Net
