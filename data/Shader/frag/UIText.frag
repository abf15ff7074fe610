#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Menu text: location 1 the glyph (coverage in red), 2 the colour.

in vec2 vUv;

layout(location = 1) uniform sampler2D uGlyph;
layout(location = 2) uniform vec4 uColour = vec4(1.0);

layout(location = 0) out vec4 oColour;

void main()
{
    oColour = vec4(uColour.rgb, uColour.a * texture(uGlyph, vUv).r);
}
