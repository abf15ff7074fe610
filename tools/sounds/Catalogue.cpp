#include "tools/sounds/Catalogue.h"

#include "tools/sounds/Effects.h"
#include "tools/sounds/Music.h"
#include "tools/sounds/SoundEffects.h"

namespace SoundGen {

const std::vector<SoundFile>& Catalogue()
{
    static const std::vector<SoundFile> files = {
        {"data/Sounds/Sfx/HoveringOnMenu.wav", HoverTick, 0.45f},
        {"data/Sounds/Sfx/OnClickMenu2.wav", MenuClick, 0.7f},
        {"data/Sounds/Sfx/Running1.wav", Footsteps, 0.8f},
        {"data/Sounds/Sfx/EventCooldown.wav", EventCooldown, 0.8f},
        {"data/Sounds/Sfx/Tp_active.wav", Teleport, 0.9f},
        {"data/Sounds/Sfx/ooe_test.wav", OutOfEnergy, 0.8f},
        {"data/Sounds/Sfx/tile_moving_sfx.wav", TileGrind, 0.85f},
        {"data/Sounds/Sfx/shieldsfx.wav", ShieldHum, 0.7f},
        {"data/Sounds/Sfx/stunsfx.wav", StunBuzz, 0.7f},
        {"data/Sounds/Sfx/GoalBall.wav", GoalChime, 0.85f},
        {"data/Sounds/Sfx/player_hit.wav", PlayerHit, 0.9f},
        {"data/Sounds/Sfx/BounceBall.wav", BallBounce, 0.85f},
        {"data/Sounds/Music/loading_bar.wav", LoadingRise, 0.8f},
        {"data/Sounds/Music/Menus_loop_inicial.wav", MenuIntro, 0.89f},
        {"data/Sounds/Music/Menus_loop_medio.wav", MenuLoop, 0.89f},
        {"data/Sounds/Music/Game_loop_inicio.wav", MatchIntro, 0.89f},
        {"data/Sounds/Music/Game_loop_medio.wav", MatchLoop, 0.89f},
        {"data/Sounds/Music/Dupstep.wav", EventTrack, 0.89f},
    };
    return files;
}

StereoBuffer Render(const SoundFile& file)
{
    StereoBuffer buffer = file.make();
    Finish(buffer, file.peak);
    return buffer;
}

} // namespace SoundGen
