// The shield bubble of the peer's player. Until shields are built the peer's
// shield shows nothing here.
#include "game/components/PlayerLogicComp.h"

void Player_LogicComp::CreateShield() {}
