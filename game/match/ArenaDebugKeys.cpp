#include "game/match/ArenaDebugKeys.h"

#include "engine/core/InputManager.h"
#include "engine/core/SceneManager.h"
#include "engine/platform/WaitingInput.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/match/ModeSteps.h"

#include <SDL.h>
#include <iomanip>
#include <sstream>

namespace ArenaDebugKeys {
namespace {

constexpr int kLongestWord = 100;

void Host()
{
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::SetCreation();
    GameScene::StartServer();
}

void Join(GameState& state, const std::string& address)
{
    Engine::SceneManager::SetIdle();
    Engine::SceneManager::SetCreation();
    state.joinAddress = address;
    GameScene::StartClient(state);
}

} // namespace

std::optional<std::string> ReadJoinAddress(std::istream& in)
{
    std::string word;
    if (!(in >> std::setw(kLongestWord) >> word) || word.empty())
        return std::nullopt;
    if (word == "c")
        word = "127.0.0.1";
    if (word.size() > GameState::kMaxJoinAddressLength)
        word.resize(GameState::kMaxJoinAddressLength);
    return word;
}

void Update(GameState& state)
{
    const Engine::InputManager& input = Engine::InputManager::GetInstance();
    if (input.IsKeyTriggered(SDL_SCANCODE_F6)) {
        Host();
    } else if (input.IsKeyTriggered(SDL_SCANCODE_F7)) {
        // Only what was typed already: the frame must never wait for the
        // console, which nobody may be watching.
        std::istringstream typed(Engine::Platform::TakeWaitingInput());
        const std::optional<std::string> address = ReadJoinAddress(typed);
        if (!address)
            return;
        Join(state, *address);
    } else {
        return;
    }
    // The scene starts over as the link found it.
    StartBuiltScene();
}

} // namespace ArenaDebugKeys
