#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The stun area: a translucent sphere in the palette's colours with rings
// that run outward from its centre.

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

// The material's maps (the stun area's is plain white): its diffuse map
// tints the sphere.
layout(location = 2) uniform sampler2D uDiffuseMap;
layout(location = 3) uniform sampler2D uNormalMap;
layout(location = 4) uniform sampler2D uSpecularMap;
layout(location = 5) uniform sampler2D uFourthMap;
layout(location = 6) uniform int uMapMask = 0;   // 1 diffuse, 2 normal, 4 specular, 8 fourth

vec3 Albedo()
{
    return (uMapMask & 1) != 0 ? texture(uDiffuseMap, vUv).rgb : vec3(1.0);
}

uniform vec3 uViewPos;
uniform vec3 uViewDir;
uniform float uTime = 0.0;

void main()
{
    vec3 n = normalize(vNormal);
    vec3 v = normalize(uViewPos - vWorldPos);
    float fresnel = pow(max(1.0 - abs(dot(n, v)), 0.0), 2.0);
    float rings = smoothstep(0.7, 1.0, sin(length(vWorldPos.xz) * 4.0 - uTime * 6.0));
    vec3 colour = vAmbient + vDiffuse * Albedo() * (0.4 + 0.6 * rings) + vSpecular * fresnel * 0.5;
    float alpha = clamp(0.15 + fresnel * 0.5 + rings * 0.25, 0.0, 1.0);

    oColour = vec4(colour, alpha);
    oGlow = vec4(vDiffuse * rings, alpha);
    oNormal = vec4(0.0);
}
