#include "engine/render/SoftwareRasteriser.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace Engine {

bool NamesSoftwareRasteriser(const char* renderer)
{
    if (!renderer)
        return false;
    std::string name(renderer);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // The old swrast driver calls itself "Software Rasterizer".
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer"})
        if (name.find(software) != std::string::npos)
            return true;
    return false;
}

} // namespace Engine
