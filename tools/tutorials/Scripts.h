#pragma once
#include "tools/tutorials/CaptureStage.h"

#include <vector>

// The thirteen tutorials' scripts, in the order of the tutorial list.
const std::vector<Script>& TutorialScripts();

// The seed of the random generator every capture starts from.
inline constexpr std::uint32_t kCaptureSeed = 20260;
