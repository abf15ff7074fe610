#include "game/modes/GameMode.h"

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
