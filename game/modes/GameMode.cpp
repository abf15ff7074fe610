#include "game/modes/GameMode.h"

#include <algorithm>

const GameMode::Triple GameMode::Title{&TitleMode::Init, &TitleMode::Update, &TitleMode::Shutdown};
const GameMode::Triple GameMode::Lobby{&LobbyMode::Init, &LobbyMode::Update, &LobbyMode::Shutdown};
const GameMode::Triple GameMode::Gameplay{&GameplayMode::Init, &GameplayMode::Update, &GameplayMode::Shutdown};
const GameMode::Triple GameMode::Tutorial{&TutorialMode::Init, &TutorialMode::Update, &TutorialMode::Shutdown};

void GameMode::Request(const Triple& mode)
{
    Pending = mode;
    ChangeRequested = true;
}

void GameMode::SwitchToGameplay(MenuEventRecord&)
{
    if (!IsCurrent(Gameplay))
        Request(Gameplay);
}

void GameMode::SwitchToTitle(MenuEventRecord&)
{
    if (!IsCurrent(Title))
        Request(Title);
}

void GameMode::SwitchToTutorial(MenuEventRecord& event)
{
    // Tutorials start from the title screen only.
    if (!IsCurrent(Title))
        return;
    TutorialRow = event.row;
    Request(Tutorial);
}

void MenuEvents::Raise(const List& list, MenuEventRecord& event)
{
    // A callback may register or remove callbacks: walk a copy.
    const List callbacks = list;
    for (auto it = callbacks.rbegin(); it != callbacks.rend() && !event.handled; ++it)
        (*it)(event);
}

void MenuEvents::Raise(const List& list)
{
    MenuEventRecord event;
    Raise(list, event);
}

void MenuEvents::AddOnce(List& list, Callback callback)
{
    if (std::find(list.begin(), list.end(), callback) == list.end())
        list.push_back(callback);
}

void MenuEvents::Remove(List& list, Callback callback)
{
    list.erase(std::remove(list.begin(), list.end(), callback), list.end());
}
