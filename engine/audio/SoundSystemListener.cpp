#include "engine/audio/SoundSystem.h"

#include <AL/al.h>

// The listener belongs to the current context; without one these calls are
// no-ops in OpenAL itself.

void SoundSystem::SetListenerPosition(float x, float y, float z) { alListener3f(AL_POSITION, x, y, z); }

glm::vec3 SoundSystem::GetListenerPosition()
{
    glm::vec3 value(0.0f);
    alGetListener3f(AL_POSITION, &value.x, &value.y, &value.z);
    return value;
}

void SoundSystem::SetListenerVelocity(float x, float y, float z) { alListener3f(AL_VELOCITY, x, y, z); }

glm::vec3 SoundSystem::GetListenerVelocity()
{
    glm::vec3 value(0.0f);
    alGetListener3f(AL_VELOCITY, &value.x, &value.y, &value.z);
    return value;
}

void SoundSystem::SetListenerOrientation(glm::vec3 at, glm::vec3 up)
{
    const ALfloat orientation[6] = {at.x, at.y, at.z, up.x, up.y, up.z};
    alListenerfv(AL_ORIENTATION, orientation);
}
