#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Combines the scene target into one image: the lit colour plus a soft halo
// round whatever glows. Location 0 and 1 both hold the colour, 2 the glow,
// 3 the normals. The halo can be switched off at location 4. The glow
// spread wide (a Gaussian of about seven texels, worked out at a quarter of
// the size by the passes before this one) waits at location 5, in the part
// of its texture that location 6 gives. Built a second time with HALO_FREE
// for the parts of the picture the spread does not reach, and with FINISH
// to do the last pass's work too.

in vec2 vUv;
in vec2 vView;

layout(location = 0) uniform sampler2D uScene;
layout(location = 1) uniform sampler2D uColour;
layout(location = 2) uniform sampler2D uGlow;
layout(location = 3) uniform sampler2D uNormals;
layout(location = 4) uniform bool uBloomEnabled = true;
layout(location = 5) uniform sampler2D uSpread;
layout(location = 6) uniform vec2 uSpreadRegion = vec2(1.0);

layout(location = 0) out vec4 oColour;

// The halo keeps a little of the pixel's own glow, sharp, over the spread.
const float kOwnGlow = 0.156;
const float kStrength = 1.6;

#ifdef HALO_FREE
// Built for the parts of the picture the spread leaves dark. The spread
// reaches round every texel of the glow's mean that holds anything, and
// glow is never negative: where it leaves the picture dark the glow itself
// is dark too. Neither is read; their reads are most of this pass's cost.
vec3 Halo()
{
    return vec3(0.0);
}
#else
// The spread between its four nearest texels, weighted by distance: read
// one by one, which the software renderer does far faster than filtering
// a floating-point texture.
vec3 Spread()
{
    vec2 size = vec2(textureSize(uSpread, 0));
    vec2 last = floor(uSpreadRegion * size) - 1.0;
    vec2 place = vView * uSpreadRegion * size - 0.5;
    vec2 below = floor(place);
    vec2 f = place - below;
    ivec2 a = ivec2(clamp(below, vec2(0.0), last));
    ivec2 b = ivec2(clamp(below + 1.0, vec2(0.0), last));
    vec3 bottom = mix(texelFetch(uSpread, a, 0).rgb, texelFetch(uSpread, ivec2(b.x, a.y), 0).rgb, f.x);
    vec3 top = mix(texelFetch(uSpread, ivec2(a.x, b.y), 0).rgb, texelFetch(uSpread, b, 0).rgb, f.x);
    return mix(bottom, top, f.y);
}

vec3 Halo()
{
    return mix(Spread(), texture(uGlow, vUv).rgb, kOwnGlow);
}
#endif

#ifdef FINISH
// Built to finish the frame as well, for frames whose last pass has no
// effects on: that pass's roll-off, added colour and fade (its locations 6
// and 8 are 7 and 8 here), done here instead of in a pass of its own.
layout(location = 7) uniform float uFade = 0.0;
layout(location = 8) uniform vec3 uAddColour = vec3(0.0);

vec3 Finished(vec3 colour)
{
    colour = colour / (1.0 + max(max(colour.r, colour.g), colour.b) * 0.25) * 1.25;
    return clamp((colour + uAddColour) * (1.0 - clamp(uFade, 0.0, 1.0)), 0.0, 1.0);
}
#else
vec3 Finished(vec3 colour)
{
    return colour;
}
#endif

#ifdef SPREAD_ONLY
// Built to draw the spread alone, between its texels: a picture worked out
// at a quarter of the size, drawn at a larger one.
void main()
{
    oColour = vec4(Spread(), 1.0);
}
#else
void main()
{
    vec3 colour = texture(uColour, vUv).rgb;
    // A select, not a product: a switched-off halo adds nothing even when
    // the spread holds no numbers.
    oColour = vec4(Finished(uBloomEnabled ? colour + Halo() * kStrength : colour), 1.0);
}
#endif
