#include "game/components/objects/LevelLoader.h"

#include "engine/core/EntityTagCompManager.h"
#include "game/arena/GameModeFlags.h"

template <class Self>
void TagTrigger<Self>::OnCollisionEvent(Engine::CollisionEvent* event)
{
    if (event && Engine::EntityTagCompManager::GetInstance().HasTag(event->other, mTriggerTag))
        Self::Flag() = 1;
}

template class TagTrigger<LevelLoader>;
template class TagTrigger<LevelLoader2>;

Engine::TypeNode* LevelLoader::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<LevelLoader, Engine::LogicComp>();
}

std::uint8_t& LevelLoader::Flag() { return GameMode::EndRequested; }

Engine::TypeNode* LevelLoader2::RegisterClassType()
{
    return Engine::TypeRegistry::RegisterUnder<LevelLoader2, Engine::LogicComp>();
}

std::uint8_t& LevelLoader2::Flag() { return GameMode::LevelLoader2Triggered; }
