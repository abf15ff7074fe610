#include "game/components/music/AudioLogic.h"

#include "engine/audio/Emitter.h"
#include "engine/logic/LogicManager.h"

namespace {

AudioLogic::PlayerNumberLookup gPlayerNumberLookup = nullptr;

const char* const kIntro = "GameplayInit";
const char* const kMiddle = "GameplayMiddle";
const char* const kEvent = "Dupstep";

} // namespace

void AudioLogic::SetPlayerNumberLookup(PlayerNumberLookup lookup) { gPlayerNumberLookup = lookup; }

Engine::TypeNode* AudioLogic::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<AudioLogic, Engine::LogicComp>();
}

void AudioLogic::Update()
{
    Engine::Emitter* music = Engine::LogicManager::GetCompPtr<Engine::Emitter>(owner);
    if (!music)
        return;
    const int playerNumber = gPlayerNumberLookup ? gPlayerNumberLookup(owner) : 0;

    if (waiting_for_intro && music->IsFinished(kIntro) && playerNumber % 2 != 0) {
        music->Play(kMiddle, true, false);
        music->SetVolume(kMiddle, kMusicVolume);
        waiting_for_intro = 0;
    }
    if (event_trigger) {
        music->Play(kEvent, false, false);
        music->SetVolume(kEvent, kMusicVolume);
        music->Pause(kMiddle);
        music->SetVolume(kMiddle, 0.0f);
        event_trigger = 0;
        event_playing = 1;
    }
    if (music->IsFinished(kEvent) && event_playing) {
        // Play resumes the paused middle track, so it keeps looping.
        music->Rewind(kMiddle);
        music->Play(kMiddle, false, false);
        music->SetVolume(kMiddle, kMusicVolume);
        event_playing = 0;
    }
}
