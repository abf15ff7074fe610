#pragma once
#include "engine/collision/CollisionMgr.h"
#include "engine/collision/CollisionTable.h"

// The collision table as the engine's start leaves it: the collision
// manager's "Default" alone, value 0, colliding with itself. The table lives
// as long as the process, and tags and pairs that a test set would meet the
// next one.
inline void FreshCollisionTable()
{
    Engine::CollisionMgr::GetInstance();
    Engine::CollisionTable::Contents none;
    Engine::CollisionTable::GetInstance().SwapContents(none);
    Engine::CollisionTable::GetInstance().AddTag("Default");
}
