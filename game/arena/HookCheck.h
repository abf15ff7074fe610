#pragma once

// Gameplay reaches the parts of the match built elsewhere through tables of
// hooks (PlayerHooks, BallHooks, the recorder's ReplayHooks) that the match
// fills. A hook left empty loses a step of play (no medals, no end of play,
// no forcefield), so its absence is said, once per hook, naming it, rather
// than the step vanishing in silence.

// True when the hook is set. Otherwise false, and the first time for that
// name a line on stderr says that it is not installed.
template <class Hook>
bool IsHookSet(const Hook& hook, const char* name);

// Said once per name until forgotten; false.
bool ReportMissingHook(const char* name);

// The next absence of any hook is said again: a new match reports its own.
void ForgetReportedHooks();

template <class Hook>
bool IsHookSet(const Hook& hook, const char* name)
{
    return hook ? true : ReportMissingHook(name);
}
