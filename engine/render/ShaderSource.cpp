#include "engine/render/ShaderSource.h"

#include "engine/render/LightLimits.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace Engine {

std::optional<std::string> ReadShaderFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        std::fprintf(stderr, "File not read in %s\n", path.c_str());
        return std::nullopt;
    }
    std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > kMaxShaderFileBytes) {
        std::fprintf(stderr, "File not read in %s (larger than %zu bytes)\n", path.c_str(), kMaxShaderFileBytes);
        return std::nullopt;
    }
    file.seekg(0);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!file.read(text.data(), size)) {
        std::fprintf(stderr, "File not read in %s\n", path.c_str());
        return std::nullopt;
    }
    return text;
}

std::string WithEngineDefines(const std::string& source, const std::string& extra)
{
    // "#line 2" keeps the driver's error lines equal to the file's lines.
    const std::string defines = "#define MAX_LIGHTS " + std::to_string(kMaxLights) + "\n" + extra + "#line 2\n";
    std::size_t version = source.find("#version");
    if (version == std::string::npos)
        return defines + source;
    std::size_t lineEnd = source.find('\n', version);
    if (lineEnd == std::string::npos)
        return source + "\n" + defines;
    return source.substr(0, lineEnd + 1) + defines + source.substr(lineEnd + 1);
}

} // namespace Engine
