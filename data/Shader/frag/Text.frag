#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Glyphs are coverage in the red channel; the colour is "uTextColor".

in vec2 vUv;

layout(location = 0) uniform sampler2D uGlyph;
uniform vec3 uTextColor = vec3(1.0);

layout(location = 0) out vec4 oColour;

void main()
{
    oColour = vec4(uTextColor, texture(uGlyph, vUv).r);
}
