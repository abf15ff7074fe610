#pragma once
#include "engine/core/CompManager.h"
#include "engine/core/EntityManager.h"

// The scene as a new process finds it: no component in any manager, and
// every entity index free, first index first, at generation 0.
inline void EmptyScene()
{
    Engine::ICompManager::ClearAll();
    Engine::EntityMgr::GetInstance().Reset();
}
