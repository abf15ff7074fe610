#include "game/components/ball/BallMessages.h"

#include "engine/net/ChannelRecords.h"
#include "engine/net/NetworkMgr.h"

#include <algorithm>

namespace BallMessages {

bool Networked() { return NetworkMgr::GetInstance().connected != 0; }

bool MatchLinked()
{
    const NetworkMgr& network = NetworkMgr::GetInstance();
    return network.connected && network.setup_exchanged;
}

void SendTrail(bool on)
{
    if (!Networked())
        return;
    Net::BallEffect record;
    record.effect = Net::BallEffect::kTrail;
    record.trail = on ? 1 : 0;
    NetworkMgr::GetInstance().send_type_9(record);
}

void SendSplash(const glm::vec3& position, const glm::vec3& up)
{
    if (!Networked())
        return;
    Net::BallEffect record;
    record.effect = Net::BallEffect::kSplash;
    record.up = up;
    record.position = position;
    NetworkMgr::GetInstance().send_type_9(record);
}

void SendScore(int score, bool hit)
{
    if (!MatchLinked())
        return;
    Net::Score record;
    record.score = static_cast<std::uint32_t>(std::max(score, 0));
    record.kind = hit ? Net::Score::kHit : Net::Score::kGoal;
    NetworkMgr::GetInstance().send_type_3(record);
}

} // namespace BallMessages
