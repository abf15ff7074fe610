#include "engine/frame/EngineTestHarness.h"

#include "game/modes/StartupScreens.h"

#include <gtest/gtest.h>

namespace {

using FrameTest::SetKey;

Engine::InputManager& Input() { return Engine::InputManager::GetInstance(); }

// The key goes down during a pump, then the frame's state is read.
bool SkipsWithKey(SDL_Scancode key)
{
    Input().EndFrame();
    SetKey(key, true);
    const bool skips = LogoSkipRequested();
    SetKey(key, false);
    return skips;
}

TEST(StartupScreens, LogoIsSkippedByTheMainKeysOnly)
{
    FrameTest::StartEngine();
    for (SDL_Scancode key : {SDL_SCANCODE_A, SDL_SCANCODE_RETURN, SDL_SCANCODE_F12, SDL_SCANCODE_UP})
        EXPECT_TRUE(SkipsWithKey(key)) << SDL_GetScancodeName(key);
    for (SDL_Scancode key : {SDL_SCANCODE_NUMLOCKCLEAR, SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_RCTRL})
        EXPECT_FALSE(SkipsWithKey(key)) << SDL_GetScancodeName(key);
}

TEST(StartupScreens, LogoRunsThreeSecondsUnlessSkippedAndTheBarCannotBeSkipped)
{
    FrameTest::StartEngine();
    CreepingClock clock;
    const double logo = ShowLogoSplash();
    EXPECT_GE(logo, 3.0);
    EXPECT_LT(logo, 3.0 + 0.032);

    Input().EndFrame();
    SetKey(SDL_SCANCODE_SPACE, true);
    EXPECT_NEAR(ShowLogoSplash(), 0.007, 1e-9); // one frame
    SetKey(SDL_SCANCODE_SPACE, false);
    Input().EndFrame();
    SetKey(SDL_SCANCODE_SPACE, true);
    const double bar = ShowLoadingBar();
    EXPECT_GE(bar, 3.12);
    EXPECT_LT(bar, 3.12 + 0.032);
    SetKey(SDL_SCANCODE_SPACE, false);
}

TEST(StartupScreens, AClosedWindowEndsTheLogoAndTheBarAtOnce)
{
    FrameTest::StartEngine();
    CreepingClock clock;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_NEAR(ShowLogoSplash(), 0.007, 1e-9) << "the frame that pumped the quit";
    EXPECT_EQ(ShowLoadingBar(), 0.0);
    Input().Init();
}

} // namespace
