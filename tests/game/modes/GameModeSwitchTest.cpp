#include "game/modes/GameMode.h"

#include <gtest/gtest.h>

namespace {

class ModeSwitch : public ::testing::Test {
protected:
    void TearDown() override
    {
        GameMode::Pending = GameMode::Current = {};
        GameMode::ChangeRequested = false;
        GameMode::TutorialRow = {};
    }
};

const char* NameOf(const GameModeTriple& mode)
{
    if (mode == GameMode::Title)
        return "title";
    if (mode == GameMode::Lobby)
        return "lobby";
    if (mode == GameMode::Gameplay)
        return "gameplay";
    if (mode == GameMode::Tutorial)
        return "tutorial";
    return "none";
}

TEST_F(ModeSwitch, SwitchToTheRunningModeChangesNothingAndTutorialsStartFromTheTitleOnly)
{
    const GameModeTriple none{};
    struct Case {
        GameMode::Triple running;
        MenuEvents::Callback go;
        GameMode::Triple expected; // pending afterwards; none: no change asked
    };
    const Case cases[] = {
        {GameMode::Title, &GameMode::SwitchToGameplay, GameMode::Gameplay},
        {GameMode::Lobby, &GameMode::SwitchToGameplay, GameMode::Gameplay},
        {GameMode::Gameplay, &GameMode::SwitchToGameplay, none},
        {GameMode::Gameplay, &GameMode::SwitchToTitle, GameMode::Title},
        {GameMode::Tutorial, &GameMode::SwitchToTitle, GameMode::Title},
        {GameMode::Title, &GameMode::SwitchToTitle, none},
        {GameMode::Title, &GameMode::SwitchToTutorial, GameMode::Tutorial},
        {GameMode::Lobby, &GameMode::SwitchToTutorial, none},
        {GameMode::Gameplay, &GameMode::SwitchToTutorial, none},
        {GameMode::Tutorial, &GameMode::SwitchToTutorial, none},
        {none, &GameMode::SwitchToTutorial, none},
    };
    static const char kOld[] = "old.json";
    static const char kNew[] = "new.json";
    for (const Case& c : cases) {
        GameMode::Current = c.running;
        GameMode::Pending = {};
        GameMode::ChangeRequested = false;
        GameMode::TutorialRow = {7, 0, kOld};
        MenuEventRecord event;
        event.row = {9, 1, kNew};
        c.go(event);

        const bool changes = !(c.expected == none);
        SCOPED_TRACE(std::string(NameOf(c.running)) + " -> " + NameOf(c.expected));
        EXPECT_EQ(GameMode::Pending, c.expected);
        EXPECT_EQ(GameMode::ChangeRequested, changes);
        EXPECT_EQ(event.handled, 0) << "the switches leave the event to later callbacks";
        const bool tutorial = changes && c.expected == GameMode::Tutorial;
        EXPECT_EQ(GameMode::TutorialRow.recording, tutorial ? kNew : kOld);
        EXPECT_EQ(GameMode::TutorialRow.textId, tutorial ? 9u : 7u);
    }
}

} // namespace
