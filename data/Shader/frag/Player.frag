#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Players and their ball trails: cel-lit in the player's colour with a
// glowing rim that pulses gently.

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

struct Light {
    int type;            // 0 point, 1 directional, 2 spot
    vec4 ambient;
    vec4 diffuse;
    vec4 specular;
    vec3 position;
    vec3 direction;
    float spot_falloff;
    float spot_innerAngle;  // radians
    float spot_outerAngle;  // radians
    float const_Att;
    float linear_Att;
    float quadratic_Att;
    mat4 lightSpaceMtx;
    float bias;
    int pcf_samples;
};

uniform Light uLights[MAX_LIGHTS];
uniform int uLightsSize = 0;
uniform vec3 uViewPos;

// Direction to the light and its strength at this point (attenuation and
// spot cone), capped so a light never brightens more than its own colour.
float LightAmount(Light light, vec3 position, out vec3 toLight)
{
    if (light.type == 1) {
        toLight = normalize(-light.direction);
        return 1.0;
    }
    vec3 offset = light.position - position;
    float dist = length(offset);
    toLight = offset / max(dist, 1e-4);
    float attenuation = 1.0 / max(light.const_Att + light.linear_Att * dist + light.quadratic_Att * dist * dist, 1e-4);
    attenuation = min(attenuation, 1.0);
    if (light.type == 2) {
        float angle = acos(clamp(dot(-toLight, normalize(light.direction)), -1.0, 1.0));
        float cone = clamp((light.spot_outerAngle - angle) / max(light.spot_outerAngle - light.spot_innerAngle, 1e-4), 0.0, 1.0);
        attenuation *= pow(cone, max(light.spot_falloff, 1e-4));
    }
    return attenuation;
}

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

uniform float uMetalness = 32.0;
uniform float uTime = 0.0;

void main()
{
    vec3 n = SurfaceNormal();
    vec3 v = normalize(uViewPos - vWorldPos);
    vec3 albedo = Albedo() * vDiffuse;

    vec3 colour = albedo * (vAmbient + 0.25);
    for (int i = 0; i < MAX_LIGHTS; ++i) {
        if (i >= uLightsSize)
            break;
        vec3 l;
        float amount = LightAmount(uLights[i], vWorldPos, l);
        float diffuse = max(dot(n, l), 0.0) * amount;
        colour += (diffuse > 0.4 ? 1.0 : (diffuse > 0.05 ? 0.5 : 0.0)) * uLights[i].diffuse.rgb * albedo;
        vec3 h = normalize(l + v);
        colour += step(0.6, pow(max(dot(n, h), 0.0), max(uMetalness, 1.0))) * amount * uLights[i].specular.rgb * vSpecular;
    }
    float rim = pow(1.0 - clamp(dot(n, v), 0.0, 1.0), 2.0);
    float pulse = 0.75 + 0.25 * sin(uTime * 4.0);
    vec3 glow = vDiffuse * rim * pulse;

    oColour = vec4(colour + glow, 1.0);
    oGlow = vec4(glow, 1.0);
    oNormal = vec4(n * 0.5 + 0.5, 1.0);
}
