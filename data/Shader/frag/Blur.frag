#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The menu background's blur chain and the spread of the bloom's halo: a
// weighted sum of seventeen texels of the source round each pixel. The
// renderer hands each pass its taps: a square to shrink a picture, a line
// across or down to blur it. The source's texels are read as they are
// (nearest); unused taps weigh nothing. Every tap is read always: on the
// software renderer a loop of uneven length or a branch costs more than
// the reads it would save.

in vec2 vUv;

layout(location = 0) uniform sampler2D uSource;
// The part of the source that holds the picture, as fractions of its size.
layout(location = 1) uniform vec2 uRegion = vec2(1.0);
// Offset from the pixel in source texels (x, y) and weight (z).
layout(location = 2) uniform vec3 uTaps[17];

layout(location = 0) out vec4 oColour;

void main()
{
    vec2 texel = 1.0 / vec2(textureSize(uSource, 0));
    // Taps stay inside the picture: its edge texels stretch outward, and
    // one edge never bleeds into the opposite one.
    vec2 low = texel * 0.5;
    vec2 high = uRegion - texel * 0.5;
    vec2 uv = vUv * uRegion;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 17; ++i)
        sum += texture(uSource, clamp(uv + uTaps[i].xy * texel, low, high)).rgb * uTaps[i].z;
    oColour = vec4(sum, 1.0);
}
