// Recording files, as a tutorial reads the recorded match it plays back.
//
// Input: one byte, the arena's tile count; then the file's bytes. Beyond not
// crashing: a file that is taken holds no frame of the wrong tile count, and
// it writes to a file that reads back the same.
#include "FuzzSupport.h"

#include "game/arena/RecordingFile.h"

#include <cstdio>
#include <sstream>
#include <unistd.h>

namespace {

// A file of this process's own, so that parallel runs do not meet; gone at
// exit.
struct Scratch {
    const std::string path = "/tmp/solvane_recording_fuzz_" + std::to_string(getpid());
    ~Scratch() { std::remove(path.c_str()); }
};

const std::string& ScratchPath()
{
    static const Scratch scratch;
    return scratch.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t tileCount = data[0];
    std::istringstream text(Fuzz::Text(data + 1, size - 1));
    std::string problem;
    const std::optional<RecordingFile::Recording> recording = RecordingFile::Read(text, tileCount, problem);
    if (!recording)
        return 0;
    for (const MatchFrame& frame : recording->frames)
        Fuzz::Require(frame.tiles.empty() || frame.tiles.size() == tileCount, "a taken frame fits the arena");

    std::vector<const MatchFrame*> frames;
    for (const MatchFrame& frame : recording->frames)
        frames.push_back(&frame);
    const std::int32_t winner = recording->winner.value_or(0);
    Fuzz::Require(RecordingFile::Write(ScratchPath(), frames, winner, problem), "a taken recording can be written");
    const std::optional<RecordingFile::Recording> reread = RecordingFile::Read(ScratchPath(), tileCount, problem);
    Fuzz::Require(reread.has_value(), "a written recording reads back");
    Fuzz::Require(reread->frames == recording->frames, "a written recording reads back the same frames");
    Fuzz::Require(reread->winner == winner || recording->frames.empty(), "a written recording keeps its winner");
    return 0;
}
