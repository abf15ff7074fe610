#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Unlit objects that carry their own light, such as the turret's balls:
// flat colour that glows a little.

in vec3 vWorldPos;
in vec2 vUv;
in vec3 vNormal;
in vec3 vTangent;
in vec3 vBitangent;
flat in vec3 vAmbient;
flat in vec3 vTexTint;
flat in vec3 vAmbient2;
flat in vec3 vDiffuse;
flat in vec3 vSpecular;
flat in float vTile;

// The scene framebuffer: lit colour, the part that glows, and the surface
// normal with coverage in alpha.
layout(location = 0) out vec4 oColour;
layout(location = 1) out vec4 oGlow;
layout(location = 2) out vec4 oNormal;

layout(location = 2) uniform sampler2D uDiffuseMap;
layout(location = 3) uniform sampler2D uNormalMap;
layout(location = 4) uniform sampler2D uSpecularMap;
layout(location = 5) uniform sampler2D uFourthMap;
layout(location = 6) uniform int uMapMask = 0;   // 1 diffuse, 2 normal, 4 specular, 8 fourth

vec3 Albedo()
{
    return (uMapMask & 1) != 0 ? texture(uDiffuseMap, vUv).rgb : vec3(1.0);
}

vec3 SurfaceNormal()
{
    vec3 n = normalize(vNormal);
    if ((uMapMask & 2) == 0 || dot(vTangent, vTangent) < 1e-8 || dot(vBitangent, vBitangent) < 1e-8)
        return n;
    mat3 tbn = mat3(normalize(vTangent), normalize(vBitangent), n);
    vec3 mapped = texture(uNormalMap, vUv).xyz * 2.0 - 1.0;
    return normalize(tbn * mapped);
}

float SpecularStrength()
{
    return (uMapMask & 4) != 0 ? texture(uSpecularMap, vUv).r : 1.0;
}

void main()
{
    vec3 colour = Albedo() * vDiffuse;
    oColour = vec4(colour, 1.0);
    oGlow = vec4(colour * 0.5, 1.0);
    oNormal = vec4(normalize(vNormal) * 0.5 + 0.5, 1.0);
}
