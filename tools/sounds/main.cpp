// Writes every sound file of the game under the data folder given on the
// command line. Each sound is made on its own thread; all are deterministic.
#include "tools/sounds/Catalogue.h"
#include "tools/sounds/WavFile.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace {

// Empty on success, else what went wrong.
std::string WriteOne(const SoundGen::SoundFile& file, const std::filesystem::path& root)
{
    try {
        const std::filesystem::path target = root / file.path;
        std::error_code made;
        std::filesystem::create_directories(target.parent_path(), made);
        if (made)
            return target.parent_path().string() + ": " + made.message();
        std::string error;
        return SoundGen::SaveWav(target.string(), SoundGen::Render(file), error) ? std::string() : error;
    } catch (const std::exception& failure) {
        return file.path + ": " + failure.what();
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder that holds data/>\n", argc > 0 ? argv[0] : "sound_generator");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::vector<std::future<std::string>> jobs;
    for (const SoundGen::SoundFile& file : SoundGen::Catalogue())
        jobs.push_back(std::async(std::launch::async, WriteOne, std::cref(file), std::cref(root)));
    int failures = 0;
    for (auto& job : jobs) {
        const std::string error = job.get();
        if (!error.empty()) {
            std::fprintf(stderr, "sound_generator: %s\n", error.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
