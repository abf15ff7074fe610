#include "game/modes/GameMode.h"

#include "game/modes/GameplayMode.h"
#include "game/modes/LobbyMode.h"
#include "game/modes/TitleMode.h"
#include "game/modes/TutorialMode.h"

const GameMode::Triple GameMode::Title{&TitleMode::Init, &TitleMode::Update, &TitleMode::Shutdown};
const GameMode::Triple GameMode::Lobby{&LobbyMode::Init, &LobbyMode::Update, &LobbyMode::Shutdown};
const GameMode::Triple GameMode::Gameplay{&GameplayMode::Init, &GameplayMode::Update, &GameplayMode::Shutdown};
const GameMode::Triple GameMode::Tutorial{&TutorialMode::Init, &TutorialMode::Update, &TutorialMode::Shutdown};

void GameMode::Request(const Triple& mode)
{
    // Leaving for the title stands against any later request of the same
    // frame: a link that closes while the host's ready is taken would
    // otherwise start a match whose peer has left.
    if (ChangeRequested && Pending == Title)
        return;
    Pending = mode;
    ChangeRequested = true;
}

void GameMode::ResetFlow()
{
    Pending = Current = {};
    ChangeRequested = false;
    TutorialRow = {};
    EndRequested = ReturnRequested = 0;
    PauseMenuOpen = Paused = 0;
    LevelLoader2Triggered = 0;
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
