#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Smooth Blinn-Phong lighting of render components and floor tiles.

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
#ifdef FLOOR_TILES
// Built for the floor alone: every fragment is a tile's, and what only
// other models need compiles away.
const float vTile = 1.0;
#else
flat in float vTile;
#endif

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
#ifndef POINT_LIGHTS
    if (light.type == 1) {
        toLight = normalize(-light.direction);
        return 1.0;
    }
#endif
    vec3 offset = light.position - position;
    float squared = dot(offset, offset);
    // One inverse square root gives the direction and the distance: the
    // software renderer pays for a square root and a division apiece.
    float inverse = inversesqrt(max(squared, 1e-8));
    float dist = squared * inverse;
    toLight = offset * inverse;
    float attenuation = 1.0 / max(light.const_Att + light.linear_Att * dist + light.quadratic_Att * squared, 1e-4);
    attenuation = min(attenuation, 1.0);
#ifndef POINT_LIGHTS
    if (light.type == 2) {
        float angle = acos(clamp(dot(-toLight, normalize(light.direction)), -1.0, 1.0));
        float cone = clamp((light.spot_outerAngle - angle) / max(light.spot_outerAngle - light.spot_innerAngle, 1e-4), 0.0, 1.0);
        attenuation *= pow(cone, max(light.spot_falloff, 1e-4));
    }
#endif
    return attenuation;
}

layout(location = 2) uniform sampler2D uDiffuseMap;
layout(location = 3) uniform sampler2D uNormalMap;
layout(location = 4) uniform sampler2D uSpecularMap;
layout(location = 5) uniform sampler2D uFourthMap;
layout(location = 6) uniform int uMapMask = 0;   // 1 diffuse, 2 normal, 4 specular, 8 fourth

#ifdef GREY_PAIR
// Built for a grey diffuse map and a grey highlight map bound as one
// texture (see Material::GreyPair): the diffuse grey in red, green and blue,
// the highlight's in alpha, read once at the start for both.
vec4 pairTexel;
vec3 Albedo()
{
    return pairTexel.rgb;
}
#else
vec3 Albedo()
{
    return (uMapMask & 1) != 0 ? texture(uDiffuseMap, vUv).rgb : vec3(1.0);
}
#endif

#if defined(ONE_COLOUR_NORMAL_MAP) && defined(FLOOR_TILES)
flat in float vBitangentWeight;
#endif
#ifdef ONE_COLOUR_NORMAL_MAP
// Built for normal maps whose texels are all alike: the texel comes as a
// value and the read is left out.
uniform vec3 uNormalTexel = vec3(0.5, 0.5, 1.0);
vec3 NormalTexel()
{
    return uNormalTexel;
}
#else
vec3 NormalTexel()
{
    return texture(uNormalMap, vUv).xyz;
}
#endif

vec3 SurfaceNormal()
{
#if defined(ONE_COLOUR_NORMAL_MAP) && defined(FLOOR_TILES)
    // The floor's vertex stage tilted the normal by the map's one colour
    // along the tangent and normal, alike over a face; the bitangent's part
    // is added here (see TiltedNormal there).
    if (vBitangentWeight == 0.0)
        return normalize(vNormal);
    return normalize(vNormal + normalize(vBitangent) * vBitangentWeight);
#else
    vec3 n = normalize(vNormal);
    if ((uMapMask & 2) == 0 || dot(vTangent, vTangent) < 1e-8 || dot(vBitangent, vBitangent) < 1e-8)
        return n;
    mat3 tbn = mat3(normalize(vTangent), normalize(vBitangent), n);
    vec3 mapped = NormalTexel() * 2.0 - 1.0;
    return normalize(tbn * mapped);
#endif
}

#ifdef GREY_PAIR
float SpecularStrength()
{
    return pairTexel.a;
}
#else
float SpecularStrength()
{
    return (uMapMask & 4) != 0 ? texture(uSpecularMap, vUv).r : 1.0;
}
#endif

// Tiles: selection ring around the aimed point, coloured and glowing sides.
uniform vec3 uSelectPos;
uniform vec3 uSelectColour = vec3(1.0);
uniform float uMaxColourDist = 0.0;
uniform vec3 uBorderColour = vec3(0.0);
uniform vec3 uEmissiveCol = vec3(0.0);
uniform float uMetalness = 32.0;
uniform float uTime = 0.0;

vec3 TileGlow(vec3 n)
{
    if (vTile < 0.5)
        return vec3(0.0);
    vec3 glow = vec3(0.0);
    float side = 1.0 - abs(n.y);
    glow += uEmissiveCol * side;
    if (uMaxColourDist > 0.0) {
        // In space, not across the floor plane: the walls and the ceiling
        // above an aimed floor tile stay dark.
        float d = distance(vWorldPos, uSelectPos);
        float ring = 1.0 - smoothstep(uMaxColourDist * 0.6, uMaxColourDist, d);
        glow += uSelectColour * ring * 0.6;
    }
    return glow;
}

void main()
{
#ifdef GREY_PAIR
    pairTexel = texture(uDiffuseMap, vUv);
#endif
    vec3 n = SurfaceNormal();
    vec3 v = normalize(uViewPos - vWorldPos);
    vec3 albedo = Albedo() * vTexTint;
    float shininess = max(uMetalness, 1.0);

    vec3 colour = albedo * (vAmbient + vAmbient2);
    vec3 specularColour = vSpecular * SpecularStrength();
#ifndef NO_LIGHTS
    // The test to stop comes last: the software renderer runs a loop's body
    // once more than its lanes need when the test comes first, and a light
    // costs more than anything else here. Without lights the one pass made
    // adds nothing (and the build for no lights leaves the loop out). No
    // constant bounds the loop: a compiler that unrolled it would run every
    // pass, however few lights there are.
    vec3 lit = vec3(0.0);
    for (int i = 0;; ++i) {
        vec3 l;
        float amount = LightAmount(uLights[i], vWorldPos, l);
        vec3 h = normalize(l + v);
        float diffuse = max(dot(n, l), 0.0);
        float specular = diffuse > 0.0 ? pow(max(dot(n, h), 0.0), shininess) : 0.0;
        lit += amount * uLights[i].ambient.rgb * albedo * 0.2;
        lit += amount * diffuse * uLights[i].diffuse.rgb * albedo * vDiffuse;
        lit += amount * specular * uLights[i].specular.rgb * specularColour;
        if (i + 1 >= uLightsSize)
            break;
    }
    colour += uLightsSize > 0 ? lit : vec3(0.0);
#endif
    // A faint rim in the border colour keeps silhouettes readable in the dark.
    float rim = pow(1.0 - clamp(dot(n, v), 0.0, 1.0), 3.0);
    colour += uBorderColour * rim * 0.15;
    vec3 glow = TileGlow(n);
    colour += glow;

    oColour = vec4(colour, 1.0);
    oGlow = vec4(glow + max(colour - vec3(1.0), 0.0), 1.0);
    oNormal = vec4(n * 0.5 + 0.5, 1.0);
}
