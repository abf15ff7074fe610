#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Menu sprites: location 1 the texture, 2 the tint with alpha.

in vec2 vUv;

layout(location = 1) uniform sampler2D uTexture;
layout(location = 2) uniform vec4 uColour = vec4(1.0);

layout(location = 0) out vec4 oColour;

void main()
{
    oColour = texture(uTexture, vUv) * uColour;
}
