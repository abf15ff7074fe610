#include "engine/platform/FileSizeSignal.h"
#include "engine/platform/ReplaceFile.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Engine::Platform::Replacement;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// Root may give a file any group and write any file, so what a player meets
// in a folder shared with other users shows only in a process that is not
// root: the save runs in a child that has become nobody, under a file-size
// limit of `mostBytes`, and hands back what became of it.
Replacement SavedAsNobody(const std::string& path, const std::string& text, rlim_t mostBytes = RLIM_INFINITY)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {"no pipe"};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const rlimit limit{mostBytes, RLIM_INFINITY};
        std::string said = "the child could not become nobody";
        if (setgroups(0, nullptr) == 0 && setgid(kNoGroup) == 0 && setuid(kNobody) == 0 &&
            setrlimit(RLIMIT_FSIZE, &limit) == 0) {
            Engine::Platform::IgnoreFileSizeSignal();
            const Replacement saved = Engine::Platform::ReplaceFileContents(path, text);
            said = (saved.fileChanged ? "1" : "0") + saved.failure;
        }
        const bool sent = write(channel[1], said.data(), said.size()) == static_cast<ssize_t>(said.size());
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    std::string said;
    char chunk[512];
    for (ssize_t got; (got = read(channel[0], chunk, sizeof chunk)) > 0;)
        said.append(chunk, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (said.empty() || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {"the child said nothing"};
    return {said.substr(1), said[0] == '1'};
}

class SavedByAnotherUser : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "acting as another user takes root";
        ASSERT_FALSE(folder.empty());
        ASSERT_EQ(chown(folder.c_str(), kNobody, kNoGroup), 0);
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void PlaceFile(const std::string& text, uid_t owner, gid_t group, mode_t mode) const
    {
        WriteFileText(path, text);
        ASSERT_EQ(chown(path.c_str(), owner, group), 0);
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
    }

    struct stat Status() const
    {
        struct stat status {};
        stat(path.c_str(), &status);
        return status;
    }

    const std::string folder = MakeTempFolder("solvane-replace");
    const std::string path = folder + "/config";
};

// A file of the user's own in a group the user is not in: the new file
// cannot be given that group, so the group's readers lose it rather than the
// user's own group gaining it.
TEST_F(SavedByAnotherUser, AGroupThatCannotBeGivenLosesItsBitsRatherThanPassThemOn)
{
    PlaceFile("old", kNobody, 0, 0640);
    const Replacement saved = SavedAsNobody(path, "new");
    EXPECT_EQ(saved.failure, "");
    EXPECT_EQ(ReadFileText(path), "new");
    EXPECT_EQ(Status().st_uid, kNobody);
    EXPECT_EQ(Status().st_gid, kNoGroup);
    EXPECT_EQ(Status().st_mode & 07777, 0600u);
}

// Another user's file that everybody may write is written where it stands,
// so a write the size limit cuts short leaves new text over part of the
// old: the save must say the old file is no longer what it was. One cut
// before its first byte has changed nothing.
TEST_F(SavedByAnotherUser, AWriteInPlaceCutShortSaysTheOldTextIsPartlyOverwritten)
{
    const std::string old(3000, 'o');
    const std::string text(3000, 'n');
    PlaceFile(old, 0, 0, 0666);
    Replacement saved = SavedAsNobody(path, text, 0);
    EXPECT_NE(saved.failure.find("cannot write \"" + path + "\": File too large"), std::string::npos) << saved.failure;
    EXPECT_FALSE(saved.fileChanged) << saved.failure;
    EXPECT_EQ(ReadFileText(path), old);

    saved = SavedAsNobody(path, text, 2048);
    EXPECT_NE(saved.failure.find("partly overwritten"), std::string::npos) << saved.failure;
    EXPECT_TRUE(saved.fileChanged);
    EXPECT_EQ(ReadFileText(path), std::string(2048, 'n') + std::string(952, 'o'));
    EXPECT_EQ(Status().st_uid, 0u) << "still its owner's";
    EXPECT_EQ(Status().st_mode & 07777, 0666u);
}

} // namespace
