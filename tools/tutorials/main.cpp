// Captures the tutorials' recordings: each script plays as a local match on
// the engine (run it under an X server; xvfb-run serves) and its frames are
// written as a recording file.
//
//   solvane_capture_tutorials OUTPUT_FOLDER [FILE_NAME...]
//
// Without file names every tutorial is captured. Run from the build folder
// (the data folder is read from the working directory).
#include "engine/platform/FileSizeSignal.h"
#include "game/arena/RecordingFile.h"
#include "tools/tutorials/Scripts.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The user's configuration (window, bindings) must not shape the capture:
// the engine reads and writes it under a home of its own.
class PrivateHome {
public:
    PrivateHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "solvane-capture-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            mPath = pattern;
        setenv("HOME", mPath.c_str(), 1);
        unsetenv("XDG_DOCUMENTS_DIR");
    }
    ~PrivateHome()
    {
        std::error_code ignored;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, ignored);
    }
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;

private:
    std::string mPath;
};

bool Wanted(const Script& script, const std::vector<std::string>& names)
{
    if (names.empty())
        return true;
    for (const std::string& name : names)
        if (name == script.file)
            return true;
    return false;
}

std::size_t TileFrames(const std::vector<MatchFrame>& frames)
{
    std::size_t count = 0;
    for (const MatchFrame& frame : frames)
        count += frame.tiles.empty() ? 0 : 1;
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "Usage: " << argv[0] << " OUTPUT_FOLDER [FILE_NAME...]\n";
        return 2;
    }
    // A recording cut by the file-size limit is refused with a message, not
    // left half written by the signal's kill.
    Engine::Platform::IgnoreFileSizeSignal();
    const std::filesystem::path folder = argv[1];
    const std::vector<std::string> names(argv + 2, argv + argc);
    for (const std::string& name : names) {
        bool known = false;
        for (const Script& script : TutorialScripts())
            known = known || name == script.file;
        if (!known) {
            std::cerr << "No tutorial is recorded as \"" << name << "\".\n";
            return 2;
        }
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::cerr << "Cannot make the folder " << folder << ": " << error.message() << "\n";
        return 1;
    }

    PrivateHome home;
    if (!Stage::StartEngine()) {
        std::cerr << "The engine did not start (is there an X server?).\n";
        return 1;
    }
    int failures = 0;
    for (const Script& script : TutorialScripts()) {
        if (!Wanted(script, names))
            continue;
        std::vector<MatchFrame> frames;
        {
            Stage stage(script, kCaptureSeed);
            frames = stage.Play();
        }
        std::vector<const MatchFrame*> list;
        for (const MatchFrame& frame : frames)
            list.push_back(&frame);
        std::string problem;
        const std::filesystem::path path = folder / script.file;
        if (!RecordingFile::Write(path.string(), list, script.focus, problem)) {
            std::cerr << script.file << ": " << problem << "\n";
            ++failures;
            continue;
        }
        std::cout << script.file << ": " << frames.size() << " frames, " << TileFrames(frames)
                  << " with tiles, " << std::filesystem::file_size(path, error) << " bytes\n";
    }
    return failures == 0 ? 0 : 1;
}
