#pragma once
#include "support/PrivateDisplay.h"
#include "PlayerScene.h"

#include "engine/core/Transform.h"
#include "game/components/tile/TileColourStates.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

// A player standing on a tile near the middle of the small floor, its bend
// mode keys bound to the digits 1 to 5, its radial menu built, facing one
// of its tile's neighbours across a flat edge (so that every mode's target
// lies well inside a tile).
class BendingScene : public PlayerScene {
protected:
    static constexpr std::array<SDL_Scancode, 5> kModeKeys = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3,
                                                               SDL_SCANCODE_4, SDL_SCANCODE_5};

    void SetUp() override
    {
        // Bending tests hold keys over many frames. On the shared display a
        // window of another test taking the focus makes SDL release every
        // key, and holding it again reads as a fresh press: a second raise.
        static const PrivateDisplay display;
        PlayerScene::SetUp();
        for (InputBindings& record : InputBindings::Records()) {
            for (std::size_t i = 0; i < kModeKeys.size(); ++i)
                record.codes[InputBindings::BendMode0 + i] = kModeKeys[i];
        }
        BeforeSpawn();
        home = MiddleTile();
        const glm::vec3 centre = Position(home);
        player = SpawnStanding({centre.x, 0.0f, centre.z}, gamepad);
        // A point 1.5 radii out lies on a neighbour: head for its centre.
        const glm::vec3 next = Position(NearestTileTo(centre + glm::vec3(1.0f, 0.0f, 0.3f) * 1.5f * TileRadius()));
        heading = glm::normalize(glm::vec3(next.x - centre.x, 0.0f, next.z - centre.z));
        // The view rests on the centre of the tile two steps along the
        // heading.
        viewPoint = TopOf(home) + heading * (2.0f * std::sqrt(3.0f) * TileRadius());
        LookAt(viewPoint);
        Frames(2);
    }

    // What a fixture needs between the floor and the player (a pad).
    virtual void BeforeSpawn() {}

    static float TileRadius() { return HexGrid::GetInstance().tileScale.x; }
    static const std::vector<Engine::EntityHandle>& Tiles() { return HexGrid::GetInstance().tiles; }

    // The tile whose centre lies nearest the point across the floor; that is
    // the tile the point stands on.
    static Engine::EntityHandle NearestTileTo(const glm::vec3& point)
    {
        auto across = [&](Engine::EntityHandle tile) {
            const glm::vec3 d = Position(tile) - point;
            return d.x * d.x + d.z * d.z;
        };
        return *std::min_element(Tiles().begin(), Tiles().end(),
                                 [&](auto a, auto b) { return across(a) < across(b); });
    }
    static Engine::EntityHandle MiddleTile()
    {
        glm::vec3 sum(0.0f);
        for (Engine::EntityHandle tile : Tiles())
            sum += Position(tile);
        return NearestTileTo(sum / static_cast<float>(Tiles().size()));
    }
    // The tiles nearest the player's, closest first.
    std::vector<Engine::EntityHandle> TilesAround(std::size_t count) const
    {
        std::vector<Engine::EntityHandle> tiles = Tiles();
        const glm::vec3 centre = Position(home);
        std::sort(tiles.begin(), tiles.end(), [&](auto a, auto b) {
            return glm::distance(Position(a), centre) < glm::distance(Position(b), centre);
        });
        tiles.resize(count);
        return tiles;
    }

    // The tile each mode should aim at, found from the floor's layout alone:
    // two tile radii ahead or behind, underfoot, and the one in view.
    Engine::EntityHandle ExpectedTile(int mode) const
    {
        const glm::vec3 at = Position(player);
        const float reach = 2.0f * TileRadius();
        switch (mode) {
        case 0:
            return NearestTileTo(at + heading * reach);
        case 1:
            return NearestTileTo(at - heading * reach);
        case 2:
            return NearestTileTo(at);
        default:
            return NearestTileTo(viewPoint);
        }
    }

    // Turns the camera so that a ray from the player's centre along its view
    // meets the point.
    void LookAt(const glm::vec3& point)
    {
        Engine::GameCamera& camera = Camera(player);
        const glm::vec3 direction = glm::normalize(point - Position(player));
        camera.SetTarget(camera.mPos.value + direction * 20.0f);
        camera.Update();
    }
    static glm::vec3 TopOf(Engine::EntityHandle tile)
    {
        return Position(tile) + glm::vec3(0.0f, Engine::Transform::ScalePtr(tile)->y, 0.0f);
    }

    // A mode key held for a frame, then a frame more for the aim to follow.
    void PickMode(int mode)
    {
        HoldKey(kModeKeys[static_cast<std::size_t>(mode)]);
        Frame();
        HoldKey(kModeKeys[static_cast<std::size_t>(mode)], false);
        Frame();
    }
    void HoldRightButton(bool down = true) { mouseButtons = down ? SDL_BUTTON_RMASK : 0u; }

    static TileLogicComponent& TileOf(Engine::EntityHandle tile)
    {
        return *Engine::LogicManager::GetCompPtr<TileLogicComponent>(tile);
    }
    static std::string HeightOf(Engine::EntityHandle tile)
    {
        return TileOf(tile).HeightMachine()->GetCurrentState()->GetName();
    }
    static bool IsSelected(Engine::EntityHandle tile)
    {
        return TileOf(tile).ColourMachine()->GetState<GoBack>()->selected;
    }
    float EnergyLeft() const { return Component(player).Energy.value; }

    bool gamepad = false;
    Engine::EntityHandle home;
    Engine::EntityHandle player;
    glm::vec3 heading{1.0f, 0.0f, 0.0f};
    glm::vec3 viewPoint{0.0f};
};
