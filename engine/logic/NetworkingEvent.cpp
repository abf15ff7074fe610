#include "engine/logic/NetworkingEvent.h"

#include <algorithm>

namespace Engine {

std::span<std::uint8_t> NetworkingEvent::Area(std::uint32_t areaCode)
{
    switch (areaCode) {
    case 0:
        return tileBend;
    case 1:
        return score;
    case 2:
        return goalBall;
    case 3:
        return perkEffect;
    case 4:
        return arenaEvent;
    case 5:
        return perkObject;
    case 6:
        return ballEffect;
    default:
        return {};
    }
}

std::span<const std::uint8_t> NetworkingEvent::Area(std::uint32_t areaCode) const
{
    return const_cast<NetworkingEvent*>(this)->Area(areaCode);
}

bool NetworkingEvent::Fill(std::uint32_t recordCode, std::span<const std::uint8_t> record)
{
    const std::span<std::uint8_t> area = Area(recordCode);
    if (area.empty() || record.size() < area.size())
        return false;
    std::copy_n(record.begin(), area.size(), area.begin());
    code = recordCode;
    return true;
}

} // namespace Engine
