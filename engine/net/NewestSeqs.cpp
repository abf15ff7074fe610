#include "engine/net/NewestSeqs.h"

namespace Net {

bool NewestSeqs::Take(std::uint64_t subject, std::uint32_t seq)
{
    const auto [newest, first] = mNewest.try_emplace(subject, seq);
    if (first)
        return true;
    if (!SentAfter(seq, newest->second))
        return false;
    newest->second = seq;
    return true;
}

bool NewestSeqs::TookNewerThan(std::uint64_t subject, std::uint32_t seq) const
{
    const auto newest = mNewest.find(subject);
    return newest != mNewest.end() && SentAfter(newest->second, seq);
}

} // namespace Net
