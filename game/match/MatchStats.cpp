#include "game/match/MatchStats.h"

MatchStats& MatchStats::GetInstance()
{
    static MatchStats stats;
    return stats;
}
