#include "engine/platform/DocumentsFolder.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(DocumentsFolder, UserDirsLinesAreReadWithHomeExpanded)
{
    struct Case {
        const char* text;
        const char* folder;
    };
    const Case cases[] = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", "/home/ada/Docs"},
        {"# a comment\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n  XDG_DOCUMENTS_DIR=\"/srv/papers\"\r\n", "/srv/papers"},
        {"XDG_DOCUMENTS_DIR=\"relative/path\"\n", ""},
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Engine::Platform::DocumentsDirFromUserDirs(c.text, "/home/ada"), c.folder) << c.text;
}

TEST(DocumentsFolder, EnvironmentThenUserDirsThenHomeDocumentsEachCreated)
{
    ScopedTempDir dir;
    const std::string home = dir.Path().string();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home + "/env/deep/docs").c_str(), 1);
    EXPECT_EQ(Engine::Platform::DocumentsFolder(), home + "/env/deep/docs/");
    EXPECT_TRUE(std::filesystem::is_directory(home + "/env/deep/docs"));

    unsetenv("XDG_DOCUMENTS_DIR");
    EXPECT_EQ(Engine::Platform::DocumentsFolder(), home + "/Documents/");
    std::filesystem::create_directories(home + "/.config");
    WriteFileText(home + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n");
    EXPECT_EQ(Engine::Platform::DocumentsFolder(), home + "/Papiere/");
    EXPECT_TRUE(std::filesystem::is_directory(home + "/Papiere"));

    // Without HOME the password database names the home folder.
    unsetenv("HOME");
    EXPECT_FALSE(Engine::Platform::HomeFolder().empty());
}

} // namespace
