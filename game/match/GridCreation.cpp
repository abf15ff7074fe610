#include "game/match/GridCreation.h"

#include "engine/collision/CollisionTable.h"
#include "engine/collision/SpatialCollisionMgr.h"
#include "engine/core/ArchetypeRegistry.h"
#include "engine/core/EntityManager.h"
#include "engine/core/Random.h"
#include "engine/core/Transform.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/LogicManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/InstancedRenderableManager.h"
#include "game/arena/HexGrid.h"
#include "game/arena/Palette.h"
#include "game/components/tile/TileColumns.h"
#include "game/components/tile/TileLogicComponent.h"
#include "game/match/FloorTileArchetype.h"
#include "game/match/LevelRecord.h"

#include <GL/glew.h>
#include <algorithm>
#include <iostream>

namespace GridCreation {
namespace {

constexpr std::uint32_t kDefaultRows = 10;
constexpr HexGrid::SideValues kDefaultCols = {19, 34, 19, 19, 34, 19};
const glm::vec3 kDefaultTileScale{2.5f, 40.0f, 2.5f};

bool ValidSide(int side) { return side >= 0 && side < HexLayout::kSideCount; }

// Tiles pass through each other: they are never tested against one another.
void EnsureTileTag()
{
    Engine::CollisionTable& table = Engine::CollisionTable::GetInstance();
    table.AddTag("Tile");
    table.SetPair("Tile", "Tile", Engine::CollisionTable::kIgnore);
}

// Without a GL context (tools, benchmarks) the arena is built all the same;
// only its instance buffers wait for the first draw.
bool GraphicsReady() { return glGenBuffers != nullptr; }

void LoadArenaPalette()
{
    const NetworkMgr& network = NetworkMgr::GetInstance();
    const bool client = network.connected && !network.server;
    if (!client)
        PaletteIndex = Engine::Random::Next() % static_cast<int>(kArenaPaletteCount);
    if (PaletteIndex < 0 || PaletteIndex >= static_cast<std::int32_t>(kArenaPaletteCount)) {
        std::cerr << "[GridCreation] No arena palette " << PaletteIndex << "; the colours stay as they were.\n";
        return;
    }
    CurrentPalette.LoadFromFile(kArenaPaletteFiles[PaletteIndex]);
}

Engine::EntityHandle CreateFloor()
{
    const Engine::EntityHandle group = Engine::EntityMgr::GetInstance().CreateEntity();
    Engine::InstancedRenderable* floor = Engine::InstancedRenderableManager::GetInstance().AddComponent(group).component;
    if (!floor)
        return group;
    floor->mModelName.value = "Hexagon";
    floor->mShaderName.value = "Default_Instanced";
    floor->mMaterialName.value = "TileNoBlur";
    floor->mCameraTarget.value = -1;
    floor->ResolveResources();
    return group;
}

// Every tile becomes an instance of the floor and learns its number.
void NumberTiles(HexGrid& grid)
{
    Engine::InstancedRenderable* floor = Engine::InstancedRenderableManager::GetInstance().GetCompPtr(grid.floor);
    for (std::size_t i = 0; i < grid.tiles.size(); ++i) {
        if (floor)
            floor->AddInstance(grid.tiles[i]);
        if (TileLogicComponent* tile = Engine::LogicManager::GetCompPtr<TileLogicComponent>(grid.tiles[i]))
            tile->mTileNumber = i;
    }
    if (floor && GraphicsReady())
        floor->SetupInstanceBuffers();
}

// A tile made from the archetype, placed on its side; null when no entity
// is free or the archetype is missing.
Engine::EntityHandle MakeTile(const std::string& archetype, const glm::vec3& position, const SideAxes& axes,
                              Engine::EntityHandle sideEntity)
{
    Engine::EntityHandle tile = Engine::EntityMgr::GetInstance().CreateEntity();
    if (tile.IsNull())
        return tile;
    if (!Engine::ArchetypeRegistry::GetInstance().LoadArchetype(archetype, tile)) {
        FloorTileArchetype::DiscardNow(tile);
        return Engine::EntityHandle();
    }
    Engine::Transform::PositionRef(tile) = position;
    Engine::Transform::UpRef(tile) = axes.up;
    Engine::Transform::ForwardRef(tile) = axes.forward;
    Engine::Transform::SetParent(tile, sideEntity);
    Engine::SpatialCollisionMgr::GetInstance().UpdateCollider(tile);
    return tile;
}

} // namespace

void SetDefaultSettings()
{
    HexGrid& grid = HexGrid::GetInstance();
    grid.rows.fill(kDefaultRows);
    grid.cols = kDefaultCols;
    grid.sideOffset.fill(0.0f);
    for (int side = 0; side < HexLayout::kSideCount; ++side)
        grid.sideCentres[side] = HexLayout::kSides[side].centre;
    grid.tileScale = kDefaultTileScale;
    grid.immovableTiles.clear();
    grid.goalTile = -1;
    EnsureTileTag();
    for (std::vector<std::int32_t>& edges : grid.edgeTiles)
        edges.clear();
}

void CreateGrid()
{
    HexGrid& grid = HexGrid::GetInstance();
    LoadArenaPalette();
    EnsureTileTag();
    FloorTileArchetype::CreateFloorTiles(kTileArchetype, grid.tileScale);
    ClearGrid();
    InitSideSlots();
    grid.floor = CreateFloor();
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        const std::vector<Engine::EntityHandle> made = CreateTiles(grid.rows[side], grid.cols[side], grid.sideOffset[side],
                                                                   grid.sideCentres[side], side, kTileArchetype,
                                                                   grid.sides[side]);
        grid.tiles.insert(grid.tiles.end(), made.begin(), made.end());
    }
    for (int side = 0; side < HexLayout::kSideCount; ++side) {
        const Engine::EntityHandle entity = grid.sides[side];
        grid.sideFrames[side] = {*Engine::Transform::ForwardPtr(entity), *Engine::Transform::UpPtr(entity),
                                 Engine::Transform::GetRight(entity)};
    }
    NumberTiles(grid);
    TileColumns::ForgetTheSaidMismatch();
    NetworkMgr::GetInstance().tile_count = static_cast<std::uint32_t>(grid.tiles.size());
}

void ClearGrid()
{
    HexGrid& grid = HexGrid::GetInstance();
    if (grid.tiles.empty())
        return;
    Engine::EntityMgr& entities = Engine::EntityMgr::GetInstance();
    for (const Engine::EntityHandle& tile : grid.tiles) {
        if (tile.IsValid())
            entities.DestroyEntity(tile);
    }
    for (const Engine::EntityHandle& side : grid.sides) {
        if (!side.IsNull())
            entities.DestroyEntity(side);
    }
    entities.DestroyEntity(grid.floor);
    grid.floor = Engine::EntityHandle();
    grid.tiles.clear();
    grid.sides.clear();
}

void InitSideSlots()
{
    HexGrid& grid = HexGrid::GetInstance();
    grid.sides.assign(HexLayout::kSideCount, Engine::EntityHandle());
    grid.sideFrames.assign(HexLayout::kSideCount, HexGrid::Frame{});
    for (Engine::EntityHandle& side : grid.sides) {
        side = Engine::EntityMgr::GetInstance().CreateEntity();
        Engine::TransformCompManager::GetInstance().AddComponent(side);
    }
}

SideAxes ComputeSideAxes(int side, const std::string& archetype)
{
    glm::vec3 scale = HexGrid::GetInstance().tileScale;
    const Engine::EntityHandle probe = Engine::EntityMgr::GetInstance().CreateEntity();
    if (!probe.IsNull()) {
        if (Engine::ArchetypeRegistry::GetInstance().LoadArchetype(archetype, probe))
            scale = *Engine::Transform::ScalePtr(probe);
        FloorTileArchetype::DiscardNow(probe);
    }
    const HexLayout::SideFrame& frame = HexLayout::kSides[ValidSide(side) ? side : 0];
    return {scale.x, frame.up, frame.forward, glm::normalize(frame.rowAxis) * 2.0f * scale.x,
            glm::normalize(frame.columnAxis) * 2.0f * scale.z};
}

std::vector<Engine::EntityHandle> CreateTiles(std::uint32_t rows, std::uint32_t cols, float /*offset*/,
                                              const glm::vec3& centre, int side, const std::string& archetype,
                                              Engine::EntityHandle sideEntity)
{
    HexGrid& grid = HexGrid::GetInstance();
    const SideAxes axes = ComputeSideAxes(side, archetype);
    const std::uint64_t first = grid.tiles.size();
    std::vector<Engine::EntityHandle> made;
    std::vector<std::int32_t> edges;
    for (std::uint32_t j = 0; j < cols; ++j) {
        for (std::uint32_t i = 0; i < rows; ++i) {
            if (j % 2 == 1 && i + 1 == rows)
                continue;
            const glm::vec3 position =
                HexLayout::TilePosition(centre, axes.rowAxis, axes.columnAxis, axes.tileSize, rows, cols, j, i);
            const Engine::EntityHandle tile = MakeTile(archetype, position, axes, sideEntity);
            if (tile.IsNull()) {
                std::cerr << "GRIDCREATION: Not able to load an archetype into the entity " << j << " " << i << "\n";
                if (ValidSide(side))
                    grid.edgeTiles[side] = std::move(edges);
                return made;
            }
            made.push_back(tile);
            if (HexLayout::IsEdgeTile(rows, cols, j, i))
                edges.push_back(static_cast<std::int32_t>(first + HexLayout::TileIndexInSide(rows, j, i)));
        }
    }
    if (ValidSide(side))
        grid.edgeTiles[side] = std::move(edges);
    return made;
}

Engine::EntityHandle RandomTile()
{
    const HexGrid& grid = HexGrid::GetInstance();
    const int side = Engine::Random::RangeInt(0, HexLayout::kSideCount - 1);
    const std::uint32_t rows = grid.rows[side];
    const std::uint32_t cols = grid.cols[side];
    // The picks need columns 2 to K - 3 and rows 1 to R - 3.
    if (cols < 5 || rows < 4)
        return Engine::EntityHandle();
    const auto column = static_cast<std::uint32_t>(Engine::Random::RangeInt(2, static_cast<int>(cols) - 3));
    const auto row = static_cast<std::uint32_t>(Engine::Random::RangeInt(1, static_cast<int>(rows) - 3));
    std::uint64_t number = HexLayout::TileIndexInSide(rows, column, row);
    for (int before = 0; before < side; ++before)
        number += HexLayout::SideTileCount(grid.rows[before], grid.cols[before]);
    return grid.Tile(number);
}

void RotateSide(int side, const glm::vec3& axis, float angle)
{
    const HexGrid& grid = HexGrid::GetInstance();
    if (ValidSide(side) && static_cast<std::size_t>(side) < grid.sides.size())
        Engine::Transform::Rotate(grid.sides[side], angle, axis);
}

void CopySettings(Net::LevelRecord& record)
{
    const HexGrid& grid = HexGrid::GetInstance();
    LevelRecord::Settings settings;
    settings.tileScale = grid.tileScale;
    settings.rows = grid.rows;
    settings.cols = grid.cols;
    settings.sideOffset = grid.sideOffset;
    settings.sideCentres = grid.sideCentres;
    settings.immovableTiles = grid.immovableTiles;
    settings.paletteIndex = static_cast<std::uint32_t>(PaletteIndex);
    LevelRecord::WriteArena(record, settings);
}

bool ApplyLevelSettings(const Net::LevelRecord& record)
{
    const Net::Decoded<LevelRecord::Settings> decoded = LevelRecord::Read(record);
    if (!decoded) {
        std::cerr << "[GridCreation] Level record refused: " << decoded.problem << ".\n";
        return false;
    }
    const LevelRecord::Settings& settings = decoded.record;
    HexGrid& grid = HexGrid::GetInstance();
    grid.tileScale = settings.tileScale;
    grid.rows = settings.rows;
    grid.cols = settings.cols;
    grid.sideOffset = settings.sideOffset;
    grid.sideCentres = settings.sideCentres;
    grid.immovableTiles = settings.immovableTiles;
    PaletteIndex = static_cast<std::int32_t>(settings.paletteIndex);
    return true;
}

} // namespace GridCreation
