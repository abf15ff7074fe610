#include "engine/audio/DummySoundSystem.h"

#include <cstdio>

bool DummySoundSystem::IsFinished(const Sound&)
{
    std::fprintf(stderr, "DEBUG: IsFinished on dummy system called\n");
    return false;
}
