#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The goal ball's core: a bright swirling energy that feeds the bloom.

in vec3 vWorldPos;
in vec2 vUv;
in vec3 vNormal;
in vec3 vTangent;
in vec3 vBitangent;
in vec3 vAmbient;
in vec3 vTexTint;
in vec3 vAmbient2;
in vec3 vDiffuse;
in vec3 vSpecular;
in float vTile;

// The scene framebuffer: lit colour, the part that glows, and the surface
// normal with coverage in alpha.
layout(location = 0) out vec4 oColour;
layout(location = 1) out vec4 oGlow;
layout(location = 2) out vec4 oNormal;

uniform vec3 uViewPos;
uniform float uTime = 0.0;

void main()
{
    vec3 n = normalize(vNormal);
    vec3 v = normalize(uViewPos - vWorldPos);
    float swirl = 0.5 + 0.5 * sin(12.0 * n.y + 6.0 * atan(n.z, n.x) + uTime * 3.0);
    float core = pow(max(dot(n, v), 0.0), 2.0);
    vec3 colour = vDiffuse * (0.4 + 0.6 * swirl) + vec3(core * 0.5);
    vec3 glow = colour * (0.5 + 0.5 * core);

    oColour = vec4(colour, 1.0);
    oGlow = vec4(glow, 1.0);
    oNormal = vec4(n * 0.5 + 0.5, 1.0);
}
