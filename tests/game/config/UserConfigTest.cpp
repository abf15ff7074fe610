#include "engine/audio/MasterVolume.h"
#include "engine/render/GlTestWindow.h"
#include "engine/ui/Localisation.h"
#include "game/config/GameText.h"
#include "game/config/UserConfig.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using nlohmann::json;

// A home of its own in a temporary folder, with no XDG settings, and the
// game's window.
struct ConfigHome : ::testing::Test {
    void SetUp() override
    {
        setenv("HOME", dir.Path().c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
        OpenTestWindow();
        window = Engine::Window::Main();
        window->SetFullscreen(false);
        window->SetResolution({1280, 720});
        // A new run speaks the first language until a file says otherwise.
        Engine::UI::SetLanguage(0);
        PutBackTheSettingsOfANewRun();
    }
    // For the tests after these in the binary, in any order.
    void TearDown() override { PutBackTheSettingsOfANewRun(); }

    // Volumes, bindings and the stored language too, which a file read by
    // an earlier test would otherwise leave behind.
    static void PutBackTheSettingsOfANewRun() { UserConfig::Apply(UserSettings{}); }

    std::string ConfigPath() const { return dir.Path().string() + "/Documents/Solvane2/config"; }
    json SavedFile() const { return json::parse(ReadFileText(ConfigPath())); }

    ScopedTempDir dir;
    Engine::Window* window = nullptr;
};

std::ptrdiff_t FilesIn(const std::filesystem::path& folder)
{
    return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
}

// Every key set to something other than its built-in value; the size fits
// the 1280 x 720 display, so the window takes it as it stands.
json ChangedSettings()
{
    json file = {{"VSync", true},           {"music_volume", 0.25},  {"sfx_volume", 0.75},
                 {"resolution_x", 1152},    {"resolution_y", 648},   {"fullscreen", false},
                 {"language", 3},           {"Active", 225},         {"Run", 224},
                 {"Left", 80},              {"Right", 79},           {"Back", 81},
                 {"Forward", 82},           {"Jump", 5},             {"BendActivate", 9},
                 {"BendDeActivate", 10},    {"BallShoot", 1},        {"BallReturn", 2},
                 {"BallDesintegrate", 4},   {"ControllerActive", 3}, {"ControllerJump", 4},
                 {"ControllerRun", 8},      {"ControllerBendActivate", 15},
                 {"ControllerBendDeactivate", 16}, {"ControllerShoot", 5}, {"ControllerReturn", 6},
                 {"ControllerDesintegrate", 11}};
    return file;
}

TEST_F(ConfigHome, FirstRunGoesFullscreenWithoutVSyncAndWritesNothingUntilSaved)
{
    Engine::Renderer::GetInstance().SetVSync(true);
    UserConfig::Load();
    EXPECT_TRUE(window->IsFullscreen());
    EXPECT_FALSE(Engine::Renderer::GetInstance().GetVSync());
    EXPECT_EQ(Engine::MasterVolume::music, 0.5f);
    EXPECT_EQ(Engine::MasterVolume::sfx, 0.5f);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Documents/Solvane2"));
    EXPECT_FALSE(std::filesystem::exists(ConfigPath()));

    UserConfig::Save();
    const json saved = SavedFile();
    EXPECT_EQ(saved.size(), 27u);
    EXPECT_EQ(saved.at("fullscreen"), true);
    EXPECT_EQ(saved.at("VSync"), false);
    EXPECT_EQ(saved.at("Left"), 4);
    EXPECT_EQ(saved.at("BallDesintegrate"), 2);
    EXPECT_EQ(saved.at("ControllerDesintegrate"), -1);
    EXPECT_EQ(saved.at("language"), 0);
    // Compact, one line, keys in order.
    const std::string text = ReadFileText(ConfigPath());
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_TRUE(text.starts_with("{\"Active\":224,"));
}

TEST_F(ConfigHome, EveryKeyRoundTripsAndPlayer2TakesPlayer1sBindings)
{
    std::filesystem::create_directories(dir.Path() / "Documents/Solvane2");
    WriteFileText(ConfigPath(), ChangedSettings().dump());
    InputBindings::Records()[1].codes[InputBindings::Jump] = 77;
    InputBindings::Records()[1].UsesController = false;

    UserConfig::Load();
    EXPECT_TRUE(Engine::Renderer::GetInstance().GetVSync());
    EXPECT_EQ(Engine::MasterVolume::music, 0.25f);
    EXPECT_EQ(Engine::MasterVolume::sfx, 0.75f);
    EXPECT_EQ(window->GetSize(), std::make_pair(1152, 648));
    EXPECT_FALSE(window->IsFullscreen());
    const InputBindings& first = InputBindings::ForPlayer(1);
    EXPECT_EQ(first.Code(InputBindings::Jump), 5u);
    EXPECT_EQ(first.Button(InputBindings::ControllerBendDeactivate), 16);
    EXPECT_EQ(first.Code(InputBindings::BendMode0), 110u) << "slots the file does not name keep theirs";
    EXPECT_TRUE(first.UsesController);
    EXPECT_EQ(InputBindings::ForPlayer(2), first);
    EXPECT_EQ(&InputBindings::ForPlayer(3), &first);
    EXPECT_EQ(&InputBindings::ForPlayer(0), &InputBindings::ForPlayer(2));
    EXPECT_EQ(&InputBindings::ForPlayer(std::numeric_limits<int>::min()), &InputBindings::ForPlayer(2));
    EXPECT_EQ(&InputBindings::ForPlayer(-1), &first);

    // The table selects language 0 when it loads; the stored one follows.
    WriteFileText("all_text", std::string(635, '\n'));
    ASSERT_TRUE(GameText::Load("all_text"));
    EXPECT_EQ(Localisation::GetLanguage(), 0u);
    UserConfig::ApplyStoredLanguage();
    EXPECT_EQ(Localisation::GetLanguage(), 3u);

    // Another user's file beside the settings, named as a temporary file of
    // theirs might be, is none of the save's: neither written nor renamed in.
    const std::string theirs = ConfigPath() + ".tmp";
    WriteFileText(theirs, "theirs");
    ASSERT_EQ(chmod(theirs.c_str(), 0606), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    }
    std::filesystem::remove(ConfigPath());
    UserConfig::Save();
    EXPECT_EQ(SavedFile(), ChangedSettings());
    EXPECT_EQ(ReadFileText(theirs), "theirs");
    struct stat saved {};
    ASSERT_EQ(stat(ConfigPath().c_str(), &saved), 0);
    EXPECT_EQ(saved.st_uid, geteuid());
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(saved.st_mode & 07777, 0666u & ~mask) << "a new file's mode, as any other";
    EXPECT_EQ(FilesIn(dir.Path() / "Documents/Solvane2"), 2) << "no temporary file left";
    ASSERT_EQ(chmod(ConfigPath().c_str(), 0600), 0);
    UserConfig::Save();
    ASSERT_EQ(stat(ConfigPath().c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0600u) << "a file made private stays private";

    // Once the table is there, a load applies its language at once.
    json english = ChangedSettings();
    english["language"] = 1;
    WriteFileText(ConfigPath(), english.dump());
    UserConfig::Load();
    EXPECT_EQ(Localisation::GetLanguage(), 1u);
}

// The size the player chose survives fullscreen: switched on and off again
// (F11, the options' toggle), with the frames' size checks between, the
// file and the next match's start still find it, not the display's size.
TEST_F(ConfigHome, FullscreenOnAndOffKeepsTheChosenWindowSize)
{
    const auto settle = [this](std::pair<int, int> wanted) {
        for (int i = 0; i < 600 && window->GetSize() != wanted; ++i) {
            SDL_PumpEvents();
            SDL_Delay(5);
        }
        Engine::Window::CheckResize();
    };
    SDL_DisplayMode display{};
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &display), 0);
    window->SetResolution({800, 600});
    settle({800, 600});
    window->SetFullscreen(true);
    settle({display.w, display.h});
    ASSERT_EQ(window->GetSize(), std::make_pair(display.w, display.h)) << "the window fills the display";
    UserConfig::Save();
    window->SetFullscreen(false);
    UserConfig::Save();
    const json saved = SavedFile();
    EXPECT_EQ(std::make_pair(saved.at("resolution_x").get<int>(), saved.at("resolution_y").get<int>()),
              std::make_pair(800, 600));
    settle({800, 600});
    EXPECT_EQ(window->GetSize(), std::make_pair(800, 600));
}

TEST_F(ConfigHome, BrokenFilesKeepWhatTheyCannotSayAndNameIt)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> named;
        std::function<void()> check;
    };
    auto with = [](std::initializer_list<std::pair<const char*, json>> changes) {
        json file = ChangedSettings();
        for (const auto& [key, value] : changes) {
            if (value.is_null())
                file.erase(key);
            else
                file[key] = value;
        }
        return file.dump();
    };
    const InputBindings defaults = InputBindings::Defaults();
    auto untouched = [&] {
        EXPECT_EQ(Engine::MasterVolume::music, 0.5f);
        EXPECT_EQ(InputBindings::ForPlayer(1), defaults);
    };
    const Case cases[] = {
        {"not JSON", "{\"VSync\": tru", {"not JSON"}, untouched},
        {"not an object", "[1, 2, 3]", {"not one JSON object"}, untouched},
        {"empty", "", {"not JSON"}, untouched},
        {"oversized", std::string(70000, ' ') + "{}", {"larger than 64 KiB"}, untouched},
        {"wrong types",
         with({{"VSync", "yes"}, {"fullscreen", 1}, {"music_volume", "loud"}, {"language", 2.5}}),
         {"\"VSync\" (not true or false)", "\"fullscreen\" (not true or false)", "\"music_volume\" (not a number)",
          "\"language\" (not a whole number)"},
         [&] {
             EXPECT_FALSE(Engine::Renderer::GetInstance().GetVSync());
             EXPECT_EQ(Engine::MasterVolume::music, 0.5f);
             EXPECT_EQ(Engine::MasterVolume::sfx, 0.75f) << "the good keys still apply";
             EXPECT_EQ(InputBindings::ForPlayer(2).Code(InputBindings::Jump), 5u);
         }},
        {"volumes beyond 0 to 1 are clamped", with({{"music_volume", 7.5}, {"sfx_volume", -2}}), {},
         [&] {
             EXPECT_EQ(Engine::MasterVolume::music, 1.0f);
             EXPECT_EQ(Engine::MasterVolume::sfx, 0.0f);
         }},
        {"a resolution out of range", with({{"resolution_x", 100}}), {"\"resolution_x\" (not a width"},
         [&] { EXPECT_EQ(window->GetSize(), std::make_pair(1280, 720)) << "half a size is no size"; }},
        {"a huge resolution", with({{"resolution_y", 18446744073709551615ull}}), {"\"resolution_y\" (not a height"},
         [&] { EXPECT_EQ(window->GetSize(), std::make_pair(1280, 720)); }},
        {"bindings out of their ranges",
         with({{"Left", 9999}, {"BallShoot", 7}, {"ControllerJump", -5}, {"Jump", 1.5}, {"Run", -1}}),
         {"\"Left\" (not a key scancode", "\"BallShoot\" (not a mouse button", "\"ControllerJump\" (not a controller",
          "\"Jump\" (not a whole number", "\"Run\" (not a key scancode"},
         [&] {
             const InputBindings& player = InputBindings::ForPlayer(1);
             EXPECT_EQ(player.Code(InputBindings::Left), 4u);
             EXPECT_EQ(player.Code(InputBindings::BallShoot), 0u);
             EXPECT_EQ(player.Button(InputBindings::ControllerJump), 0);
             EXPECT_EQ(player.Code(InputBindings::Right), 79u);
         }},
        {"missing keys", with({{"Forward", nullptr}, {"sfx_volume", nullptr}}),
         {"\"Forward\" (missing)", "\"sfx_volume\" (missing)"},
         [&] {
             EXPECT_EQ(InputBindings::ForPlayer(1).Code(InputBindings::Forward), 26u);
             EXPECT_EQ(Engine::MasterVolume::music, 0.25f);
         }},
    };
    std::filesystem::create_directories(dir.Path() / "Documents/Solvane2");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Engine::MasterVolume::music = Engine::MasterVolume::sfx = 0.5f;
        Engine::Renderer::GetInstance().SetVSync(false);
        InputBindings::Records() = {defaults, defaults};
        window->SetResolution({1280, 720});
        WriteFileText(ConfigPath(), c.text);
        const std::string said = StderrOf([] { UserConfig::Load(); });
        if (c.named.empty())
            EXPECT_EQ(said, "");
        else
            EXPECT_NE(said.find(ConfigPath()), std::string::npos) << said;
        EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 1) << "one message";
        for (const std::string& name : c.named)
            EXPECT_NE(said.find(name), std::string::npos) << said;
        c.check();
    }
}

TEST_F(ConfigHome, AFileThatIsThereButCannotBeReadIsNamedWithWhyAndStartsAsAFirstRun)
{
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
        const char* why;
    };
    const Case cases[] = {
        {"a link to itself", [](const std::string& path) { std::filesystem::create_symlink(path, path); },
         "symbolic links"},
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); }, "not a regular file"},
        {"a named pipe (opening it would wait for a writer)", [](const std::string& path) { mkfifo(path.c_str(), 0600); },
         "not a regular file"},
    };
    std::filesystem::create_directories(dir.Path() / "Documents/Solvane2");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(ConfigPath());
        c.make(ConfigPath());
        window->SetFullscreen(false);
        const std::string said = StderrOf([] { UserConfig::Load(); });
        EXPECT_NE(said.find(ConfigPath()), std::string::npos) << said;
        EXPECT_NE(said.find(c.why), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_TRUE(window->IsFullscreen());
    }
}

// A disk that fills part-way through the save (here a file-size limit one
// byte short of the old file, which each new one outgrows). The player
// knows the settings file, not the temporary one of each save, and hears
// once of a failure that every further change meets again.
TEST_F(ConfigHome, AFailedSaveSaysWhyOnceNamingTheFileAndKeepsTheOldFile)
{
    UserConfig::Save();
    ASSERT_EQ(chmod(ConfigPath().c_str(), 0600), 0);
    const std::string old = ReadFileText(ConfigPath());
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit cut{old.size() - 1, limit.rlim_max};
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &cut), 0);
    const std::string said = StderrOf([] {
        for (const float music : {0.25f, 0.3f, 0.35f}) {
            Engine::MasterVolume::music = music;
            UserConfig::Save();
        }
    });
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_NE(said.find("settings not saved (cannot write \"" + ConfigPath() + "\": "), std::string::npos) << said;
    EXPECT_NE(said.find("the old file is kept"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(ReadFileText(ConfigPath()), old);
    EXPECT_EQ(FilesIn(dir.Path() / "Documents/Solvane2"), 1) << "no temporary file left";
}

// The readers the player chose through the file's group stay its readers.
TEST_F(ConfigHome, ASavedFileKeepsItsGroupAndMode)
{
    UserConfig::Save();
    const gid_t other = getegid() == 65534 ? 0 : 65534;
    if (chown(ConfigPath().c_str(), static_cast<uid_t>(-1), other) != 0)
        GTEST_SKIP() << "this user may not give the file to group " << other;
    ASSERT_EQ(chmod(ConfigPath().c_str(), 0640), 0);
    Engine::MasterVolume::music = 0.25f;
    UserConfig::Save();
    struct stat saved {};
    ASSERT_EQ(stat(ConfigPath().c_str(), &saved), 0);
    EXPECT_EQ(saved.st_gid, other);
    EXPECT_EQ(saved.st_mode & 07777, 0640u);
    EXPECT_EQ(SavedFile().at("music_volume"), 0.25f);
}

// A file the running user may not write by its mode bits (tests may run as
// root, whom access() lets write anything): the file stays as it is, owner
// and mode kept, the game says once why its settings are not saved, and
// keeps them, even across a match start's read. Once `unlock` lets the user
// write it again, the next change is saved, with what the game ran.
void ExpectLockedFileKept(const ConfigHome& home, const std::function<void(const char*)>& lock,
                          const std::string& why, const std::function<void(const char*)>& unlock)
{
    const std::string path = home.ConfigPath();
    std::filesystem::create_directories(home.dir.Path() / "Documents/Solvane2");
    const std::string kept = ChangedSettings().dump();
    WriteFileText(path, kept);
    lock(path.c_str());
    struct stat locked {};
    ASSERT_EQ(stat(path.c_str(), &locked), 0);
    UserConfig::Load();
    Engine::MasterVolume::music = 0.9f;

    const std::string said = StderrOf([] { UserConfig::Save(); });
    EXPECT_NE(said.find("settings not saved"), std::string::npos) << said;
    EXPECT_NE(said.find(path + why), std::string::npos) << said;
    Engine::MasterVolume::sfx = 0.1f;
    EXPECT_EQ(StderrOf([] { UserConfig::Save(); }), "") << "said once";
    UserConfig::Load();
    EXPECT_EQ(Engine::MasterVolume::music, 0.9f);
    EXPECT_EQ(Engine::MasterVolume::sfx, 0.1f);
    EXPECT_EQ(ReadFileText(path), kept);
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, locked.st_uid);
    EXPECT_EQ(after.st_mode, locked.st_mode);

    unlock(path.c_str());
    EXPECT_EQ(StderrOf([] { UserConfig::Save(); }), "");
    EXPECT_EQ(home.SavedFile().at("music_volume"), 0.9f);
}

TEST_F(ConfigHome, AReadOnlyFileIsLeftAsItIsSaidOnceAndTheChangesHold)
{
    ExpectLockedFileKept(
        *this, [](const char* path) { ASSERT_EQ(chmod(path, 0444), 0); }, "\" is read-only for its owner (mode 0444)",
        [](const char* path) { ASSERT_EQ(chmod(path, 0644), 0); });
}

// Another user's file in the player's folder: a rename over it would hand
// it to the running user. One its mode does not let us write is left as it
// is; one everybody may write is written where it stands, still theirs.
TEST_F(ConfigHome, AnotherUsersFileKeepsItsOwnerAndModeAndIsWrittenOnlyIfItsModeLetsUs)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "giving the file to another user takes root";
    ExpectLockedFileKept(
        *this, [](const char* path) { ASSERT_EQ(chown(path, 65534, 65534), 0); },
        "\" belongs to uid 65534 and its mode 0644 does not let uid 0 write it",
        [](const char* path) { ASSERT_EQ(chown(path, 0, 0), 0); });

    // Longer than what replaces it: nothing of it may stay past the end.
    // Through a link, the owner that counts is the one of the file it leads to.
    const std::string path = ConfigPath();
    for (const std::string& file : {path, (dir.Path() / "theirs").string()}) {
        SCOPED_TRACE(file);
        std::filesystem::remove(path);
        if (file != path)
            std::filesystem::create_symlink(file, path);
        WriteFileText(file, ChangedSettings().dump(4));
        ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
        ASSERT_EQ(chmod(file.c_str(), 0666), 0);
        Engine::MasterVolume::music = 0.3f;
        EXPECT_EQ(StderrOf([] { UserConfig::Save(); }), "");
        EXPECT_EQ(SavedFile().at("music_volume"), 0.3f);
        struct stat after {};
        ASSERT_EQ(lstat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, 65534u);
        EXPECT_EQ(after.st_mode & 07777, 0666u);
    }
}

// A settings file that is a symbolic link to a file elsewhere, as dotfile
// managers make them, stays a link: the file it leads to takes the
// settings, if a plain file there would, or a new one in a folder that is
// there. Anything else at its end is left, and why is said.
TEST_F(ConfigHome, ALinkStaysALinkAndTheFileItLeadsToTakesTheSettings)
{
    struct Case {
        const char* what;
        std::string linkTo;
        mode_t targetMode; // 0: there is no file at the link's end; S_IFIFO: a named pipe
        std::string said;  // "": the settings are saved
    };
    const std::string target = (dir.Path() / "dotfiles/config").string();
    const Case cases[] = {
        {"a link to another folder", target, 0644, ""},
        {"a link relative to its own folder", "../../dotfiles/config", 0644, ""},
        {"a link to a read-only file", "../../dotfiles/config", 0444, "dotfiles/config\" is read-only for its owner"},
        {"a link to a file yet to be made", "../../dotfiles/config", 0, ""},
        {"a link into no folder", "../../nowhere/config", 0,
         "nowhere/config\", which is in a folder that does not exist"},
        {"a link to a named pipe", "../../dotfiles/config", S_IFIFO | 0600,
         "dotfiles/config\", which is a named pipe, not a regular file"},
    };
    std::filesystem::create_directories(dir.Path() / "Documents/Solvane2");
    std::filesystem::create_directories(dir.Path() / "dotfiles");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string end = (dir.Path() / "Documents/Solvane2" / c.linkTo).lexically_normal().string();
        std::filesystem::remove(ConfigPath());
        std::filesystem::remove(end);
        std::filesystem::create_symlink(c.linkTo, ConfigPath());
        if (S_ISFIFO(c.targetMode)) {
            ASSERT_EQ(mkfifo(end.c_str(), 0600), 0);
        } else if (c.targetMode != 0) {
            WriteFileText(end, "{}");
            ASSERT_EQ(chmod(end.c_str(), c.targetMode), 0);
        }
        Engine::MasterVolume::music = 0.3f;
        const std::string said = StderrOf([] { UserConfig::Save(); });
        std::error_code notALink;
        EXPECT_EQ(std::filesystem::read_symlink(ConfigPath(), notALink), c.linkTo) << "still the same link";
        if (c.said.empty()) {
            EXPECT_EQ(said, "");
            EXPECT_EQ(json::parse(ReadFileText(end))["music_volume"], 0.3f);
        } else {
            EXPECT_NE(said.find("settings not saved"), std::string::npos) << said;
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
            EXPECT_EQ(said.find("/../"), std::string::npos) << "the link's end by its real path: " << said;
            EXPECT_EQ(said.find("old file is kept") != std::string::npos, c.targetMode != 0 && !S_ISFIFO(c.targetMode))
                << said;
            if (S_ISFIFO(c.targetMode))
                EXPECT_TRUE(std::filesystem::is_fifo(end)) << "left as it was";
            else
                EXPECT_EQ(ReadFileText(end), c.targetMode != 0 ? "{}" : "") << "left as it was";
        }
    }
}

} // namespace
