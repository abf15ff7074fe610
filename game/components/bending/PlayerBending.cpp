#include "game/components/bending/PlayerBending.h"

#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/EntityTagCompManager.h"
#include "engine/core/Transform.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/Camera.h"
#include "game/components/shared/PlayerFrame.h"
#include "game/components/player/PlayerLogicComp.h"
#include "game/components/tile/TileLogicComponent.h"

namespace PlayerBending {

int SliceOfMode(std::int32_t mode)
{
    constexpr int kSlices[] = {1, 3, 0, 2};
    return mode >= 0 && mode < 4 ? kSlices[mode] : -1;
}

Engine::EntityHandle TileAlong(const glm::vec3& from, const glm::vec3& direction)
{
    const Engine::RayHit hit = Engine::SpatialCollisionMgr::GetInstance().RayCast(from, direction);
    if (hit.distance < 0.0f || !Engine::EntityTagCompManager::GetInstance().HasTag(hit.entity, "Tile"))
        return Engine::EntityHandle();
    return hit.entity;
}

void SwitchMode(Player_LogicComp& player, std::int32_t mode)
{
    if (mode == player.mBendMode)
        return;
    if (player.mBendMode == Gather)
        LetGoOfGathered(player);
    else
        AimAt(player, Engine::EntityHandle());
    player.mBendMode = mode;
}

void LetGoOfGathered(Player_LogicComp& player)
{
    for (Engine::EntityHandle tile : player.mDraggedTiles)
        TileLogicComponent::SetSelected(tile, false);
    player.mDraggedTiles.clear();
}

void AimAt(Player_LogicComp& player, Engine::EntityHandle tile)
{
    if (!tile.IsNull()) {
        if (Engine::GameCamera* camera = PlayerFrame::CameraOf(player.mCamera))
            camera->selectionPoint =
                Engine::Transform::GetWorldPosition(tile) + *Engine::Transform::UpPtr(tile) * Engine::Transform::ScalePtr(tile)->y;
    }
    // Handles compare by index: a tile destroyed and its slot reused is
    // another tile. The same tile is lit again, since another player's aim
    // leaving it unlights it, and an unlit tile does not take the move paid
    // for.
    const bool same = tile == player.mAimedTile && tile.GetGeneration() == player.mAimedTile.GetGeneration();
    if (same) {
        TileLogicComponent::SetSelected(tile, true);
        return;
    }
    TileLogicComponent::SetSelected(player.mAimedTile, false);
    player.mAimedTile = tile;
    TileLogicComponent::SetSelected(tile, true);
}

void TellThePeer(TileLogicComponent& tile, std::int32_t level, std::uint32_t direction)
{
    NetworkMgr& network = NetworkMgr::GetInstance();
    if (!network.connected || !network.setup_exchanged)
        return;
    Net::TileBend record;
    record.tile = static_cast<std::uint32_t>(tile.mTileNumber);
    record.level = static_cast<std::uint32_t>(level);
    record.position = Engine::Transform::GetWorldPosition(tile.GetOwner());
    record.direction = direction;
    network.send_type_2(record);
    tile.NoteBendSent();
}

} // namespace PlayerBending
