#include "game/menus/TitleMenus.h"

#include "engine/net/NetworkMgr.h"
#include "engine/platform/UdpSocket.h"
#include "engine/render/Renderer.h"
#include "engine/render/Texture.h"
#include "engine/ui/Localisation.h"
#include "engine/ui/SpriteRenderComp.h"
#include "engine/ui/TextComps.h"
#include "game/match/GameState.h"
#include "game/menus/AddressField.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/JoinAddress.h"
#include "game/menus/MenuActions.h"
#include "game/menus/MenuHelpers.h"
#include "game/menus/MenuLayers.h"
#include "game/menus/OptionsMenu.h"
#include "game/menus/PrematchMenus.h"
#include "game/menus/PrematchState.h"
#include "game/menus/TutorialMenu.h"
#include "game/menus/WidgetKit.h"

#include <cstdio>

namespace LayerCreator {

using Engine::UI::Canvas;
using Engine::UI::IElement;
using Engine::UI::Widget;

namespace {

// Text ids.
constexpr std::uint32_t kPlay = 0;
constexpr std::uint32_t kQuit = 1;
constexpr std::uint32_t kOptions = 2;
constexpr std::uint32_t kHost = 3;
constexpr std::uint32_t kJoin = 4;
constexpr std::uint32_t kLocalMatch = 5;
constexpr std::uint32_t kCancel = 8;
constexpr std::uint32_t kAddressPrompt = 10;
constexpr std::uint32_t kConnect = 15;
constexpr std::uint32_t kConnecting = 17;
constexpr std::uint32_t kWaitingForPlayer = 18;
constexpr std::uint32_t kTitleBack = 19;
constexpr std::uint32_t kYesQuit = 31;
constexpr std::uint32_t kNo = 32;
constexpr std::uint32_t kReallyQuit = 35;
constexpr std::uint32_t kStopHosting = 36;
constexpr std::uint32_t kConnectionLost = 37;
constexpr std::uint32_t kOk = 38;
constexpr std::uint32_t kCredits = 41;
constexpr std::uint32_t kPortInUse = 81;
constexpr std::uint32_t kNotAnAddress = 82;
constexpr std::uint32_t kHostSystemReason = 83;
constexpr std::uint32_t kJoinSystemReason = 84;
constexpr std::uint32_t kPortOutOfRange = 92;
constexpr std::uint32_t kTutorialsButton = 97;

constexpr float kLogoHeight = 0.4f;
constexpr float kAddressTextSize = 0.7f;
// The message pages' box is as wide as their panel; the OK in it keeps the
// width of a box of 0.3.
constexpr glm::vec2 kMessageBoxSize{0.48f, 0.45f};
constexpr float kMessageOkWidth = 0.3f / kMessageBoxSize.x;

Widget* Button(Canvas& parent, std::uint32_t textId) { return MakeLocaleTextWidget(parent, textId, kButton); }

const Engine::Texture* LogoTexture()
{
    return Engine::Renderer::GetInstance().textures.Find("SolvaneLogo");
}

void SizeLogo(IElement& logo)
{
    const Engine::Texture* texture = LogoTexture();
    const glm::vec2 rootPixels = logo.GetRoot()->absoluteSize;
    logo.SetRelativeSize(texture ? LogoRelativeSize(texture->Width(), texture->Height(), rootPixels)
                                 : glm::vec2(0.0f));
}

// A message and OK, in a box that keeps its pixel size when the window
// changes. The message, and the system's words under it when there are
// any, sit on a dark panel wider than the OK: the title's background is
// bright and busy on some palettes, and a long sentence needs the width to
// stay large enough to read. A sentence too long for one line at a size
// that reads goes onto two.
void BuildMessagePage(LayerBuild& build, std::uint32_t textId, const std::string& systemWords = {})
{
    Canvas& root = MakeRoot(build);
    Canvas& box = MakeCanvas(root, kMessageBoxSize);
    box.SetSizeMode(IElement::kAbsolute);
    auto* panel = box.Make<Canvas>();
    AddSprite(*panel, kBackgroundColour);
    std::vector<IElement*> lines{MakeLocaleTextWidget(*panel, textId, kPlain)};
    if (!systemWords.empty()) {
        // The system's text is English; every language's font draws it.
        Widget* words = MakePureTextWidget(*panel, u"", kPlain);
        PureTextOf(*words)->SetText(systemWords);
        lines.push_back(words);
    }
    for (IElement* line : lines)
        line->GetComp<Engine::UI::BaseTextComp>()->AllowWrap();
    SpreadVertically(lines, 0.1f);
    Widget* ok = Button(box, kOk);
    ClosesLayer(*ok);
    SpreadVertically({panel, ok}, 0.4f);
    ok->SetRelativeSize(kMessageOkWidth, 0);
    root.Layout();
    build.focus = ok;
}

// The words of the system's error that kept the link shut or ended it.
std::string SocketErrorWords() { return Engine::Platform::ErrorText(NetworkMgr::GetInstance().link_error); }

} // namespace

bool CloseWhenLinkNotOpen(Engine::UI::CustomUpdateComp& comp, const char* message)
{
    const NetworkMgr& network = NetworkMgr::GetInstance();
    if (network.initialised)
        return false;
    StackOf(*comp.owner).RequestPop();
    // The player's own stop or cancel: nothing failed. A failed send
    // disconnects too, but leaves its error.
    if (network.disconnecting && !network.link_error)
        return false;
    std::fputs(message, stderr);
    return true;
}

void CloseHostWaitWhenNotOpen(Engine::UI::CustomUpdateComp& comp)
{
    // The player sees why over the play menu.
    if (CloseWhenLinkNotOpen(comp, "Could not host: the server's socket failed (see above). Back to the play menu.\n"))
        StackOf(*comp.owner).RequestPush(&BuildHostError, kHostErrorLayer);
}

void CloseConnectingWhenNotOpen(Engine::UI::CustomUpdateComp& comp)
{
    if (CloseWhenLinkNotOpen(comp, "Could not join: the client's socket failed (see above). Back to the address.\n"))
        StackOf(*comp.owner).RequestPush(&BuildJoinError, kJoinErrorLayer);
}

glm::vec2 LogoRelativeSize(int textureWidth, int textureHeight, const glm::vec2& rootPixels)
{
    if (textureHeight <= 0 || rootPixels.x <= 0.0f)
        return {0.0f, kLogoHeight};
    const int aspect = textureWidth / textureHeight;
    return {static_cast<float>(aspect) * kLogoHeight * rootPixels.y / rootPixels.x, kLogoHeight};
}

void FitLogo(Engine::UI::CustomUpdateComp& comp) { SizeLogo(*comp.owner); }

std::u16string WaitingText(std::uint32_t textId, std::time_t seconds)
{
    const auto dots = static_cast<std::size_t>(seconds % 4);
    return Engine::UI::GetLocaleText(textId) + std::u16string(dots, u'.');
}

void ShowWaitingText(Engine::UI::CustomUpdateComp& comp, std::uint32_t textId)
{
    if (auto* text = PureTextOf(*comp.owner))
        text->SetText(WaitingText(textId, std::time(nullptr)));
}

void BuildTitleMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);

    auto* logo = root.Make<Widget>();
    logo->position = glm::vec2(0.0f, 0.5f);
    logo->MakeComp<Engine::UI::SpriteRenderComp>(LogoTexture(), glm::vec4(1.0f));
    RunsEveryFrame(*logo, &FitLogo);
    SizeLogo(*logo);

    Canvas& list = MakeCanvas(root, {0.3f, 0.45f}, {0.0f, -0.25f});
    Widget* play = Button(list, kPlay);
    OpensLayer(*play, &BuildPlayMenu, kPlayLayer);
    Widget* options = Button(list, kOptions);
    OpensLayer(*options, &BuildOptionsMenu, kOptionsLayer);
    Widget* tutorials = Button(list, kTutorialsButton);
    OpensLayer(*tutorials, &BuildTutorialMenu, kTutorialLayer);
    Widget* credits = Button(list, kCredits);
    OpensLayer(*credits, &BuildCreditsMenu, kCreditsLayer);
    Widget* quit = Button(list, kQuit);
    OpensLayer(*quit, &BuildConfirmQuit, kConfirmQuitLayer);
    SpreadVertically({play, options, tutorials, credits, quit}, 0.3f);
    build.focus = play;
}

void BuildPlayMenu(LayerBuild& build)
{
    ResetPrematchState();
    Canvas& root = MakeRoot(build, {0.3f, 0.45f});
    Widget* host = Button(root, kHost);
    OpensLayer(*host, &BuildHostWaitMenu, kHostWaitLayer);
    Runs(*host, &Call<&StartServer>);
    Widget* join = Button(root, kJoin);
    OpensLayer(*join, &BuildEnterAddressMenu, kEnterAddressLayer);
    Widget* local = Button(root, kLocalMatch);
    OpensLayer(*local, &BuildLocalPrematch, kLocalPrematchLayer);
    Widget* back = Button(root, kTitleBack);
    ClosesLayer(*back);
    SpreadVertically({host, join, local, back}, 0.4f);
    build.focus = local;
}

void BuildHostWaitMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Widget* waiting = MakePureTextWidget(root, u"", kBackground);
    Place(*waiting, {0.0f, 0.5f}, {0.6f, 0.12f});
    RunsEveryFrame(*waiting, &UpdateWaitingText<kWaitingForPlayer>);
    Widget* stop = Button(root, kStopHosting);
    Place(*stop, {0.0f, -0.5f}, {0.5f, 0.12f});
    ClosesLayer(*stop);
    Runs(*stop, &Call<&CloseServer>);
    RunsEveryFrame(*stop, &CloseHostWaitWhenNotOpen);
    build.focus = stop;
}

void BuildEnterAddressMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build, {0.5f, 0.5f});
    auto* box = root.Make<Canvas>();
    AddSprite(*box, kBackgroundColour);
    auto* buttons = root.Make<Canvas>();
    SpreadVertically({box, buttons}, 0.1f);

    // The prompt takes the language's font; the address is digits, full
    // stops and colons, which every font has, so it stays in "Latin".
    PushTextStyle(kAddressTextSize);
    Widget* prompt = MakeLocaleTextWidget(*box, kAddressPrompt, kPlain);
    Widget* field = MakePureTextWidget(*box, u"", kPlain);
    PopTextStyle(1);
    Engine::UI::PureTextComp* fieldText = PureTextOf(*field);
    fieldText->SetFont(Engine::UI::GetFontForLanguage(0));
    SpreadVertically({prompt, field}, 0.2f);

    auto* address = field->MakeComp<EnterIPComponent>(fieldText);
    GameState& state = GameState::GetInstance();
    if (state.joinAddress.empty())
        LoadIPToConnect(state);
    address->SetText(state.joinAddress);
    address->MakeActive();

    Widget* connect = Button(*buttons, kConnect);
    Runs(*connect, &Call<&ConnectToTypedAddress>);
    Widget* back = Button(*buttons, kTitleBack);
    ClosesLayer(*back);
    SpreadVertically({connect, back}, 0.2f);
    build.focus = connect;
}

void BuildConnectingMenu(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Canvas& menu = MakeCanvas(root, {0.5f, 0.35f});
    Widget* waiting = MakePureTextWidget(menu, u"", kBackground);
    Place(*waiting, {0.0f, 1.0f}, {1.0f, 0.3f}, {0.0f, -1.0f});
    RunsEveryFrame(*waiting, &UpdateWaitingText<kConnecting>);
    Widget* cancel = Button(menu, kCancel);
    Place(*cancel, {0.0f, -1.0f}, {1.0f, 0.3f}, {0.0f, 1.0f});
    ClosesLayer(*cancel);
    Runs(*cancel, &Call<&AbortClientConnection>);
    RunsEveryFrame(*cancel, &CloseConnectingWhenNotOpen);
    build.focus = cancel;
}

void BuildConfirmQuit(LayerBuild& build)
{
    Canvas& root = MakeRoot(build);
    Widget* question = MakeLocaleTextWidget(root, kReallyQuit, kBackground);
    Place(*question, {0.0f, 0.3f}, {0.5f, 0.1f});
    Widget* no = Button(root, kNo);
    Place(*no, {-0.3f, -0.3f}, {0.2f, 0.1f});
    ClosesLayer(*no);
    Widget* yes = Button(root, kYesQuit);
    Place(*yes, {0.3f, -0.3f}, {0.2f, 0.1f});
    Runs(*yes, &Call<&QuitProgram>);
    build.focus = no;
}

void BuildConnectionLost(LayerBuild& build) { BuildMessagePage(build, kConnectionLost); }

void BuildHostError(LayerBuild& build)
{
    if (Engine::Platform::IsAddressInUse(NetworkMgr::GetInstance().link_error))
        BuildMessagePage(build, kPortInUse);
    else
        BuildMessagePage(build, kHostSystemReason, SocketErrorWords());
}

void BuildJoinError(LayerBuild& build) { BuildMessagePage(build, kJoinSystemReason, SocketErrorWords()); }

void BuildNotAnAddress(LayerBuild& build) { BuildMessagePage(build, kNotAnAddress); }

void BuildPortOutOfRange(LayerBuild& build) { BuildMessagePage(build, kPortOutOfRange); }

} // namespace LayerCreator
