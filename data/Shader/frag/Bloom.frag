#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Combines the scene target into one image: the lit colour plus a soft halo
// spread from the glow attachment. Location 0 and 1 both hold the colour,
// 2 the glow, 3 the normals. The halo can be switched off at location 4.

in vec2 vUv;

layout(location = 0) uniform sampler2D uScene;
layout(location = 1) uniform sampler2D uColour;
layout(location = 2) uniform sampler2D uGlow;
layout(location = 3) uniform sampler2D uNormals;
layout(location = 4) uniform bool uBloomEnabled = true;

layout(location = 0) out vec4 oColour;

// A sparse disc of taps: a wide halo for a bounded cost per pixel (the
// targets use nearest filtering, so every tap is one texel).
const int kTaps = 24;
const float kRadius = 14.0;

vec3 Halo()
{
    vec2 texel = 1.0 / vec2(textureSize(uGlow, 0));
    vec3 sum = texture(uGlow, vUv).rgb * 2.0;
    float weight = 2.0;
    for (int i = 0; i < kTaps; ++i) {
        float t = float(i) / float(kTaps);
        float angle = float(i) * 2.3999632;    // golden angle: even spread
        float r = sqrt(t + 0.5 / float(kTaps)) * kRadius;
        vec2 offset = vec2(cos(angle), sin(angle)) * r * texel;
        float w = exp(-2.0 * t);
        // The targets repeat at their edges; clamping keeps a glow at the
        // bottom of the screen from haloing along the top.
        sum += texture(uGlow, clamp(vUv + offset, texel * 0.5, 1.0 - texel * 0.5)).rgb * w;
        weight += w;
    }
    return sum / weight;
}

void main()
{
    vec3 colour = texture(uColour, vUv).rgb;
    if (uBloomEnabled)
        colour += Halo() * 1.6;
    oColour = vec4(colour, 1.0);
}
