// Palette files ("data/Palettes/..."), as the arena loads one when a match
// starts or the arena flips.
//
// Input: the file's bytes. Beyond not crashing: a refused file leaves every
// colour as it was, and a taken one holds only finite numbers.
#include "FuzzSupport.h"

#include "game/arena/Palette.h"

#include <algorithm>
#include <cmath>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool quiet = (Fuzz::QuietStreams(), true);
    (void)quiet;
    const Palette before;
    Palette palette;
    std::istringstream text(Fuzz::Text(data, size));
    if (!palette.LoadFromText(text, "fuzz")) {
        Fuzz::Require(palette.values == before.values, "a refused palette keeps its colours");
        return 0;
    }
    Fuzz::Require(std::all_of(palette.values.begin(), palette.values.end(), [](float v) { return std::isfinite(v); }),
                  "a taken palette holds finite numbers");
    return 0;
}
