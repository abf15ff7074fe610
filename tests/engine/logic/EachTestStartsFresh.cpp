#include "engine/core/SceneManager.h"
#include "engine/logic/ComponentTypeRegistry.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/Factory.h"
#include "support/BeforeEachTest.h"
#include "support/EmptyScene.h"

namespace {

// The logic layer as a new process finds it: no type registered with the
// factory or the type table, no event entry (an entry that swallows every
// event would deafen the next test's listeners), and an empty, idle scene.
void FreshLogic()
{
    EmptyScene();
    Engine::SceneManager::Reset();
    Engine::Factory::GetInstance().Reset();
    ComponentTypeRegistry::GetInstance().Reset();
    Engine::EventHandlerList::Reset();
}

const BeforeEachTest kFreshLogic(&FreshLogic);

} // namespace
