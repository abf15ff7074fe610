#include "MenuFixture.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/TutorialMenu.h"
#include "support/CapturedOutput.h"
#include "engine/core/InputManager.h"
#include "engine/net/NetTestSupport.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/PosixUdpSocket.h"
#include "engine/render/Font.h"
#include "engine/render/GlTestWindow.h"
#include "game/config/GameText.h"
#include "game/match/GameState.h"
#include "game/arena/MatchRecorder.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/TitleMenus.h"

namespace {

TEST(TitleLogo, HeightFourTenthsAndTheWholeNumberAspectOfTheTexture)
{
    EXPECT_EQ(LayerCreator::LogoRelativeSize(512, 512, {1600, 900}), glm::vec2(0.225f, 0.4f));
    EXPECT_EQ(LayerCreator::LogoRelativeSize(1000, 400, {1600, 900}), glm::vec2(0.45f, 0.4f)) << "2.5 counts as 2";
    EXPECT_EQ(LayerCreator::LogoRelativeSize(1024, 512, {1280, 720}), glm::vec2(0.45f, 0.4f));
    EXPECT_EQ(LayerCreator::LogoRelativeSize(0, 0, {1280, 720}), glm::vec2(0.0f, 0.4f)) << "no image, no width";
    EXPECT_EQ(LayerCreator::LogoRelativeSize(512, 512, {0, 0}), glm::vec2(0.0f, 0.4f));
}

TEST(WaitingText, DotsCountTheSecondsModuloFour)
{
    ASSERT_TRUE(GameText::Load("data/all_text"));
    EXPECT_EQ(LayerCreator::WaitingText(17, 1000), u"Connecting");
    EXPECT_EQ(LayerCreator::WaitingText(17, 1003), u"Connecting...");
    EXPECT_EQ(LayerCreator::WaitingText(18, 1004), u"Waiting for the other player");
    EXPECT_EQ(LayerCreator::WaitingText(18, 1005), u"Waiting for the other player.");
}

class TitlePages : public MenuFixture {
protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        Stack().Push(&LayerCreator::BuildTitleMenu, LayerCreator::kTitleLayer);
    }
};

TEST_F(TitlePages, ArrowsWalkTheFiveButtonsAndEachOpensItsPage)
{
    EXPECT_EQ(FocusedText(), 0u);
    const std::pair<std::uint32_t, const char*> pages[] = {
        {0, LayerCreator::kPlayLayer},     {2, LayerCreator::kOptionsLayer},
        {97, LayerCreator::kTutorialLayer}, {41, LayerCreator::kCreditsLayer},
        {1, LayerCreator::kConfirmQuitLayer},
    };
    for (const auto& [text, page] : pages) {
        EXPECT_EQ(FocusedText(), text);
        Press(40);
        EXPECT_EQ(Top().name, page);
        while (Stack().Size() > 1)
            Stack().Pop();
        Press(81); // Down
    }
    EXPECT_EQ(FocusedText(), 1u) << "the last button keeps the focus";
    EXPECT_FALSE(Engine::InputManager::GetInstance().IsQuitRequested());
}

TEST_F(TitlePages, QuitAsksFirstAndYesQuits)
{
    Activate(WithText(1));
    ASSERT_EQ(Top().name, LayerCreator::kConfirmQuitLayer);
    EXPECT_EQ(FocusedText(), 32u) << "No has the focus";
    Activate(WithText(32));
    EXPECT_EQ(Top().name, LayerCreator::kTitleLayer);
    Activate(WithText(1));
    Press(79); // Right, to "Yes, quit"
    EXPECT_EQ(FocusedText(), 31u);
    Press(40);
    EXPECT_TRUE(Engine::InputManager::GetInstance().IsQuitRequested());
}

TEST_F(TitlePages, CreditsToggledTwiceShowTheTitlesAgainWithOneViewsRows)
{
    ASSERT_TRUE(LayerCreator::CreditsShowTitles());
    Activate(WithText(41));
    ASSERT_EQ(Top().name, LayerCreator::kCreditsLayer);
    Engine::UI::Canvas& content = *static_cast<Engine::UI::Canvas*>(WithText(42)->parent->parent);
    auto rows = [&] {
        std::size_t count = 0;
        for (Engine::UI::IElement* column : content.Children())
            count += static_cast<Engine::UI::Canvas*>(column)->Children().size();
        return count;
    };
    // A pure text is the same in every language.
    const auto pureTexts = [&] {
        return FindElement(content, [](Engine::UI::IElement& e) { return e.GetComp<Engine::UI::PureTextComp>(); });
    };
    EXPECT_EQ(content.Children().size(), 2u);
    EXPECT_EQ(rows(), 20u);
    EXPECT_EQ(pureTexts(), nullptr);
    EXPECT_EQ(FocusedText(), 65u) << "the view button offers the team";

    Activate(WithText(65));
    EXPECT_FALSE(LayerCreator::CreditsShowTitles());
    EXPECT_EQ(FocusedText(), 64u);
    EXPECT_EQ(content.Children().size(), 2u);
    EXPECT_EQ(WithText(42), nullptr);
    EXPECT_NE(WithText(62), nullptr) << "the first member is the lead";
    EXPECT_NE(WithText(86), nullptr) << "the team, from the text table";
    const std::size_t members = rows();
    EXPECT_EQ(members % 2, 0u);
    EXPECT_EQ(pureTexts(), nullptr) << "every text of the members in the reader's language";

    Activate(WithText(64));
    EXPECT_TRUE(LayerCreator::CreditsShowTitles());
    EXPECT_EQ(FocusedText(), 65u);
    EXPECT_EQ(content.Children().size(), 2u);
    EXPECT_EQ(rows(), 20u);
    for (std::uint32_t id = 42; id <= 61; ++id)
        EXPECT_NE(WithText(id), nullptr) << id;
}

TEST_F(TitlePages, StartingTheScoringTutorialShowsItsExplanationAndAsksForIt)
{
    // A plain-function callback can only reach statics: zeroed here, so a
    // repeated run counts its own asks.
    static TutorialTableRow asked;
    static int asks;
    asked = {};
    asks = 0;
    MenuEvents::AddOnce(MenuEvents::StartTutorial, [](MenuEventRecord& event) {
        asked = event.row;
        ++asks;
    });
    Activate(WithText(97));
    ASSERT_EQ(Top().name, LayerCreator::kTutorialLayer);
    EXPECT_EQ(FocusedText(), 85u);
    for (const TutorialTableRow& row : LayerCreator::kTutorialTable)
        EXPECT_NE(WithText(row.textId), nullptr) << row.recording;

    Activate(WithText(116));
    EXPECT_EQ(asks, 1);
    EXPECT_EQ(asked.textId, 116u);
    EXPECT_EQ(asked.twoPlayers, 1u);
    EXPECT_STREQ(asked.recording, "ScorePoints.json");
    ASSERT_EQ(Top().name, LayerCreator::kTutorialOverlayLayer);
    EXPECT_EQ(LayerCreator::TutorialOverlayText(), 117u);
    EXPECT_NE(WithText(117), nullptr);
    EXPECT_EQ(FocusedText(), 85u);

    MatchRecorder::GetInstance().isLive = 0;
    Activate(WithText(85));
    EXPECT_EQ(MatchRecorder::GetInstance().isLive, 1) << "back ends the playback";
    EXPECT_EQ(Top().name, LayerCreator::kTutorialLayer);
}

// A socket on a free port of this machine that reads nothing and never
// answers: a port in use, or a host that is never there.
std::unique_ptr<Engine::Platform::IUdpSocket> SilentSocket()
{
    int error = 0;
    auto socket = Engine::Platform::PosixUdpSocket::Open(error);
    return socket && socket->Bind({0, 0}) ? std::move(socket) : nullptr;
}

// A port some other program holds: the server cannot open, and the page
// that would wait for a client closes for one that says why, over the play
// menu.
TEST_F(TitlePages, HostingOnAPortInUseSaysWhyOverThePlayMenu)
{
    const auto holder = SilentSocket();
    ASSERT_TRUE(holder);
    NetworkMgr& network = NetworkMgr::GetInstance();
    const std::uint16_t gamePort = network.port;
    network.port = holder->LocalPort();
    Activate(WithText(0));
    ASSERT_EQ(Top().name, LayerCreator::kPlayLayer);
    StdoutOf([&] { StderrOf([&] { Activate(WithText(3)); }); });
    EXPECT_EQ(Top().name, LayerCreator::kHostWaitLayer);
    EXPECT_FALSE(network.initialised);
    const std::string said = StderrOf([&] { Frame(); });
    EXPECT_NE(said.find("Could not host"), std::string::npos) << said;
    ASSERT_EQ(Top().name, LayerCreator::kHostErrorLayer);
    EXPECT_EQ(Stack().GetFromTop(1)->name, LayerCreator::kPlayLayer);
    Engine::UI::IElement* reason = WithText(81);
    ASSERT_NE(reason, nullptr);
    EXPECT_NE(reason->GetComp<Engine::UI::LocaleTextComp>()->GetText().find(u"port 8008"), std::u16string::npos);
    EXPECT_EQ(FocusedText(), 38u);
    Activate(WithText(38));
    EXPECT_EQ(Top().name, LayerCreator::kPlayLayer);
    network.port = gamePort;
}

// A socket the system refuses, or a join whose first send it refuses:
// hosting and joining each say so over the page they came from, with the
// system's own words.
TEST_F(TitlePages, ASocketTheSystemRefusesIsSaidWithTheSystemsWords)
{
    Engine::Platform::SetUdpSocketFactory([](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
        error = EACCES;
        return nullptr;
    });
    GameState::GetInstance().joinAddress = "127.0.0.1";
    const auto failsSaying = [&](std::uint32_t button, const char* page, std::uint32_t reason,
                                 const char16_t* words) {
        StdoutOf([&] { StderrOf([&] { Activate(WithText(button)); Frame(); }); });
        ASSERT_EQ(Top().name, page);
        EXPECT_NE(WithText(reason), nullptr);
        EXPECT_EQ(WithText(81), nullptr) << "the port is not in use";
        EXPECT_NE(WithPureText(*Top().root, words), nullptr);
        Activate(WithText(38));
    };
    Activate(WithText(0));
    failsSaying(3, LayerCreator::kHostErrorLayer, 83, u"Permission denied");
    EXPECT_EQ(Top().name, LayerCreator::kPlayLayer);
    Activate(WithText(4));
    failsSaying(15, LayerCreator::kJoinErrorLayer, 84, u"Permission denied");
    EXPECT_EQ(Top().name, LayerCreator::kEnterAddressLayer);

    NetTest::FakeWire unreachable;
    unreachable.sendError = ENETUNREACH;
    Engine::Platform::SetUdpSocketFactory([&](int&) { return std::make_unique<NetTest::FakeSocket>(unreachable); });
    failsSaying(15, LayerCreator::kJoinErrorLayer, 84, u"Network is unreachable");
    EXPECT_EQ(Top().name, LayerCreator::kEnterAddressLayer);
    EXPECT_EQ(unreachable.openSockets, 0) << "the failed link's socket is closed";
}

// A message too long for one line at a size that reads goes onto two: the
// join's "not an IPv4 address" in French has capitals as tall as the lines
// of the page that gives the system's words.
TEST_F(TitlePages, ALongMessageGoesOntoTwoLinesAtTheOthersSize)
{
    OpenTestWindowWithResources();
    Engine::UI::SetLanguage(4);
    const auto capitals = [&](void (*build)(Engine::UI::LayerBuild&), std::uint32_t textId) {
        Stack().Push(build, LayerCreator::kJoinErrorLayer);
        Frame();
        const auto* text = WithText(textId)->GetComp<Engine::UI::BaseTextComp>();
        return text->DrawScale() * static_cast<float>(text->font->Find(u'I')->rows);
    };
    const float others = capitals(&LayerCreator::BuildJoinError, 84);
    EXPECT_GT(others, 15.0f) << "pixels, in a 1280 x 720 window";
    EXPECT_GE(capitals(&LayerCreator::BuildNotAnAddress, 82), others);
}

// Stopping the host, or cancelling a connection, is the player's choice:
// the page closes and nothing is said to have failed.
TEST_F(TitlePages, StoppingHostingOrCancellingAJoinSaysNothingFailed)
{
    // The host on any free port; the client towards a socket that never
    // answers.
    const auto silent = SilentSocket();
    ASSERT_TRUE(silent);
    NetworkMgr& network = NetworkMgr::GetInstance();
    const std::uint16_t gamePort = network.port;
    GameState::GetInstance().joinAddress = "127.0.0.1";
    Activate(WithText(0));
    // The pages seen, and whether a link was open on each.
    std::vector<std::pair<std::string, bool>> seen;
    const auto see = [&] { seen.emplace_back(Top().name, network.initialised != 0); };
    const std::string said = StderrOf([&] {
        StdoutOf([&] {
            for (std::uint32_t button : {3u, 36u, 4u, 15u, 8u}) {
                network.port = button == 3 ? 0 : silent->LocalPort();
                if (Engine::UI::IElement* pressed = WithText(button))
                    Activate(pressed);
                see();
            }
            Frames(2);
            see();
        });
    });
    const std::vector<std::pair<std::string, bool>> expected = {
        {LayerCreator::kHostWaitLayer, true},     {LayerCreator::kPlayLayer, false},
        {LayerCreator::kEnterAddressLayer, false}, {LayerCreator::kConnectingLayer, true},
        {LayerCreator::kEnterAddressLayer, false}, {LayerCreator::kEnterAddressLayer, false},
    };
    EXPECT_EQ(seen, expected) << said;
    EXPECT_EQ(said.find("Could not"), std::string::npos) << said;
    network.port = gamePort;
}

} // namespace
