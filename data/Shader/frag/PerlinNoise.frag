#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Gradient noise in a few octaves, grey, tiling every 8 cells.

in vec2 vUv;

layout(location = 0) out vec4 oColour;

const float kPeriod = 8.0;

vec2 Gradient(vec2 cell)
{
    cell = mod(cell, kPeriod);
    float h = fract(sin(dot(cell, vec2(127.1, 311.7))) * 43758.5453);
    float angle = h * 6.2831853;
    return vec2(cos(angle), sin(angle));
}

float Noise(vec2 p)
{
    vec2 i = floor(p);
    vec2 f = fract(p);
    vec2 u = f * f * f * (f * (f * 6.0 - 15.0) + 10.0);
    float a = dot(Gradient(i), f);
    float b = dot(Gradient(i + vec2(1, 0)), f - vec2(1, 0));
    float c = dot(Gradient(i + vec2(0, 1)), f - vec2(0, 1));
    float d = dot(Gradient(i + vec2(1, 1)), f - vec2(1, 1));
    return mix(mix(a, b, u.x), mix(c, d, u.x), u.y);
}

void main()
{
    float value = 0.0;
    float amplitude = 0.5;
    float frequency = 1.0;
    for (int octave = 0; octave < 4; ++octave) {
        value += Noise(vUv * kPeriod * frequency) * amplitude;
        amplitude *= 0.5;
        frequency *= 2.0;
    }
    oColour = vec4(vec3(value * 0.5 + 0.5), 1.0);
}
