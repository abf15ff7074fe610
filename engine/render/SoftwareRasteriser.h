#pragma once

namespace Engine {

// Whether GL's renderer string names one of Mesa's rasterisers that run on
// the processor (llvmpipe, softpipe, swrast). Their costs differ from a
// graphics card's: a read-back is only a copy there, while every pixel a
// full-screen pass shades costs processor time. Null names nothing.
bool NamesSoftwareRasteriser(const char* renderer);

} // namespace Engine
