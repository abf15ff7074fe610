#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The force field dome: its hexagon grid glows where the shell is seen
// edge-on and ripples over time. Drawn inside faces first, then outside.

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

uniform vec3 uViewPos;
uniform vec3 uViewDir;
uniform float uTime = 0.0;

void main()
{
    vec3 n = normalize(vNormal);
    vec3 v = normalize(uViewPos - vWorldPos);
    float fresnel = pow(max(1.0 - abs(dot(n, v)), 0.0), 2.0);
    float grid = (uMapMask & 1) != 0 ? texture(uDiffuseMap, vUv * 4.0 + vec2(0.0, uTime * 0.05)).r : 0.5;
    float ripple = 0.5 + 0.5 * sin(vWorldPos.y * 3.0 - uTime * 2.0);
    // Faces turned towards the viewing direction are the far side of the
    // dome: dim them so the near side reads first.
    float far = dot(n, uViewDir) > 0.0 ? 0.5 : 1.0;
    vec3 colour = vDiffuse * (0.3 + grid * ripple) * far;
    float alpha = clamp((0.1 + fresnel * 0.6 + grid * 0.3) * far, 0.0, 1.0);

    oColour = vec4(colour, alpha);
    oGlow = vec4(colour * (grid + fresnel) * 0.8, alpha);
    oNormal = vec4(0.0);
}
