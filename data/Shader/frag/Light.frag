#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// A light's marker: a flat, fully glowing blob in the light's colour.

in vec3 vNormal;
in vec3 vDiffuse;

layout(location = 0) out vec4 oColour;
layout(location = 1) out vec4 oGlow;
layout(location = 2) out vec4 oNormal;

void main()
{
    oColour = vec4(vDiffuse, 1.0);
    oGlow = vec4(vDiffuse, 1.0);
    oNormal = vec4(normalize(vNormal) * 0.5 + 0.5, 1.0);
}
