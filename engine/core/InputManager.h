#pragma once
#include "engine/core/EntityHandle.h"

#include <SDL.h>
#include <array>
#include <cstdint>
#include <functional>
#include <glm/glm.hpp>
#include <map>
#include <span>
#include <utility>
#include <vector>

namespace Engine {

// What the input manager needs from the layers above the core: the main
// window, where its new size goes, who hears of an unplugged controller, and
// whether the window has keyboard focus. The engine object installs the real
// ones at start-up; tests install their own.
struct InputHost {
    SDL_Window* window = nullptr;
    // The main window's new client size, from a resize event.
    std::function<void(int width, int height)> resized;
    // The controller bound to this entity was unplugged.
    std::function<void(EntityHandle entity)> controllerLost;
    // Unset: SDL's keyboard focus is the main window. Xvfb without a window
    // manager may never hand out focus, so tests replace it.
    std::function<bool()> keyboardFocus;
    // Unset: SDL's mouse state (button mask; position through x and y).
    // SDL takes no made-up buttons, so tests that press them hand in their
    // own state here.
    std::function<std::uint32_t(int* x, int* y)> mouseState;
};

// The single owner of raw input: keyboard, mouse and game controllers, each
// as this frame's state and a copy of the previous frame's, so callers can
// ask for down, triggered (pressed this frame) and released (let go this
// frame). Update pumps SDL's event queue once a frame; EndFrame, called just
// before it, turns the current state into the previous one.
//
// A key or button that went down during the pump reads down for that frame
// even when it was let go within the same pump: a tap shorter than a frame
// is triggered in its frame and released in the next, as a one-frame press
// would be, instead of being lost between two snapshots.
//
// Controllers are opened once each and kept under SDL's joystick instance id,
// which is also the id their button, axis and removal events carry. Player
// entities bind to a controller id; a binding outlives an unplug so that the
// next controller plugged in takes the entity back.
class InputManager {
public:
    // Two triggers act as extra controller buttons.
    static constexpr std::uint8_t kLeftTriggerButton = 15;
    static constexpr std::uint8_t kRightTriggerButton = 16;
    // Stick and trigger travel below this reads as rest.
    static constexpr int kDeadZone = 8000;
    static constexpr int kMouseButtonCount = 5;

    using ControllerMap = std::map<std::int32_t, SDL_GameController*>;

    // Built on the heap on first call and kept for the whole run.
    static InputManager& GetInstance();

    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    // Takes SDL's keyboard state and starts the game-controller subsystem;
    // without it keyboard and mouse still work. Controllers are opened by the
    // first pump, from SDL's added-device events. Forgets earlier frames
    // (StartOver).
    void Init();
    // No quit asked for, no mouse button, position or motion remembered,
    // and the keys down now taken as the last frame's: what earlier frames
    // left must not reach a new start. SDL and the controllers stay as
    // they are.
    void StartOver();
    void SetHost(InputHost host) { mHost = std::move(host); }
    const InputHost& GetHost() const { return mHost; }

    void EndFrame();
    // The event pump.
    void Update();

    // What the hands do now was meant for something the game is done with
    // (a menu that closes over the play). Every key, mouse button and
    // controller button down now reads up, neither pressed nor let go,
    // until it has been let go; the mouse's motion reads none until the
    // mouse has been captured through a whole pump: neither the pointer
    // moved over the menu nor what was queued while it was captured again
    // turns a view. A tap the pump took is over: it reads up, and a press
    // after it is a press. Keys in `keysLeftAlone` and controller buttons in
    // `padButtonsLeftAlone` (a walk or a run that goes on) read on as they
    // are.
    void HoldBackUntilLetGo(std::span<const std::int32_t> keysLeftAlone = {},
                            std::span<const std::uint8_t> padButtonsLeftAlone = {});

    // Scancodes outside SDL's keyboard array are never down.
    bool IsKeyDown(std::int32_t scancode) const;
    bool IsKeyTriggered(std::int32_t scancode) const;
    bool IsKeyReleased(std::int32_t scancode) const;

    // Buttons 0 left, 1 right, 2 middle, 3 and 4 the extras; any other number
    // is never down.
    bool IsMouseDown(std::uint32_t button) const;
    bool IsMouseTriggered(std::uint32_t button) const;
    bool IsMouseReleased(std::uint32_t button) const;

    // Pixels from the window centre, y up: the previous frame's position, and
    // this frame's.
    glm::vec2 GetMousePosition() const;
    glm::vec2 UpdateMousePosition() const;
    // How far the mouse moved in this frame's pump, y up: the sum of every
    // motion event the pump took, zero when it took none. A mouse reports
    // many small moves a frame, as many the same as not.
    glm::vec2 GetMouseDelta() const;

    bool IsQuitRequested() const { return mQuitRequested; }
    // The menu's quit action. A request is never withdrawn.
    void RequestQuit() { mQuitRequested = true; }

    // True: absolute mouse with the cursor shown (menus). False: relative mouse
    // mode with the cursor hidden (gameplay).
    bool cursorVisible = true;
    // Set while a player's radial menu shows its pointer: the mouse stays
    // absolute so the pointer can be aimed, whatever cursorVisible says.
    bool menuPointerShown = false;

    bool HasKeyboardFocus() const;

    // True at once for an entity already bound; otherwise binds it to the
    // lowest open controller id no entity uses. False when none is free.
    bool AssignController(EntityHandle entity);
    // False when the entity had no binding.
    bool ReleaseController(EntityHandle entity);
    // Player entities bound to a controller that is plugged in.
    int GetPlayerCount() const;
    const ControllerMap& GetPlayerControllers() const { return mControllers; }

    bool IsControllerButtonDown(std::uint8_t button, SDL_GameController* controller) const;
    bool IsControllerButtonTriggered(std::uint8_t button, SDL_GameController* controller) const;
    bool IsControllerButtonReleased(std::uint8_t button, SDL_GameController* controller) const;
    glm::vec3 GetControllerLeftStick(SDL_GameController* controller) const;
    // False when no open controller has the id.
    bool IsPlayerButtonTriggered(std::uint8_t button, std::int32_t controllerId) const;

    // On the controller bound to the entity; false or zero without one. A
    // query never binds anything.
    bool IsButtonDown(std::uint8_t button, EntityHandle entity) const;
    bool IsButtonTriggered(std::uint8_t button, EntityHandle entity) const;
    bool IsButtonReleased(std::uint8_t button, EntityHandle entity) const;
    glm::vec3 GetLeftStick(EntityHandle entity) const;
    glm::vec3 GetRightStick(EntityHandle entity) const;

    // The event most recently taken from SDL's queue; raw-event handlers read
    // it during their walk.
    const SDL_Event& GetLastEvent() const { return mLastEvent; }

private:
    using ButtonStates = std::map<std::uint8_t, std::int32_t>;
    using Sticks = std::array<glm::vec3, 2>;

    InputManager() = default;

    void ApplyCursorMode();
    void HandleEvent(const SDL_Event& event);
    void HandleWindowEvent(const SDL_WindowEvent& event);
    void ForgetLastPump();
    void LetGoOfHeldBack(std::uint32_t mouseHeld, bool capturedThrough);
    void HandleKey(const SDL_KeyboardEvent& event);
    void HandleButton(const SDL_ControllerButtonEvent& event, bool down);
    void HandleAxis(const SDL_ControllerAxisEvent& event);
    void SetPadButton(std::int32_t id, std::uint8_t button, bool down);
    void OpenNewControllers();
    void ForgetController(std::int32_t id);
    bool IsMainWindowEvent(const SDL_Event& event) const;
    glm::vec2 FromWindowCentre(const std::array<int, 2>& position) const;

    SDL_GameController* FindController(std::int32_t id) const;
    SDL_GameController* BoundController(EntityHandle entity) const;
    // Stick 0 left, 1 right; zero for a controller that is not open.
    glm::vec3 StickOf(SDL_GameController* controller, std::size_t stick) const;
    bool IsIdBound(std::int32_t id) const;
    static std::int32_t StateOf(const std::map<SDL_GameController*, ButtonStates>& table,
                                SDL_GameController* controller, std::uint8_t button);

    std::vector<std::uint8_t> mPreviousKeys;
    const std::uint8_t* mCurrentKeys = nullptr;
    std::int32_t mKeyCount = 0;
    std::uint32_t mPreviousMouseButtons = 0;
    std::uint32_t mCurrentMouseButtons = 0;
    bool mQuitRequested = false;
    std::array<int, 2> mPreviousMousePosition{};
    std::array<int, 2> mCurrentMousePosition{};
    std::array<int, 2> mMouseMotion{};
    SDL_Event mLastEvent{};
    std::map<EntityHandle, std::int32_t> mEntityControllers;
    ControllerMap mControllers;
    std::map<SDL_GameController*, ButtonStates> mCurrentButtons;
    std::map<SDL_GameController*, ButtonStates> mPreviousButtons;
    std::map<SDL_GameController*, Sticks> mSticks;
    InputHost mHost;

    // What went down during the last pump. Keys and mouse buttons among them
    // count as down until the next pump; a controller button let go in the
    // pump that pressed it stays down until the next pump, which lets it go.
    struct PadButton {
        std::int32_t id;
        std::uint8_t button;
        bool operator==(const PadButton&) const = default;
    };
    std::vector<std::uint8_t> mKeysPressedInPump;
    std::uint32_t mMousePressedInPump = 0;
    std::vector<PadButton> mPadPressedInPump;
    std::vector<PadButton> mPadReleasesForNextPump;

    // Held back until let go (HoldBackUntilLetGo): keys by scancode, mouse
    // buttons by mask, and a controller button by the state kHeldBack,
    // which reads neither down nor up and stays until the button's release
    // sets it to up.
    static constexpr std::int32_t kHeldBack = -1;
    std::vector<std::uint8_t> mKeysHeldBack;
    std::uint32_t mMouseHeldBack = 0;
    // SDL's own mask after the last pump: the buttons really down, without
    // the taps the pump took.
    std::uint32_t mMouseButtonsHeld = 0;
    bool mMotionHeldBack = false;
    // The last pump captured the mouse (relative mode).
    bool mCaptured = false;
};

} // namespace Engine
