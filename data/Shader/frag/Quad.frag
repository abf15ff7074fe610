#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// A texture tinted by a colour: the start-up logo, HUD elements and the
// plain copy of a target ("Framebuffer" program). Inside the scene target
// it adds nothing to the glow and leaves the normals alone.

in vec2 vUv;

layout(location = 0) uniform sampler2D uTexture;
layout(location = 3) uniform vec4 uColour = vec4(1.0);

layout(location = 0) out vec4 oColour;
layout(location = 1) out vec4 oGlow;
layout(location = 2) out vec4 oNormal;

void main()
{
    oColour = texture(uTexture, vUv) * uColour;
    oGlow = vec4(0.0);
    oNormal = vec4(0.0);
}
