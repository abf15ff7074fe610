#include "game/arena/HookCheck.h"

#include <iostream>
#include <set>
#include <string>

namespace {

// Hooks are looked up every frame; one line each is enough.
std::set<std::string>& Reported()
{
    static std::set<std::string> names;
    return names;
}

} // namespace

bool ReportMissingHook(const char* name)
{
    if (Reported().insert(name).second)
        std::cerr << "[Hooks] " << name << " is not installed; the match goes on without what it does.\n";
    return false;
}

void ForgetReportedHooks() { Reported().clear(); }
