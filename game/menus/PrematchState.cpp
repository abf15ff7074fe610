#include "game/menus/PrematchState.h"

#include "engine/net/ChannelRecords.h"
#include "engine/net/NetworkMgr.h"

namespace LayerCreator {

namespace {

PrematchPair gLocal;
PrematchPair gRemote;

} // namespace

bool StageReached(const PrematchPair& pair, std::uint8_t stage)
{
    if (pair.stage == 0 || stage > pair.stage)
        return false;
    return stage < pair.stage || pair.value != 0;
}

PrematchPair& LocalPrematch() { return gLocal; }
PrematchPair& RemotePrematch() { return gRemote; }

void ResetPrematchState()
{
    gLocal = {};
    gRemote = {};
}

bool IsLocalStageReached(std::uint8_t stage) { return StageReached(gLocal, stage); }
bool IsRemoteStageReached(std::uint8_t stage) { return StageReached(gRemote, stage); }

PrematchPair PairFromValueField(std::uint32_t valueField)
{
    return {static_cast<std::uint8_t>((valueField >> 8) & 0xFF), static_cast<std::uint8_t>(valueField & 0xFF)};
}

std::uint32_t ValueField(const PrematchPair& pair)
{
    return static_cast<std::uint32_t>(pair.value) | (static_cast<std::uint32_t>(pair.stage) << 8);
}

void SendPrematchState(std::uint8_t value, std::uint8_t stage)
{
    const PrematchPair pair{stage, value};
    Net::Prematch record;
    record.kind = Net::Prematch::kState;
    record.value = ValueField(pair);
    NetworkMgr::GetInstance().send_type_10(record);
    gLocal = pair;
}

void SendStartMatch() { NetworkMgr::GetInstance().send_type_10(Net::Prematch{Net::Prematch::kStartMatch, 0}); }

} // namespace LayerCreator
