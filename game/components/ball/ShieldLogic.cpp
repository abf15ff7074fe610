#include "game/components/ball/ShieldLogic.h"

#include "engine/core/Transform.h"
#include "engine/logic/LogicManager.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/ball/TempBallComp.h"

namespace {

// The bubble floats a little above its owner's centre.
constexpr glm::vec3 kLift{0.0f, 0.5f, 0.0f};

TempBallComp* BallOf(Engine::EntityHandle ball)
{
    return ball.IsValid() ? Engine::LogicManager::GetCompPtr<TempBallComp>(ball) : nullptr;
}

// A mark goes only when it is this shield's: a newer shield keeps its own.
void Unmark(TempBallComp::ShieldMark& mark, Engine::EntityHandle shield)
{
    if (mark.shield == shield) {
        mark.set = false;
        mark.shield = Engine::EntityHandle();
    }
}

} // namespace

Engine::TypeNode* Shield_Logic::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<Shield_Logic, Engine::LogicComp>();
}

void Shield_Logic::Initialize()
{
    mTimer = 0.0f;
    mRemoved = false;
}

void Shield_Logic::Update()
{
    mTimer += PlayerFrame::Dt();
    if (mTimer > kLifetime || mRemoved) {
        Remove();
        return;
    }
    Engine::Transform::SetWorldPosition(owner, Engine::Transform::GetWorldPosition(mOwner) + kLift);
}

// The block mark is taken off the opponent's ball too, so that no entity
// that later takes this shield's slot inherits it.
void Shield_Logic::Remove()
{
    if (TempBallComp* own = BallOf(mOwnBall))
        Unmark(own->mPassThrough, owner);
    if (mOwnerPlayer.IsValid()) {
        if (const Player_LogicComp* player = Engine::LogicManager::GetCompPtr<Player_LogicComp>(mOwnerPlayer)) {
            if (TempBallComp* opponents = BallOf(player->mOpponentBall))
                opponents->mBlock.set = false;
        }
    }
    if (TempBallComp* opponents = BallOf(mOpponentBall))
        Unmark(opponents->mBlock, owner);
    owner.Destroy();
}
