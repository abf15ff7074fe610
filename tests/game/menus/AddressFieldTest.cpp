#include "MenuFixture.h"
#include "engine/core/InputEventHandlerList.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/GlTestWindow.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/menus/AddressField.h"
#include "game/menus/JoinAddress.h"
#include "game/menus/MenuActions.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/TitleMenus.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/LateRescue.h"
#include "support/TempDir.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using LayerCreator::EnterIPComponent;
using LayerCreator::JoinAddress;
using Result = JoinAddress::Result;

TEST(AddressText, KeepsDigitsStopsAndColonsAndAtMost21OfThem)
{
    struct Case {
        const char* typed;
        const char* kept;
    } cases[] = {
        {"192.168.1.5:9000", "192.168.1.5:9000"},
        {"ip 10.0.0.2, port 8008", "10.0.0.28008"},
        {"адрес 127.0.0.1", "127.0.0.1"},
        {"255.255.255.255:65535", "255.255.255.255:65535"},
        {"255.255.255.255:655351", "255.255.255.255:65535"},
        {"1234567890123456789012345678901234567890", "123456789012345678901"},
        {"", ""},
        {"\t\n\x01\xff", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayerCreator::FilterAddressText(c.typed), c.kept) << c.typed;

    EXPECT_EQ(LayerCreator::AppendAddressText("10.0.0", ".7x"), "10.0.0.7");
    EXPECT_EQ(LayerCreator::AppendAddressText("255.255.255.255:6553", "5999"), "255.255.255.255:65535");
}

TEST(AddressText, ParsedByHandIntoAddressAndOptionalPort)
{
    struct Case {
        const char* text;
        Result result;
        const char* address;
        bool hasPort;
        unsigned port;
    } cases[] = {
        {"192.168.1.5:9000", Result::kUsable, "192.168.1.5", true, 9000},
        {"192.168.1.5", Result::kUsable, "192.168.1.5", false, 0},
        {"192.168.1.5:", Result::kUsable, "192.168.1.5", false, 0},
        {"127.0.0.1:0", Result::kUsable, "127.0.0.1", true, 0},
        {"1.2.3.4:65535", Result::kUsable, "1.2.3.4", true, 65535},
        {"999.1.1.1:80", Result::kNotIpv4, "999.1.1.1", true, 80},
        {"1.2.3", Result::kNotIpv4, "1.2.3", false, 0},
        {"10.0.0.28008", Result::kNotIpv4, "10.0.0.28008", false, 0},
        {"1.2.3.4.:80", Result::kNotIpv4, "1.2.3.4.", true, 80},
        {":8008", Result::kNotAnAddress, "", false, 0},
        {"", Result::kNotAnAddress, "", false, 0},
        {"::", Result::kNotAnAddress, "", false, 0},
        {"1.2.3.4:65536", Result::kPortOutOfRange, "", false, 0},
        {"1.2.3.4:99999", Result::kPortOutOfRange, "", false, 0},
        {"1.2.3.4:123456", Result::kPortOutOfRange, "", false, 0},
        {"1.2.3.4:80:90", Result::kNotAnAddress, "", false, 0},
        {"1.2.3.4::80", Result::kNotAnAddress, "", false, 0},
    };
    for (const Case& c : cases) {
        const JoinAddress parsed = LayerCreator::ParseJoinAddress(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parsed.result, c.result);
        if (c.result == Result::kNotAnAddress || c.result == Result::kPortOutOfRange)
            continue;
        EXPECT_EQ(parsed.address, c.address);
        EXPECT_EQ(parsed.hasPort, c.hasPort);
        EXPECT_EQ(parsed.port, c.port);
    }
}

TEST(IpToConnect, FirstLineCutTo21CharactersAndNothingWithoutTheFile)
{
    ScopedTempDir dir;
    EXPECT_EQ(ReadIPToConnect(), "");
    WriteFileText("ip_to_connect.txt", "127.0.0.1\r\nsecond line\n");
    EXPECT_EQ(ReadIPToConnect(), "127.0.0.1");
    WriteFileText("ip_to_connect.txt", std::string(5000, '7'));
    EXPECT_EQ(ReadIPToConnect(), std::string(21, '7'));
    GameState::GetInstance().joinAddress = "stale";
    WriteFileText("ip_to_connect.txt", "10.1.2.3:8008\n");
    LoadIPToConnect(GameState::GetInstance());
    EXPECT_EQ(GameState::GetInstance().joinAddress, "10.1.2.3:8008");

    // A named pipe would hold the join screen until something wrote to it:
    // here, what the writer sends would come back.
    std::filesystem::remove("ip_to_connect.txt");
    ASSERT_EQ(mkfifo("ip_to_connect.txt", 0600), 0);
    const LateRescue writer(std::chrono::seconds(2), [] {
        const int fd = open("ip_to_connect.txt", O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            (void)!write(fd, "10.9.9.9\n", 9);
            close(fd);
        }
    });
    EXPECT_EQ(ReadIPToConnect(), "");
}

SDL_Event TextInput(const char* text)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, text, sizeof event.text.text);
    return event;
}

SDL_Event KeyDown(SDL_Scancode key, Uint16 mod = KMOD_NONE)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = key;
    event.key.keysym.mod = mod;
    return event;
}

// The join screen on the game's stack, with its field.
class JoinScreen : public MenuFixture {
protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        GameState::GetInstance().joinAddress = "127.0.0.1";
        Open();
    }
    void TearDown() override
    {
        NetworkMgr::GetInstance().Disconnect();
        GameState::GetInstance().joinAddress.clear();
        MenuFixture::TearDown();
    }

    void Open() { Stack().Push(&LayerCreator::BuildEnterAddressMenu, LayerCreator::kEnterAddressLayer); }
    static void Send(const SDL_Event& event) { Engine::SdlEventHandlerList::Walk(event); }
    static std::string Field() { return EnterIPComponent::Active() ? EnterIPComponent::Active()->Text() : "<none>"; }
    static std::u16string Shown()
    {
        auto* field = WithPureText(*Top().root, u"");
        return field ? field->GetComp<Engine::UI::PureTextComp>()->text : u"<none>";
    }
};

TEST_F(JoinScreen, TypingBackspaceAndPasteEditTheFieldWhileItsPageIsOnTop)
{
    OpenTestWindow();
    EXPECT_EQ(Field(), "127.0.0.1");
    EXPECT_EQ(FocusedText(), 15u) << "Connect has the focus";

    Send(TextInput(":9"));
    Send(TextInput("a0"));
    EXPECT_EQ(Field(), "127.0.0.1:90");
    EXPECT_EQ(Shown(), u"127.0.0.1:90");
    for (int i = 0; i < 4; ++i)
        Send(KeyDown(SDL_SCANCODE_BACKSPACE));
    EXPECT_EQ(Field(), "127.0.0.");

    SDL_SetClipboardText("ip 10.0.0.2, port 8008 and a great deal more: 1234567890");
    Send(KeyDown(SDL_SCANCODE_V, KMOD_LCTRL));
    EXPECT_EQ(Field(), "10.0.0.28008:12345678") << "filtered and cut to 21";
    Send(KeyDown(SDL_SCANCODE_V));
    EXPECT_EQ(Field(), "10.0.0.28008:12345678") << "V alone pastes nothing";
    Send(KeyDown(SDL_SCANCODE_C, KMOD_RCTRL));
    char* copied = SDL_GetClipboardText();
    EXPECT_STREQ(copied, "10.0.0.28008:12345678");
    SDL_free(copied);

    // Another page over the join screen: the field hears nothing.
    Stack().Push(&LayerCreator::BuildConfirmQuit, LayerCreator::kConfirmQuitLayer);
    Send(TextInput("5"));
    Send(KeyDown(SDL_SCANCODE_BACKSPACE));
    Stack().Pop();
    EXPECT_EQ(Field(), "10.0.0.28008:12345678");
}

TEST_F(JoinScreen, ASecondVisitStillHearsTheKeyboardAndAClosedFieldHearsNothing)
{
    const std::size_t handlersBefore = Engine::SdlEventHandlerList::Size();
    Stack().Pop();
    EXPECT_EQ(EnterIPComponent::Active(), nullptr);
    EXPECT_EQ(Engine::SdlEventHandlerList::Size(), handlersBefore - 1);
    Send(TextInput("1"));

    Open();
    Send(TextInput("7"));
    EXPECT_EQ(Field(), "127.0.0.17");
    Stack().Pop();
    Open();
    Open();
    Send(TextInput("2"));
    EXPECT_EQ(Field(), "127.0.0.12") << "only the newest, active field types";
    EXPECT_EQ(Engine::SdlEventHandlerList::Size(), handlersBefore + 1);
}

// What is not an address, or a port past 65535, is said on the error
// output and, over the join screen, to the player; OK goes back to the
// address.
TEST_F(JoinScreen, ConnectRefusesWhatIsNotAnAddressAndPortSayingWhy)
{
    constexpr const char* kNotAnAddress = "Given text does not form an IPv4 address and port!\n";
    constexpr const char* kOutOfRange = "Input port is out of range (0 to 65535)!\n";
    struct Case {
        const char* typed;
        const char* message;
        std::uint32_t reason;
    } cases[] = {
        {":8008", kNotAnAddress, 82},
        {"", kNotAnAddress, 82},
        {"...", "Did not enter port - set port to default instead (8008).\n"
                "Input address (...) did not have proper IPv4 format!\n", 82},
        {"192.168.1", "Did not enter port - set port to default instead (8008).\n"
                      "Input address (192.168.1) did not have proper IPv4 format!\n", 82},
        {"999.1.1.1:80", "Input address (999.1.1.1) did not have proper IPv4 format!\n", 82},
        {"127.0.0.1:99999", kOutOfRange, 92},
        {"1.2.3.4:70000", kOutOfRange, 92},
    };
    for (const Case& c : cases) {
        EnterIPComponent::Active()->SetText(c.typed);
        EXPECT_EQ(StderrOf([] { LayerCreator::ConnectToTypedAddress(); }), c.message) << c.typed;
        Frame();
        ASSERT_EQ(Top().name, LayerCreator::kJoinErrorLayer) << c.typed;
        ASSERT_NE(WithText(c.reason), nullptr) << c.typed;
        EXPECT_NE(WithText(c.reason)->GetComp<Engine::UI::LocaleTextComp>()->GetText().find(
                      c.reason == 82 ? u"not an IPv4 address" : u"port must be at most 65535"),
                  std::u16string::npos);
        Activate(WithText(38));
        EXPECT_EQ(Top().name, LayerCreator::kEnterAddressLayer);
        EXPECT_FALSE(NetworkMgr::GetInstance().initialised);
        EXPECT_EQ(GameState::GetInstance().joinAddress, "127.0.0.1");
    }
}

TEST_F(JoinScreen, AnAddressWithAPortStartsTheClientTowardsTheGamesPort)
{
    GameScene::PlayerCount = 2;
    EnterIPComponent::Active()->SetText("127.0.0.1:9000");
    Activate(WithText(15));
    NetworkMgr& network = NetworkMgr::GetInstance();
    EXPECT_EQ(Top().name, LayerCreator::kConnectingLayer);
    EXPECT_TRUE(network.initialised);
    EXPECT_FALSE(network.server);
    EXPECT_EQ(network.port, NetworkMgr::kDefaultPort) << "the typed port is only checked";
    EXPECT_EQ(GameScene::PlayerCount, 1);

    // Cancel disconnects at once and goes back to the join screen.
    const std::string said = StderrOf([&] { Activate(WithText(8)); });
    EXPECT_NE(said.find("Request network shutdown (abort client connection).\n"), std::string::npos);
    EXPECT_FALSE(network.initialised);
    EXPECT_EQ(Top().name, LayerCreator::kEnterAddressLayer);

    // An address alone tells about the default port first.
    EnterIPComponent::Active()->SetText("127.0.0.1");
    const std::string defaulted = StderrOf([] { LayerCreator::ConnectToTypedAddress(); });
    EXPECT_EQ(defaulted.rfind("Did not enter port - set port to default instead (8008).\n", 0), 0u) << defaulted;
    EXPECT_TRUE(network.initialised);
    Frame();
    EXPECT_EQ(Top().name, LayerCreator::kConnectingLayer);
}

} // namespace
