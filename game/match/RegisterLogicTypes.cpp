#include "game/match/RegisterLogicTypes.h"

#include "engine/audio/Emitter.h"
#include "engine/audio/Listener.h"
#include "engine/logic/LogicTypeRegistration.h"
#include "engine/logic/SMComponent.h"
#include "game/components/perks/ActivePerks.h"
#include "game/components/music/AudioLogic.h"
#include "game/components/medals/BadgeManagerComp.h"
#include "game/match/BallHookAnswers.h"
#include "game/components/tile/ColourCollider.h"
#include "game/components/tile/CrashingTile.h"
#include "game/components/player/EnergyLogic.h"
#include "game/components/objects/ForcefieldCollider.h"
#include "game/components/ball/GoalBall.h"
#include "game/components/tile/GoalTile.h"
#include "game/components/player/HurtLogic.h"
#include "game/components/tile/ImmovableTile.h"
#include "game/components/objects/LevelLoader.h"
#include "game/components/perks/PassivePerks.h"
#include "game/components/objects/PerkObjectHookAnswers.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/player/PlayerMovement.h"
#include "game/components/ball/ShieldLogic.h"
#include "game/components/objects/StunCollider.h"
#include "game/components/ball/TempBallComp.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/components/objects/TurretCollider.h"
#include "game/components/objects/WallCollider.h"

// The order is the factory table's; later rows arrive with their components.
// The hurt logic and the hold-speed perk are registered too, under their own
// names, so that a saved player comes back whole.
void RegisterLogicTypes()
{
    Engine::RegisterLogicType<Engine::LogicComp>();
    Engine::RegisterLogicType<Engine::SMComponent>();
    Engine::RegisterLogicType<Player_LogicComp>();
    Engine::RegisterLogicType<Player_Movement>();
    Engine::RegisterLogicType<Energy_Logic>();
    Engine::RegisterLogicType<Hurt_Logic>();
    Engine::RegisterLogicType<Shield_Logic>();
    Engine::RegisterLogicType<TileLogicComponent>();
    Engine::RegisterLogicType<ColourCollider>();
    Engine::RegisterLogicType<GoalTile>();
    Engine::RegisterLogicType<ImmovableTile>();
    Engine::RegisterLogicType<CrashingTile>();
    Engine::RegisterLogicType<TurretCollider>();
    Engine::RegisterLogicType<ForcefieldCollider>();
    Engine::RegisterLogicType<StunCollider>();
    Engine::RegisterLogicType<PasivePerkss::RocketJump>();
    Engine::RegisterLogicType<PasivePerkss::RunCost0>();
    Engine::RegisterLogicType<PasivePerkss::DoubleJump>();
    Engine::RegisterLogicType<PasivePerkss::ActiveCost>();
    Engine::RegisterLogicType<PasivePerkss::TileBendingCost>();
    Engine::RegisterLogicType<PasivePerkss::HoldSpeed>();
    // The active perks, each under its own name; the ball hands them the
    // peer's teleport.
    Engine::RegisterLogicType<ActivePerkss::TeleportToBall>();
    Engine::RegisterLogicType<ActivePerkss::Shield>();
    Engine::RegisterLogicType<ActivePerkss::SlowBall>();
    Engine::RegisterLogicType<ActivePerkss::Droppable>();
    ActivePerkss::FillBallHooks();
    Engine::RegisterLogicType<LevelLoader>();
    Engine::RegisterLogicType<LevelLoader2>();
    Engine::RegisterLogicType<TempBallComp>();
    Engine::RegisterLogicType<WallCollider>();
    Engine::RegisterLogicType<Engine::Emitter>();
    Engine::RegisterLogicType<Engine::Listener>();
    Engine::RegisterLogicType<BadgeManagerComp>();
    Engine::RegisterLogicType<AudioLogic>();
    Engine::RegisterLogicType<GoalBall>();

    // The match music asks which player an entity is.
    AudioLogic::SetPlayerNumberLookup(&Player_LogicComp::PlayerNumberOf);
    // The player's medals, shot flags and goal ball.
    FillPlayerAndReplayHooksFromBalls();
    // Forcefields and stun areas placed by perks, the peer and replays.
    FillPlayerAndReplayHooksFromPerkObjects();
}
