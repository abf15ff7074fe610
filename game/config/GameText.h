#pragma once
#include "engine/ui/Localisation.h"

#include <cstdint>
#include <string>

// The game's menu texts: "data/all_text", 127 text ids in the localisation
// table's five languages, 635 lines.
namespace GameText {

inline constexpr std::uint32_t kCount = 127;
inline constexpr const char* kPath = "data/all_text";

inline bool Load(const std::string& path = kPath) { return Localisation::LoadTextTable(path, kCount); }

} // namespace GameText
