#pragma once
#include <string>

// What a tutorial's playback and the capture of its recording share.
namespace TutorialArena {

// Where the recordings lie, relative to the working directory.
inline constexpr const char* kFolder = "data/Tuturials/";

// The recording file of a tutorial table row's file name.
std::string RecordingPath(const char* fileName);

// A local match's scene built as the gameplay mode builds it (the caller
// clears the old one and sets the player count), initialised, active, and
// its tiles settled (below).
void BuildSettledScene();

// Cuts the rise of a new arena short: every tile reaches its resting place
// in its next update and stays there. A recording moves a tile only in the
// frames where it moved, so both its capture and its playback must start
// from an arena standing still.
void SettleTiles();

} // namespace TutorialArena
