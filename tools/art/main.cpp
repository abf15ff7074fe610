// Writes every texture and model the renderer loads into a data folder:
//   solvane_art <data folder> <bold TrueType font for labels>
// Exits with 1, naming the file, when anything cannot be made.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "tools/art/ImageFile.h"
#include "tools/art/Models.h"
#include "tools/art/TextureJob.h"
#include "tools/art/Typeface.h"

namespace {

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file)
        throw std::runtime_error("could not write " + path.string());
}

// The pictures are independent, so they are drawn on every core; this runs
// in each build, the sanitizer one too. A FreeType face must not be shared
// between threads, so each opens its own.
void DrawTextures(const std::filesystem::path& folder, const std::string& fontPath)
{
    const std::vector<Art::TextureJob> jobs = Art::AllTextures();
    std::atomic<std::size_t> next { 0 };
    std::mutex failureLock;
    std::string failure;
    auto work = [&] {
        try {
            const Art::Typeface face(fontPath);
            for (std::size_t i = next++; i < jobs.size(); i = next++)
                Art::SaveImage(jobs[i].draw(face), folder / jobs[i].path);
        } catch (const std::exception& e) {
            const std::lock_guard<std::mutex> lock(failureLock);
            if (failure.empty())
                failure = e.what();
            next = jobs.size();
        }
    };
    std::vector<std::thread> workers;
    const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
    for (unsigned i = 0; i < count; ++i)
        workers.emplace_back(work);
    for (std::thread& worker : workers)
        worker.join();
    if (!failure.empty())
        throw std::runtime_error(failure);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: solvane_art <data folder> <bold font file>\n");
        return 1;
    }
    try {
        const std::filesystem::path data = argv[1];
        DrawTextures(data / "Texture", argv[2]);
        for (const Art::ModelJob& job : Art::ModelFiles())
            WriteText(data / "Model" / job.path, job.write());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "solvane_art: %s\n", e.what());
        return 1;
    }
    return 0;
}
