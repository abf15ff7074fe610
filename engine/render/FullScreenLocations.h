#pragma once
#include <GL/glew.h>

// Uniform locations of the programs that draw one quad over a whole target,
// as the layout(location = N) lines of their shaders give them. A number
// that drifts from its shader sets nothing, or sets another input, and GL
// says nothing of it.
namespace Engine {

// Every full-screen program: the picture it reads (a sampler), and the part
// of its source that holds the picture (offset and size, as fractions), read
// by the quad's corners.
constexpr GLint kSourceImage = 0;
constexpr GLint kSourceRegion = 20;

// "Bloom" inputs beyond the scene's attachments (units and locations 1-3).
constexpr GLint kBloomFlagLocation = 4;
constexpr GLint kBloomSpreadLocation = 5;
constexpr GLint kBloomSpreadRegionLocation = 6;
// The last pass's fade and added colour in the builds that finish the frame.
constexpr GLint kFinishFade = 7;
constexpr GLint kFinishAddColour = 8;

// "Blur" taps by location; in its shrinking build the picture's first texel
// in the source and the viewport's corner in the target.
constexpr GLint kBlurTaps = 2;
constexpr GLint kSourceCorner = 21;
constexpr GLint kTargetCorner = 22;
// The tint of the plain copy ("Framebuffer").
constexpr GLint kCopyColour = 3;

// "PostProcessing" inputs by location.
constexpr GLint kPostTime = 1;
constexpr GLint kPostFlag1 = 2;
constexpr GLint kPostFlag2 = 3;
constexpr GLint kPostFlag3 = 4;
constexpr GLint kPostInteger = 5;
constexpr GLint kPostFloat1 = 6;
constexpr GLint kPostFloat2 = 7;
constexpr GLint kPostVector = 8;

} // namespace Engine
