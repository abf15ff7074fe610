// What each tutorial shows, as a few seconds of play. Times are seconds
// since the recording began; the players stand on the floor by then.
#include "tools/tutorials/Scripts.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/core/Transform.h"

#include <cmath>

namespace {

using Slot = InputBindings::Slot;

const glm::vec3 kEast(1.0f, 0.0f, 0.0f);
const glm::vec3 kWest(-1.0f, 0.0f, 0.0f);
const glm::vec3 kNorth(0.0f, 0.0f, -1.0f);
const glm::vec3 kUp(0.0f, 1.0f, 0.0f);

// A camera behind the player and above it, looking past it.
void Behind(Stage& s, int player, const glm::vec3& facing, float back, float high, float side = 0.0f)
{
    const glm::vec3 at = s.Position(player);
    const glm::vec3 across = glm::normalize(glm::cross(facing, kUp));
    s.View(at - facing * back + kUp * high + across * side, at + facing * 6.0f);
}

// A camera off to the player's side (towards +z), keeping it in the middle.
void Beside(Stage& s, int player, float away, float high)
{
    const glm::vec3 at = s.Position(player);
    s.View(at + glm::vec3(0.0f, high, away), at);
}

// Raise the tile ahead, then one beside it, then lower the first again.
void TileBending(Stage& s)
{
    const glm::vec3 p = s.Position(0);
    const glm::vec3 ahead = p + kEast * 8.0f - kUp * 3.0f;
    const glm::vec3 aside = p + kEast * 8.0f + kNorth * 5.0f - kUp * 3.0f;
    if (s.Between(0.0f, 1.5f) || s.Between(2.6f, 3.6f))
        s.Aim(0, ahead);
    else
        s.Aim(0, aside);
    if (s.Between(0.3f, 0.7f) || s.Between(1.7f, 2.0f))
        s.Hold(0, Slot::BendActivate);
    if (s.Between(2.8f, 3.0f))
        s.Hold(0, Slot::BendDeActivate);
    Behind(s, 0, kEast, 8.0f, 5.0f, 3.0f);
}

// Walk, then run the same way.
void Run(Stage& s)
{
    s.Face(0, kEast);
    s.Hold(0, Slot::Forward);
    if (s.Time() > 1.2f)
        s.Hold(0, Slot::Run);
    Beside(s, 0, 9.0f, 2.0f);
}

// A plain jump, then a jump off the tile rising underfoot.
void Rocket(Stage& s)
{
    s.Aim(0, s.Position(0) + kEast * 0.5f - kUp * 6.0f);
    if (s.Between(0.2f, 0.25f))
        s.Hold(0, Slot::Jump);
    if (s.Between(1.6f, 1.75f))
        s.Hold(0, Slot::BendActivate);
    if (s.Between(1.85f, 1.9f))
        s.Hold(0, Slot::Jump);
    s.View(glm::vec3(-10.0f, -8.0f, 20.0f), glm::vec3(-10.0f, -8.0f, 0.0f));
}

// Jump, and jump again at the top of the first jump.
void DoubleJump(Stage& s)
{
    s.Face(0, kEast);
    if (s.Time() > 0.2f && s.Time() < 1.6f)
        s.Hold(0, Slot::Forward);
    if (s.Between(0.3f, 0.35f) || s.Between(0.75f, 0.8f))
        s.Hold(0, Slot::Jump);
    Beside(s, 0, 12.0f, 1.0f);
}

// Raise the force field, then throw the ball at the wall so that it comes
// back at it.
void Shield(Stage& s)
{
    s.Face(0, kEast, 0.05f);
    if (s.Between(0.3f, 0.35f))
        s.Hold(0, Slot::Active);
    if (s.Between(0.9f, 0.95f))
        s.Hold(0, Slot::BallShoot);
    Behind(s, 0, kEast, 13.0f, 5.0f, 4.0f);
}

// Player 1 drops a trap and steps aside; player 2 runs into it.
void Stun(Stage& s)
{
    s.Face(0, kNorth);
    s.Face(1, kWest);
    if (s.Between(0.2f, 0.25f))
        s.Hold(0, Slot::Active);
    if (s.Between(0.3f, 0.8f))
        s.Hold(0, Slot::Forward);
    if (s.Time() > 0.9f)
        s.Hold(1, Slot::Forward);
    s.View(glm::vec3(-4.0f, -6.0f, 20.0f), glm::vec3(-5.0f, -15.0f, 0.0f));
}

// Player 1 charges its throw and lets go at player 2.
void ChargeShot(Stage& s)
{
    s.Aim(0, s.Position(1));
    if (s.Between(0.2f, 1.6f))
        s.Hold(0, Slot::BallShoot);
}

// Run and raise tiles until the energy runs dry.
void Energy(Stage& s)
{
    // Round and round, so the run stays on the floor.
    const float turn = 1.4f * s.Time();
    s.Face(0, glm::vec3(std::cos(turn), 0.0f, -std::sin(turn)), 0.2f);
    s.Hold(0, Slot::Forward);
    s.Hold(0, Slot::Run);
    if (s.Between(0.4f, 1.0f) || s.Between(1.8f, 2.4f))
        s.Hold(0, Slot::BendActivate);
}

// Throw the ball far ahead, then appear next to it.
void Teleport(Stage& s)
{
    s.Face(0, kEast, -0.02f);
    if (s.Between(0.2f, 0.25f))
        s.Hold(0, Slot::BallShoot);
    if (s.Between(0.8f, 0.85f))
        s.Hold(0, Slot::Active);
    s.View(glm::vec3(2.0f, -8.0f, 24.0f), glm::vec3(6.0f, -13.0f, 0.0f));
}

// Player 1 throws at player 2 and hits.
void ScorePoints(Stage& s)
{
    s.Aim(0, s.Position(1));
    if (s.Between(0.4f, 0.45f))
        s.Hold(0, Slot::BallShoot);
}

// The arena turns over, watched along its axis.
void EventRotate(Stage& s)
{
    if (s.Between(0.1f, 0.11f))
        s.StartEvent(GameState::ArenaFlip, 0.4f);
    s.View(glm::vec3(0.0f, 0.0f, 22.0f), glm::vec3(0.0f, -6.0f, -40.0f));
}

// Three tiles shoot out of their walls.
void EventPillars(Stage& s)
{
    if (s.Between(0.1f, 0.11f))
        s.StartEvent(GameState::CrashingTiles, 0.3f);
    s.View(glm::vec3(0.0f, 0.0f, 24.0f), glm::vec3(0.0f, -2.0f, -15.0f));
}

// The goal ball comes; player 1 throws at it.
void EventBall(Stage& s)
{
    if (s.Between(0.1f, 0.11f))
        s.StartEvent(GameState::GoalBallEvent, 0.3f);
    const auto goal = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName("GoalBall");
    if (!goal.empty()) {
        s.Aim(0, Engine::Transform::GetWorldPosition(goal.front()));
        if (s.Between(1.2f, 1.25f))
            s.Hold(0, Slot::BallShoot);
    }
}

Script Make(const char* file, int players, int focus, float seconds, void (*direct)(Stage&))
{
    Script script;
    script.file = file;
    script.players = players;
    script.focus = focus;
    script.seconds = seconds;
    script.direct = direct;
    return script;
}

std::vector<Script> BuildScripts()
{
    // Active perks: 0 teleport, 1 shield, 2 slow ball, 3 stun trap. Passive:
    // 0 double jump, 1 charged shot, 5 rocket jump.
    std::vector<Script> scripts;
    Script bending = Make("TileBending.json", 1, 0, 3.6f, &TileBending);
    bending.tileStride = 4;
    scripts.push_back(bending);
    scripts.push_back(Make("Run.json", 1, 0, 3.2f, &Run));
    Script rocket = Make("Rocket.json", 1, 0, 3.4f, &Rocket);
    rocket.passive[0] = 5;
    scripts.push_back(rocket);
    scripts.push_back(Make("DoubleJump.json", 1, 0, 2.6f, &DoubleJump));
    Script shield = Make("Shield.json", 1, 0, 3.0f, &Shield);
    shield.active[0] = 1;
    shield.warmUp = 8.2f;
    scripts.push_back(shield);
    Script stun = Make("Stun.json", 2, 1, 3.2f, &Stun);
    stun.active[0] = 3;
    stun.warmUp = 8.2f;
    stun.start[1] = glm::vec3(8.0f, 0.0f, 0.0f);
    scripts.push_back(stun);
    Script charge = Make("ChargeShot.json", 2, 1, 2.8f, &ChargeShot);
    charge.passive[0] = 1;
    scripts.push_back(charge);
    scripts.push_back(Make("Energy.json", 1, 1, 4.2f, &Energy));
    scripts.push_back(Make("Teleport.json", 1, 0, 2.4f, &Teleport));
    scripts.push_back(Make("ScorePoints.json", 2, 1, 2.4f, &ScorePoints));
    Script rotate = Make("EventRotate.json", 1, 0, 3.0f, &EventRotate);
    rotate.tileStride = 5;
    scripts.push_back(rotate);
    Script pillars = Make("EventPillars.json", 1, 0, 3.0f, &EventPillars);
    pillars.tileStride = 6;
    scripts.push_back(pillars);
    scripts.push_back(Make("EventBall.json", 2, 1, 3.0f, &EventBall));
    return scripts;
}

} // namespace

const std::vector<Script>& TutorialScripts()
{
    static const std::vector<Script> scripts = BuildScripts();
    return scripts;
}
