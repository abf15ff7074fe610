#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The goal ball's glassy shell: clear where it faces the eye, coloured and
// glowing at the edges, with bands sweeping across it.

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
    float fresnel = pow(max(1.0 - abs(dot(n, v)), 0.0), 2.5);
    float bands = smoothstep(0.85, 1.0, sin(vWorldPos.y * 6.0 - uTime * 4.0));
    float alpha = clamp(0.12 + fresnel * 0.7 + bands * 0.2, 0.0, 1.0);
    vec3 colour = vDiffuse * (0.5 + fresnel) + vSpecular * bands * 0.3;

    oColour = vec4(colour, alpha);
    oGlow = vec4(colour * fresnel, alpha);
    // Transparent: leave the normals of what lies behind.
    oNormal = vec4(0.0);
}
