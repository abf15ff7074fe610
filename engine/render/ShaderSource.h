#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace Engine {

// Shader sources larger than this are refused rather than handed to the
// driver; the largest of ours is a few kilobytes.
constexpr std::size_t kMaxShaderFileBytes = 1 << 20;

// The whole file as text, or nothing when it cannot be opened, cannot be
// read or is larger than kMaxShaderFileBytes (a message names the path).
std::optional<std::string> ReadShaderFile(const std::string& path);

// Inserts the engine's shared constants ("#define MAX_LIGHTS ...") and then
// `extra` (whole lines, such as "#define EFFECTS_OFF\n") right after the
// "#version" line, which must stay first; a source without one gets them in
// front.
std::string WithEngineDefines(const std::string& source, const std::string& extra = {});

} // namespace Engine
