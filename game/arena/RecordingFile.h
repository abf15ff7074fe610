#pragma once
#include "game/arena/MatchFrame.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// Recording files: recorded matches that tutorials play back. The format
// is described in RecordingFile.cpp.
namespace RecordingFile {

struct Recording {
    std::vector<MatchFrame> frames;
    // The last "Winner" of the file: the player (0 or 1) playback follows.
    std::optional<std::int32_t> winner;
};

// The file's frames, in playback order; a frame without "Tiles" moves no
// tile. Nothing, with the reason in `problem`, when the file cannot be read
// or breaks the format's limits (`tileCount` is the arena's tile count).
std::optional<Recording> Read(const std::string& path, std::size_t tileCount, std::string& problem);
// The same from text already open.
std::optional<Recording> Read(std::istream& text, std::size_t tileCount, std::string& problem);

// Writes every field of the frames, each with "Winner" = `winner`, through
// a temporary file renamed over the path. False, with the reason, when the
// file cannot be written (an old file then stays as it was) or a value is
// not a finite number (the file could not be read back).
bool Write(const std::string& path, const std::vector<const MatchFrame*>& frames, std::int32_t winner,
           std::string& problem);

} // namespace RecordingFile
