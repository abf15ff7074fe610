#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The last pass of a camera. Inputs by location:
//   0 the bloom result        1 time
//   2 replay look: desaturated, scan-lined and vignetted
//   3 colour split: red and blue pushed apart by the integer (pixels)
//   4 hurt tint: a red vignette as strong as the second float
//   5 the split in pixels     6 fade to black (0 none, 1 black)
//   7 hurt strength           8 a colour added over everything
// Built a second time with EFFECTS_OFF for frames with 2, 3 and 4 off:
// the software renderer pays for every branch, taken or not.

in vec2 vUv;
in vec2 vView;

layout(location = 0) uniform sampler2D uImage;
layout(location = 1) uniform float uTime = 0.0;
layout(location = 2) uniform bool uReplay = false;
layout(location = 3) uniform bool uColourSplit = false;
layout(location = 4) uniform bool uHurtTint = false;
layout(location = 5) uniform int uSplitPixels = 0;
layout(location = 6) uniform float uFade = 0.0;
layout(location = 7) uniform float uHurtStrength = 0.0;
layout(location = 8) uniform vec3 uAddColour = vec3(0.0);

layout(location = 0) out vec4 oColour;

void main()
{
    vec3 colour = texture(uImage, vUv).rgb;

#ifndef EFFECTS_OFF
    if (uColourSplit && uSplitPixels != 0) {
        vec2 texel = 1.0 / vec2(textureSize(uImage, 0));
        vec2 shift = vec2(float(uSplitPixels), 0.0) * texel;
        colour.r = texture(uImage, vUv + shift).r;
        colour.b = texture(uImage, vUv - shift).b;
    }
#endif

    // Soft roll-off instead of a hard clip keeps bright halos coloured.
    colour = colour / (1.0 + max(max(colour.r, colour.g), colour.b) * 0.25);
    colour *= 1.25;

#ifndef EFFECTS_OFF
    vec2 centred = vView * 2.0 - 1.0;
    float vignette = clamp(dot(centred, centred) * 0.5, 0.0, 1.0);

    if (uReplay) {
        float grey = dot(colour, vec3(0.299, 0.587, 0.114));
        colour = mix(colour, vec3(grey) * vec3(1.05, 1.0, 0.9), 0.7);
        float line = 0.85 + 0.15 * sin((gl_FragCoord.y + uTime * 8.0) * 1.7);
        colour *= line * (1.0 - vignette * 0.6);
    }
    if (uHurtTint) {
        float strength = clamp(abs(uHurtStrength), 0.0, 1.0);
        colour = mix(colour, vec3(0.9, 0.05, 0.05), vignette * strength * 2.0);
    }
#endif
    colour += uAddColour;
    colour *= 1.0 - clamp(uFade, 0.0, 1.0);
    oColour = vec4(clamp(colour, 0.0, 1.0), 1.0);
}
