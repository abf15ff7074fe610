#pragma once
#include <cstdint>
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

// The four menu event lists: menus raise their requests here and never
// switch a mode themselves. Callbacks are plain functions so that a list can
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
    // Every list empty, as before the title mode registers its callbacks.
    static void ClearAll();
};
