#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Arena border strips: an emissive band in the border colour that glows
// through the bloom.

in vec3 vWorldPos;
in vec2 vUv;
in vec3 vNormal;
in vec3 vDiffuse;

uniform vec3 uBorderColour = vec3(0.3, 0.6, 1.0);
uniform vec3 uEmissiveCol = vec3(0.0);
uniform float uTime = 0.0;

layout(location = 0) out vec4 oColour;
layout(location = 1) out vec4 oGlow;
layout(location = 2) out vec4 oNormal;

void main()
{
    float band = 0.6 + 0.4 * sin(vWorldPos.x * 2.0 + vWorldPos.z * 2.0 - uTime * 3.0);
    vec3 colour = (uBorderColour * vDiffuse) * band + uEmissiveCol;
    oColour = vec4(colour, 1.0);
    oGlow = vec4(colour * 0.8, 1.0);
    oNormal = vec4(normalize(vNormal) * 0.5 + 0.5, 1.0);
}
