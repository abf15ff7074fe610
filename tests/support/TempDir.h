#pragma once
#include <filesystem>
#include <string>
#include <unistd.h>

// Runs a test inside a fresh temporary folder and returns to the old working
// directory afterwards, so tests that write files (log.txt, scenes) never see
// each other's output.
class ScopedTempDir {
public:
    ScopedTempDir()
    {
        mOld = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "solvane-test-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        mPath = made ? std::filesystem::path(made) : mOld;
        std::filesystem::current_path(mPath);
    }
    ~ScopedTempDir()
    {
        std::filesystem::current_path(mOld);
        std::error_code ignored;
        if (mPath != mOld)
            std::filesystem::remove_all(mPath, ignored);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::filesystem::path& Path() const { return mPath; }

private:
    std::filesystem::path mOld;
    std::filesystem::path mPath;
};
