#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// A row of the tutorial list as the mode loop keeps it for the tutorial mode.
struct TutorialTableRow {
    std::uint32_t textId = 0;
    std::uint32_t twoPlayers = 0;
    const char* recording = nullptr;
};

// What a menu hands to the callbacks of a menu event. Callbacks run from the
// last registered to the first until one sets `handled`.
struct MenuEventRecord {
    std::uint8_t handled = 0;
    std::uint8_t flag = 1;
    TutorialTableRow row{};
};

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
// match themselves either: they raise one of the flow flags below, which the
// mode in charge reads once per frame and clears.
struct GameMode {
    using Triple = GameModeTriple;
    static const Triple Title;
    static const Triple Lobby;
    static const Triple Gameplay;
    static const Triple Tutorial;

    static inline Triple Pending{};
    static inline Triple Current{};
    static inline bool ChangeRequested = false;
    // The tutorial row chosen last, kept for the tutorial mode.
    static inline TutorialTableRow TutorialRow{};

    // The running mode is the one whose Update stands in `Current`.
    static bool IsCurrent(const Triple& mode) { return Current.Update == mode.Update; }
    // Writes `mode` as the next one and raises the change flag.
    static void Request(const Triple& mode);

    // Runs modes until the input manager reports a quit, the window closes
    // or nothing is pending: the pending mode becomes current, its Init
    // runs, then one engine frame and its Update per iteration (the master
    // volumes following the window's focus) until a change is requested,
    // then its Shutdown, which may itself name the next mode. A change
    // requested during Init skips the updates. Null frame: the engine's.
    using EngineFrame = bool (*)();
    static void Run(EngineFrame frame = nullptr);

    // The renderer's overlay: the menu layers over every camera's view.
    static void RenderUILayers();
    // The menu step every mode's Update takes once per frame: the mouse in
    // menu coordinates, a new layout after the window changed size, then the
    // layer stack's update, which serves the pushes and pops asked for.
    static void UpdateUILayers();

    // Menu event callbacks registered by the title mode. None marks the
    // event handled.
    static void SwitchToGameplay(MenuEventRecord& event);
    static void SwitchToTitle(MenuEventRecord& event);
    static void SwitchToTutorial(MenuEventRecord& event);

    // Flow flags.
    // End of play: the gameplay mode starts the replay.
    static inline std::uint8_t EndRequested = 0;
    // Back to the title: raised when the replay has played out.
    static inline std::uint8_t ReturnRequested = 0;
    // The "PauseMenu" layer is on the layer stack.
    static inline std::uint8_t PauseMenuOpen = 0;
    // Local pause: the pause menu is open and there is no connection.
    static inline std::uint8_t Paused = 0;
    // Raised by the second level loader; no mode reads it.
    static inline std::uint8_t LevelLoader2Triggered = 0;
};

// The four menu event lists. Callbacks are plain functions so that a list can
// tell whether one is registered already.
struct MenuEvents {
    using Callback = void (*)(MenuEventRecord&);
    using List = std::vector<Callback>;
    static inline List ReturnToTitle;
    static inline List StartMatch;
    static inline List StartTutorial;
    static inline List LanguageChanged;

    // Calls the list from the last registered callback to the first until
    // one marks the record handled.
    static void Raise(const List& list, MenuEventRecord& event);
    static void Raise(const List& list);
    static void AddOnce(List& list, Callback callback);
    static void Remove(List& list, Callback callback);
};

// What the scene builder spawns: how many local players (1 or 2), and per
// local player whether it is to be given a game controller.
namespace GameScene {
inline int PlayerCount = 1;
inline bool PlayerUsesGamepad[2] = {true, true};
} // namespace GameScene

// The four modes' entry points.
namespace TitleMode { void Init(); void Update(); void Shutdown(); }
namespace LobbyMode { void Init(); void Update(); void Shutdown(); }
namespace GameplayMode { void Init(); void Update(); void Shutdown(); }
namespace TutorialMode { void Init(); void Update(); void Shutdown(); }
