#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The menu background's blur chain and the spread of the bloom's halo: a
// weighted sum of seventeen texels of the source round each pixel (or of
// TAPS, where a build defines it). The
// renderer hands each pass its taps: a square to shrink a picture, a line
// across or down to blur it. The source's texels are read as they are
// (nearest); unused taps weigh nothing. Every tap is read always: on the
// software renderer a loop of uneven length or a branch costs more than
// the reads it would save.

in vec2 vUv;

layout(location = 0) uniform sampler2D uSource;
#ifndef TAPS
#define TAPS 17
#endif
// Offset from the pixel in source texels (x, y) and weight (z).
layout(location = 2) uniform vec3 uTaps[TAPS];
// The part of the source that holds the picture (offset and size, as
// fractions), which the quad's corners read.
layout(location = 20) uniform vec4 uSourceRegion = vec4(0.0, 0.0, 1.0, 1.0);

layout(location = 0) out vec4 oColour;

#ifdef SHRINK
// Built to shrink by SHRINK in each direction: each pixel the mean of the
// SHRINK x SHRINK texels of the source it covers, counted from the
// picture's first texel there (location 21) and the viewport's corner in
// the target (22). The texels are read by their integer places, which a
// software rasteriser does faster than through the sampler.
layout(location = 21) uniform ivec2 uSourceCorner = ivec2(0);
layout(location = 22) uniform ivec2 uTargetCorner = ivec2(0);

void main()
{
    ivec2 first = uSourceCorner + (ivec2(gl_FragCoord.xy) - uTargetCorner) * SHRINK;
    vec3 sum = vec3(0.0);
    for (int y = 0; y < SHRINK; ++y)
        for (int x = 0; x < SHRINK; ++x)
            sum += texelFetch(uSource, first + ivec2(x, y), 0).rgb;
    oColour = vec4(sum / float(SHRINK * SHRINK), 1.0);
}
#else
void main()
{
    vec2 texel = 1.0 / vec2(textureSize(uSource, 0));
    // Taps stay inside the picture: its edge texels stretch outward, and
    // one edge never bleeds into the opposite one.
    vec2 low = uSourceRegion.xy + texel * 0.5;
    vec2 high = uSourceRegion.xy + uSourceRegion.zw - texel * 0.5;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < TAPS; ++i)
        sum += texture(uSource, clamp(vUv + uTaps[i].xy * texel, low, high)).rgb * uTaps[i].z;
    oColour = vec4(sum, 1.0);
}
#endif
