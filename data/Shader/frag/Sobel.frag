#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Edges of the source image (Sobel operator on its brightness), white on
// black.

in vec2 vUv;

layout(location = 0) uniform sampler2D uSource;

layout(location = 0) out vec4 oColour;

float Brightness(vec2 offset)
{
    vec2 texel = 1.0 / vec2(textureSize(uSource, 0));
    return dot(texture(uSource, vUv + offset * texel).rgb, vec3(0.299, 0.587, 0.114));
}

void main()
{
    float tl = Brightness(vec2(-1, 1)), t = Brightness(vec2(0, 1)), tr = Brightness(vec2(1, 1));
    float l = Brightness(vec2(-1, 0)), r = Brightness(vec2(1, 0));
    float bl = Brightness(vec2(-1, -1)), b = Brightness(vec2(0, -1)), br = Brightness(vec2(1, -1));
    float gx = -tl - 2.0 * l - bl + tr + 2.0 * r + br;
    float gy = -bl - 2.0 * b - br + tl + 2.0 * t + tr;
    float edge = clamp(length(vec2(gx, gy)), 0.0, 1.0);
    oColour = vec4(vec3(edge), 1.0);
}
