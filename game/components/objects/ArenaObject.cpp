#include "game/components/objects/ArenaObject.h"

#include "engine/collision/CollisionComp.h"
#include "engine/collision/CollisionTable.h"
#include "engine/render/AlphaRenderCompManager.h"
#include "game/arena/MatchRecorder.h"

namespace ArenaObject {

void TagBody(Engine::CollisionComp& body, const char* tag, std::initializer_list<Pair> pairs)
{
    Engine::CollisionTable& table = Engine::CollisionTable::GetInstance();
    table.AddTag(tag);
    body.SetCollisionType(tag);
    for (const Pair& pair : pairs)
        table.SetPair(tag, pair.other, pair.relation);
}

Engine::RenderCompBase& SeeThrough(Engine::EntityHandle entity, const char* model, const char* shader,
                                   const char* material)
{
    Engine::RenderCompBase& look = *Engine::AlphaRenderCompManager::GetInstance().AddComponent(entity).component;
    look.mModelName.value = model;
    look.mShaderName.value = shader;
    look.mMaterialName.value = material;
    return look;
}

MatchFrame* ReplayedFrame()
{
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    return recorder.IsReplaying() ? recorder.PlaybackFront() : nullptr;
}

} // namespace ArenaObject
