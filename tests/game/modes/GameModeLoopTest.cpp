#include "engine/audio/MasterVolume.h"
#include "engine/core/InputManager.h"
#include "engine/ui/FakeHost.h"
#include "engine/ui/LayerStack.h"
#include "game/modes/GameMode.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> journal;
// Frames left before the fake engine frame reports the window closing.
int framesBeforeClose = 1000;

void Note(const std::string& line) { journal.push_back(line); }

// A mode that notes its calls. Its script: the update after which it asks
// for a change (0: its Init asks), and the mode its Shutdown names next.
template <char Name>
struct FakeMode {
    static inline int updates = 0;
    static inline GameModeTriple next{};
    static inline int updatesSoFar = 0;

    static void Init()
    {
        Note(std::string(1, Name) + ".init");
        updatesSoFar = 0;
        if (updates == 0)
            GameMode::ChangeRequested = true;
    }
    static void Update()
    {
        Note(std::string(1, Name) + ".update");
        if (++updatesSoFar >= updates)
            GameMode::ChangeRequested = true;
    }
    static void Shutdown()
    {
        Note(std::string(1, Name) + ".shutdown");
        GameMode::Pending = next;
    }
    static inline const GameModeTriple kTriple{&Init, &Update, &Shutdown};
};
using ModeA = FakeMode<'A'>;
using ModeB = FakeMode<'B'>;

bool FakeFrame()
{
    Note("frame");
    return framesBeforeClose-- > 0;
}

class ModeLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        journal.clear();
        framesBeforeClose = 1000;
        ModeA::next = ModeB::next = {};
        GameMode::Pending = ModeA::kTriple;
        GameMode::ChangeRequested = false;
    }
    void TearDown() override
    {
        GameMode::Pending = GameMode::Current = {};
        Engine::InputManager::GetInstance().SetHost({});
    }
};

using Lines = std::vector<std::string>;

TEST_F(ModeLoop, ModeRunsFramesAndUpdatesUntilAChangeThenTheNextModeStartsAndAnEmptyPendingEnds)
{
    ModeA::updates = 2;
    ModeB::updates = 1;
    ModeA::next = ModeB::kTriple;
    GameMode::Run(&FakeFrame);
    EXPECT_EQ(journal, (Lines{"A.init", "frame", "A.update", "frame", "A.update", "A.shutdown", "B.init", "frame",
                              "B.update", "B.shutdown"}));
    EXPECT_FALSE(GameMode::ChangeRequested) << "cleared before each Shutdown";
    EXPECT_EQ(GameMode::Current, ModeB::kTriple);
}

TEST_F(ModeLoop, ChangeAskedForInInitSkipsTheUpdates)
{
    ModeA::updates = 0;
    ModeB::updates = 1;
    ModeA::next = ModeB::kTriple;
    GameMode::Run(&FakeFrame);
    EXPECT_EQ(journal, (Lines{"A.init", "A.shutdown", "B.init", "frame", "B.update", "B.shutdown"}));
}

TEST_F(ModeLoop, ClosedWindowStillShutsTheModeDownAndEndsTheRun)
{
    ModeA::updates = 100;
    ModeA::next = ModeB::kTriple; // would start again and get no frame
    framesBeforeClose = 1;
    GameMode::Run(&FakeFrame);
    EXPECT_EQ(journal, (Lines{"A.init", "frame", "A.update", "frame", "A.shutdown"}));
}

TEST_F(ModeLoop, PendingModeWithAMissingEntryEndsTheRunAtOnce)
{
    GameMode::Pending = {&ModeA::Init, &ModeA::Update, nullptr};
    GameMode::Run(&FakeFrame);
    EXPECT_TRUE(journal.empty());
}

// Focus as the window would report it, frame by frame.
std::vector<bool> focusScript;
std::size_t focusFrame = 0;

bool ScriptedFocus() { return focusScript[std::min(focusFrame, focusScript.size() - 1)]; }

void SetFocusScript(std::vector<bool> script)
{
    focusScript = std::move(script);
    focusFrame = 0;
    Engine::InputHost host;
    host.keyboardFocus = &ScriptedFocus;
    Engine::InputManager::GetInstance().SetHost(host);
}

// Every update notes the volumes the previous frame's focus left.
std::vector<std::pair<float, float>> heard;
void VolumeProbeUpdate()
{
    heard.emplace_back(Engine::MasterVolume::music, Engine::MasterVolume::sfx);
    ++focusFrame;
    if (focusFrame == 3) // the options menu changes a volume while focused
        Engine::MasterVolume::music = 0.8f;
    if (focusFrame >= focusScript.size())
        GameMode::ChangeRequested = true;
}
void Nothing() {}

TEST_F(ModeLoop, LosingFocusMutesBothVolumesAndRegainingItRestoresThem)
{
    using Heard = std::vector<std::pair<float, float>>;
    struct Case {
        const char* what;
        std::vector<bool> focus; // before the run, then after each update
        Heard volumes;           // seen by updates 1 onwards
        std::pair<float, float> atEnd;
    };
    const std::pair<float, float> start{0.5f, 0.25f}, muted{0.0f, 0.0f}, changed{0.8f, 0.25f};
    const Case cases[] = {
        {"always focused", {true, true, true, true}, {start, start, start, changed}, changed},
        {"lost, then back", {true, false, true, true}, {start, muted, start, changed}, changed},
        {"changed while focused, then lost and back", {true, true, true, false, true},
         {start, start, start, muted, changed}, changed},
        {"started without focus", {false, false, true, true}, {muted, muted, start, changed}, changed},
        {"lost for good", {true, false}, {start, muted}, muted},
    };
    for (const Case& c : cases) {
        Engine::MasterVolume::music = 0.5f;
        Engine::MasterVolume::sfx = 0.25f;
        heard.clear();
        SetFocusScript(c.focus);
        GameMode::Pending = {&Nothing, &VolumeProbeUpdate, &Nothing};
        GameMode::Run(&FakeFrame);
        EXPECT_EQ(heard, c.volumes) << c.what;
        EXPECT_EQ(std::make_pair(Engine::MasterVolume::music, Engine::MasterVolume::sfx), c.atEnd) << c.what;
    }
}

// Focus as the engine frame pumps the window's events: entry n is the focus
// after frame n (entry 0 before the run). The update acts on what the same
// frame brought: the click that gave the focus back (a settings button
// saves both volumes), a match start reading the user configuration again.
std::vector<bool> pumpedFocus;
int pumpedFrames = 0;
int configReadInFrame = 0;
bool PumpFrame() { return ++pumpedFrames > 0; }
bool PumpedFocus() { return pumpedFocus[std::min<std::size_t>(pumpedFrames, pumpedFocus.size() - 1)]; }
void ActingUpdate()
{
    heard.emplace_back(Engine::MasterVolume::music, Engine::MasterVolume::sfx);
    if (pumpedFrames == configReadInFrame) {
        Engine::MasterVolume::music = 0.7f;
        Engine::MasterVolume::sfx = 0.6f;
    }
    GameMode::ChangeRequested = static_cast<std::size_t>(pumpedFrames) + 1 >= pumpedFocus.size();
}

TEST_F(ModeLoop, UpdatesAwayFromTheWindowHearNothingAndTheFirstOneBackHearsThePlayersVolumes)
{
    using Heard = std::vector<std::pair<float, float>>;
    const std::pair<float, float> start{0.5f, 0.25f}, muted{0.0f, 0.0f}, read{0.7f, 0.6f};
    struct Case {
        const char* what;
        std::vector<bool> focus;
        int configReadInFrame; // 0: never
        Heard volumes;
    };
    const Case cases[] = {
        {"a click brings the focus back", {true, false, true}, 0, {muted, start}},
        {"the configuration is read while away", {true, false, false, true}, 1, {muted, muted, read}},
    };
    for (const Case& c : cases) {
        Engine::MasterVolume::music = start.first;
        Engine::MasterVolume::sfx = start.second;
        heard.clear();
        pumpedFocus = c.focus;
        pumpedFrames = 0;
        configReadInFrame = c.configReadInFrame;
        Engine::InputHost host;
        host.keyboardFocus = &PumpedFocus;
        Engine::InputManager::GetInstance().SetHost(host);
        GameMode::Pending = {&Nothing, &ActingUpdate, &Nothing};
        GameMode::Run(&PumpFrame);
        EXPECT_EQ(heard, c.volumes) << c.what;
    }
}

TEST(MenuStep, ReadsTheMouseLaysOutAfterAResizeAndServesTheRequests)
{
    FakeHost host;
    Engine::UI::LayerStack& stack = Engine::UI::LayerStack::GetInstance();
    const Engine::UI::LayerBuilder wholeWindow = [](Engine::UI::LayerBuild& build) {
        build.root = std::make_unique<Engine::UI::Canvas>();
        build.root->SetRelativeSize(glm::vec2(1.0f));
    };
    stack.Push(wholeWindow, "Below");
    stack.RequestPush(wholeWindow, "Asked");
    host.MouseAt({0.5f, -0.25f});
    GameMode::UpdateUILayers();
    EXPECT_EQ(stack.mouse, glm::vec2(0.5f, -0.25f));
    ASSERT_NE(stack.Top(), nullptr);
    EXPECT_EQ(stack.Top()->name, "Asked");

    host.window = {800.0f, 600.0f};
    GameMode::UpdateUILayers();
    for (int n = 0; n < 2; ++n)
        EXPECT_EQ(stack.GetFromTop(n)->root->absoluteSize, host.window) << "layer " << n;

    stack.RequestPop();
    GameMode::UpdateUILayers();
    EXPECT_EQ(stack.Top()->name, "Below");
    stack.Clear();
}

} // namespace
