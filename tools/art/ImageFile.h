#pragma once
#include <filesystem>

#include "tools/art/Canvas.h"

namespace Art {

// Writes the picture in the format its extension names (.png, .jpg, .psd),
// creating missing folders. Throws std::runtime_error naming the file when
// it cannot be written or the extension is not one of these.
void SaveImage(const Canvas& canvas, const std::filesystem::path& path);

} // namespace Art
