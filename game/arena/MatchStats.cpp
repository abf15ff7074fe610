#include "game/arena/MatchStats.h"

MatchStats& MatchStats::GetInstance()
{
    static MatchStats stats;
    return stats;
}
