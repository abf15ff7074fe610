#pragma once
#include "game/arena/GameModeFlags.h"
#include "game/menus/MenuEvents.h"

#include <cstdint>
#include <functional>
#include <vector>

// One game mode: three entry points. All three empty means "none".
struct GameModeTriple {
    void (*Init)() = nullptr;
    void (*Update)() = nullptr;
    void (*Shutdown)() = nullptr;
    bool Empty() const { return !Init || !Update || !Shutdown; }
    bool operator==(const GameModeTriple&) const = default;
};

// The game-mode loop's state. A mode never calls another: it (or a menu
// callback) writes the next mode into `Pending` and raises `ChangeRequested`,
// and the loop performs the change. Gameplay components never leave the
// match themselves either: they raise one of the flow flags
// (GameModeFlags.h), which the mode in charge reads once per frame and
// clears.
namespace GameMode {
using Triple = GameModeTriple;
extern const Triple Title;
extern const Triple Lobby;
extern const Triple Gameplay;
extern const Triple Tutorial;

inline Triple Pending{};
inline Triple Current{};
inline bool ChangeRequested = false;
// The tutorial row chosen last, kept for the tutorial mode.
inline TutorialTableRow TutorialRow{};

// The running mode is the one whose Update stands in `Current`.
inline bool IsCurrent(const Triple& mode) { return Current.Update == mode.Update; }
// Writes `mode` as the next one and raises the change flag, unless the
// title is asked for already: a request to leave is never overwritten.
void Request(const Triple& mode);
// No mode running or asked for, no tutorial row kept and no flow flag
// raised: the loop's state as a new run starts it.
void ResetFlow();

// Runs modes until the input manager reports a quit, the window closes
// or nothing is pending: the pending mode becomes current, its Init
// runs, then one engine frame and its Update per iteration (the master
// volumes following the window's focus) until a change is requested,
// then its Shutdown, which may itself name the next mode. A change
// requested during Init skips the updates. Null frame: the engine's.
using EngineFrame = bool (*)();
void Run(EngineFrame frame = nullptr);

// The renderer's overlay: the menu layers over every camera's view.
void RenderUILayers();
// The menu step every mode's Update takes once per frame: the mouse in
// menu coordinates, a new layout after the window changed size, then the
// layer stack's update, which serves the pushes and pops asked for.
void UpdateUILayers();

// Menu event callbacks registered by the title mode. None marks the
// event handled.
void SwitchToGameplay(MenuEventRecord& event);
void SwitchToTitle(MenuEventRecord& event);
void SwitchToTutorial(MenuEventRecord& event);
} // namespace GameMode
