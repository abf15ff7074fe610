#include "engine/core/InputManager.h"

namespace Engine {

SDL_GameController* InputManager::FindController(std::int32_t id) const
{
    auto found = mControllers.find(id);
    return found == mControllers.end() ? nullptr : found->second;
}

SDL_GameController* InputManager::BoundController(EntityHandle entity) const
{
    auto bound = mEntityControllers.find(entity);
    return bound == mEntityControllers.end() ? nullptr : FindController(bound->second);
}

bool InputManager::IsIdBound(std::int32_t id) const
{
    for (const auto& [entity, boundId] : mEntityControllers) {
        if (boundId == id)
            return true;
    }
    return false;
}

// SDL reports one added event per controller, and also one for every
// controller already attached when the subsystem starts; each device is
// opened once, however many such events arrive.
void InputManager::OpenNewControllers()
{
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        if (!SDL_IsGameController(index))
            continue;
        const std::int32_t id = SDL_JoystickGetDeviceInstanceID(index);
        if (id < 0 || mControllers.contains(id))
            continue;
        SDL_GameController* controller = SDL_GameControllerOpen(index);
        if (!controller)
            continue;
        mControllers[id] = controller;
        mSticks[controller] = Sticks{};
        // The first player left without its controller takes this one.
        for (auto& [entity, boundId] : mEntityControllers) {
            if (!mControllers.contains(boundId)) {
                boundId = id;
                break;
            }
        }
    }
}

void InputManager::ForgetController(std::int32_t id)
{
    SDL_GameController* controller = FindController(id);
    if (!controller)
        return;
    for (const auto& [entity, boundId] : mEntityControllers) {
        if (boundId == id) {
            if (mHost.controllerLost)
                mHost.controllerLost(entity);
            break;
        }
    }
    // Its button states go too: SDL may hand the same address to the next
    // controller, which must not start with buttons held.
    mSticks.erase(controller);
    mCurrentButtons.erase(controller);
    mPreviousButtons.erase(controller);
    mControllers.erase(id);
    SDL_GameControllerClose(controller);
}

bool InputManager::AssignController(EntityHandle entity)
{
    if (mEntityControllers.contains(entity))
        return true;
    for (const auto& [id, controller] : mControllers) {
        if (!IsIdBound(id)) {
            mEntityControllers[entity] = id;
            return true;
        }
    }
    return false;
}

bool InputManager::ReleaseController(EntityHandle entity) { return mEntityControllers.erase(entity) > 0; }

int InputManager::GetPlayerCount() const
{
    int count = 0;
    for (const auto& [entity, id] : mEntityControllers) {
        if (mControllers.contains(id))
            ++count;
    }
    return count;
}

std::int32_t InputManager::StateOf(const std::map<SDL_GameController*, ButtonStates>& table,
                                   SDL_GameController* controller, std::uint8_t button)
{
    auto buttons = table.find(controller);
    if (buttons == table.end())
        return 0;
    auto state = buttons->second.find(button);
    return state == buttons->second.end() ? 0 : state->second;
}

bool InputManager::IsControllerButtonDown(std::uint8_t button, SDL_GameController* controller) const
{
    return StateOf(mCurrentButtons, controller, button) >= 1;
}

// Down now and up before; a button held back last frame read up.
bool InputManager::IsControllerButtonTriggered(std::uint8_t button, SDL_GameController* controller) const
{
    return StateOf(mCurrentButtons, controller, button) == 1 && StateOf(mPreviousButtons, controller, button) < 1;
}

bool InputManager::IsControllerButtonReleased(std::uint8_t button, SDL_GameController* controller) const
{
    return mCurrentButtons.contains(controller) && StateOf(mCurrentButtons, controller, button) == 0 &&
           StateOf(mPreviousButtons, controller, button) >= 1;
}

glm::vec3 InputManager::StickOf(SDL_GameController* controller, std::size_t stick) const
{
    auto sticks = mSticks.find(controller);
    return sticks == mSticks.end() ? glm::vec3(0.0f) : sticks->second[stick];
}

glm::vec3 InputManager::GetControllerLeftStick(SDL_GameController* controller) const { return StickOf(controller, 0); }

bool InputManager::IsPlayerButtonTriggered(std::uint8_t button, std::int32_t controllerId) const
{
    SDL_GameController* controller = FindController(controllerId);
    return controller && IsControllerButtonTriggered(button, controller);
}

bool InputManager::IsButtonDown(std::uint8_t button, EntityHandle entity) const
{
    SDL_GameController* controller = BoundController(entity);
    return controller && IsControllerButtonDown(button, controller);
}

bool InputManager::IsButtonTriggered(std::uint8_t button, EntityHandle entity) const
{
    SDL_GameController* controller = BoundController(entity);
    return controller && IsControllerButtonTriggered(button, controller);
}

bool InputManager::IsButtonReleased(std::uint8_t button, EntityHandle entity) const
{
    SDL_GameController* controller = BoundController(entity);
    return controller && IsControllerButtonReleased(button, controller);
}

glm::vec3 InputManager::GetLeftStick(EntityHandle entity) const { return StickOf(BoundController(entity), 0); }

glm::vec3 InputManager::GetRightStick(EntityHandle entity) const { return StickOf(BoundController(entity), 1); }

} // namespace Engine
