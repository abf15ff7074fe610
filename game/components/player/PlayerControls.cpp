#include "game/components/player/PlayerControls.h"

#include "engine/core/InputManager.h"

PlayerControls::PlayerControls(Engine::EntityHandle player, int playerNumber)
    : mPlayer(player), mBindings(&InputBindings::ForPlayer(playerNumber))
{
}

bool PlayerControls::Held(Slot keys, Slot pad) const { return Ask(UsesController() ? pad : keys, Query::Down); }

bool PlayerControls::Triggered(Slot keys, Slot pad) const
{
    return Ask(UsesController() ? pad : keys, Query::Triggered);
}

bool PlayerControls::Released(Slot keys, Slot pad) const
{
    return Ask(UsesController() ? pad : keys, Query::Released);
}

glm::vec2 PlayerControls::LeftStick() const
{
    return glm::vec2(Engine::InputManager::GetInstance().GetLeftStick(mPlayer));
}

glm::vec2 PlayerControls::RightStick() const
{
    return glm::vec2(Engine::InputManager::GetInstance().GetRightStick(mPlayer));
}

bool PlayerControls::Ask(Slot slot, Query query) const
{
    const Engine::InputManager& input = Engine::InputManager::GetInstance();
    const std::uint32_t code = mBindings->Code(slot);
    switch (InputBindings::Info(slot).kind) {
    case InputBindings::Kind::Keyboard: {
        const auto key = static_cast<std::int32_t>(code);
        return query == Query::Down        ? input.IsKeyDown(key)
               : query == Query::Triggered ? input.IsKeyTriggered(key)
                                           : input.IsKeyReleased(key);
    }
    case InputBindings::Kind::Mouse:
        return query == Query::Down        ? input.IsMouseDown(code)
               : query == Query::Triggered ? input.IsMouseTriggered(code)
                                           : input.IsMouseReleased(code);
    case InputBindings::Kind::Controller: {
        const std::uint8_t button = mBindings->Button(slot);
        return query == Query::Down        ? input.IsButtonDown(button, mPlayer)
               : query == Query::Triggered ? input.IsButtonTriggered(button, mPlayer)
                                           : input.IsButtonReleased(button, mPlayer);
    }
    }
    return false;
}
