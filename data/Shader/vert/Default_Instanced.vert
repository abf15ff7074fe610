#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Floor tiles: one instance per tile, its matrix and colours per instance.
// Attributes 5-9: ambient, texture tint, second ambient, diffuse, specular;
// 10: two spare floats; 11-14: the model matrix by columns.

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

void main()
{
    mat4 model = mat4(aModel0, aModel1, aModel2, aModel3);
    vec4 world = model * vec4(aPosition, 1.0);
    // Tiles grow in height only: the normals need the inverse transpose.
    // The cofactor matrix turns normals as the inverse transpose does (up to
    // length) yet stays finite when a scale of 0 flattens the model.
    mat3 linear = mat3(model);
    mat3 normalMatrix = mat3(cross(linear[1], linear[2]), cross(linear[2], linear[0]), cross(linear[0], linear[1]));
    if (dot(linear[0], normalMatrix[0]) < 0.0)
        normalMatrix = -normalMatrix; // mirrored: keep normals outward
    vWorldPos = world.xyz;
    vUv = aUv;
    vNormal = normalMatrix * aNormal;
    vTangent = mat3(model) * aTangent;
    vBitangent = mat3(model) * aBitangent;
    vAmbient = aAmbient0;
    vTexTint = aAmbient1;
    vAmbient2 = aAmbient2;
    vDiffuse = aDiffuse;
    vSpecular = aSpecular;
    vTile = 1.0;
    gl_Position = uViewProjection * world;
}
