#pragma once
#include <cstdint>
#include <unordered_map>

namespace Net {

// Whether seq was sent after `than`, across the counter's wrap-around.
constexpr bool SentAfter(std::uint32_t seq, std::uint32_t than)
{
    return static_cast<std::int32_t>(seq - than) > 0;
}

// Per subject of the peer's records (a tile, its ball's trail, the goal
// ball, its lobby state), the seq of the newest record applied. A record
// whose first sending was lost comes again later, and datagrams may pass
// each other on the way, so a record may come in after a newer one of the
// same subject; one that sets the subject's state outright must then be
// left out, or it would put the older state back for good.
class NewestSeqs {
public:
    // A subject: the channel and a number of its own within the channel.
    static constexpr std::uint64_t Subject(std::int32_t channel, std::uint32_t number = 0)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(channel)) << 32) | number;
    }

    // True, and seq becomes the subject's newest, when it was sent after
    // the newest applied so far (or is the subject's first); false for a
    // record overtaken on the way.
    bool Take(std::uint64_t subject, std::uint32_t seq);
    // Whether a record of the subject sent after seq was applied.
    bool TookNewerThan(std::uint64_t subject, std::uint32_t seq) const;
    // A new link numbers its records afresh.
    void Clear() { mNewest.clear(); }

private:
    std::unordered_map<std::uint64_t, std::uint32_t> mNewest;
};

} // namespace Net
