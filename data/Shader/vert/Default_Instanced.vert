#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Floor tiles: one instance per tile, its matrix and colours per instance.
// Attributes 5-9: ambient, texture tint, second ambient, diffuse, specular;
// 10: two spare floats; 11-14: the model matrix by columns; 15: how much of
// each side of a hexagonal column to keep, six 16-bit codes (0 keeps it
// whole, always so for other models).

layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec3 aTangent;
layout(location = 4) in vec3 aBitangent;
layout(location = 5) in vec3 aAmbient0;
layout(location = 6) in vec3 aAmbient1;
layout(location = 7) in vec3 aAmbient2;
layout(location = 8) in vec3 aDiffuse;
layout(location = 9) in vec3 aSpecular;
layout(location = 10) in vec2 aSpare;
layout(location = 11) in vec4 aModel0;
layout(location = 12) in vec4 aModel1;
layout(location = 13) in vec4 aModel2;
layout(location = 14) in vec4 aModel3;
layout(location = 15) in uvec3 aSideCodes;

layout(location = 0) uniform mat4 uViewProjection;

out vec3 vWorldPos;
out vec2 vUv;
out vec3 vNormal;
out vec3 vTangent;
out vec3 vBitangent;
flat out vec3 vAmbient;
flat out vec3 vTexTint;
flat out vec3 vAmbient2;
flat out vec3 vDiffuse;
flat out vec3 vSpecular;
flat out float vTile;
// The cel highlight's threshold on n.h (see Cel.frag), from the draw's
// shininess: one per draw, worked out here instead of for every pixel.
uniform float uMetalness = 32.0;
flat out float vHighlight;

#ifdef ONE_COLOUR_NORMAL_MAP
// A normal map of one colour m tilts the normal to T m.x + B m.y + N m.z
// (each axis of unit length): the tangent and normal are alike over a face,
// so their part is worked out here once per vertex and goes out as vNormal;
// the bitangent, which may turn across a tile's top, is left to the
// fragment stage with its weight. A face the map does not reach gets its
// normal alone and a weight of 0.
layout(location = 6) uniform int uMapMask = 0; // 2: a normal map is bound
uniform vec3 uNormalTexel = vec3(0.5, 0.5, 1.0);
flat out float vBitangentWeight;

vec3 TiltedNormal(vec3 normal, vec3 tangent, vec3 bitangent)
{
    vec3 n = normalize(normal);
    vBitangentWeight = 0.0;
    if ((uMapMask & 2) == 0 || dot(tangent, tangent) < 1e-8 || dot(bitangent, bitangent) < 1e-8)
        return n;
    vec3 mapped = uNormalTexel * 2.0 - 1.0;
    vBitangentWeight = mapped.y;
    return normalize(tangent) * mapped.x + n * mapped.z;
}
#endif

// The column is 12 vertices per side, the first six its upright quad, y -1
// at the bottom and +1 at the top, v running with y. A code keeps the quad
// from b up (1 to 32768) or up to t (32769 to 65535): the bottom or the top
// vertices move there, and the texture stays where it was on the side.
vec3 KeptSide(inout vec2 uv)
{
    vec3 position = aPosition;
    if (gl_VertexID % 12 >= 6)
        return position;
    int side = gl_VertexID / 12;
    uint word = aSideCodes[side / 2];
    uint code = (side % 2 == 0) ? (word & 0xFFFFu) : (word >> 16);
    if (code == 0u)
        return position;
    if (code <= 32768u) {
        if (position.y < 0.0)
            position.y = -1.0 + 2.0 * float(code - 1u) / 32767.0;
    } else if (position.y > 0.0) {
        position.y = -1.0 + 2.0 * float(code - 32769u) / 32766.0;
    }
    uv.y = (position.y + 1.0) * 0.5;
    return position;
}

void main()
{
    mat4 model = mat4(aModel0, aModel1, aModel2, aModel3);
    vec2 uv = aUv;
    vec4 world = model * vec4(KeptSide(uv), 1.0);
    // Tiles grow in height only: the normals need the inverse transpose.
    // The cofactor matrix turns normals as the inverse transpose does (up to
    // length) yet stays finite when a scale of 0 flattens the model.
    mat3 linear = mat3(model);
    mat3 normalMatrix = mat3(cross(linear[1], linear[2]), cross(linear[2], linear[0]), cross(linear[0], linear[1]));
    if (dot(linear[0], normalMatrix[0]) < 0.0)
        normalMatrix = -normalMatrix; // mirrored: keep normals outward
    vWorldPos = world.xyz;
    vUv = uv;
    vNormal = normalMatrix * aNormal;
    vTangent = mat3(model) * aTangent;
    vBitangent = mat3(model) * aBitangent;
#ifdef ONE_COLOUR_NORMAL_MAP
    vNormal = TiltedNormal(vNormal, vTangent, vBitangent);
#endif
    vHighlight = exp2(-1.0 / max(uMetalness, 1.0));
    vAmbient = aAmbient0;
    vTexTint = aAmbient1;
    vAmbient2 = aAmbient2;
    vDiffuse = aDiffuse;
    vSpecular = aSpecular;
    vTile = 1.0;
    gl_Position = uViewProjection * world;
}
