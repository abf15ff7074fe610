#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Lit models of render components. Shares its outputs with
// Default_Instanced.vert so that Default.frag and Cel.frag serve both.

layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec3 aTangent;
layout(location = 4) in vec3 aBitangent;

layout(location = 0) uniform mat4 uViewProjection;
layout(location = 1) uniform mat4 uModel;

uniform vec3 uAmbientColor = vec3(0.025);
uniform vec3 uDiffuseColor = vec3(1.0);
uniform vec3 uSpecularColor = vec3(1.0);

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
    vec4 world = uModel * vec4(aPosition, 1.0);
    // The cofactor matrix turns normals as the inverse transpose does (up to
    // length) yet stays finite when a scale of 0 flattens the model.
    mat3 linear = mat3(uModel);
    mat3 normalMatrix = mat3(cross(linear[1], linear[2]), cross(linear[2], linear[0]), cross(linear[0], linear[1]));
    if (dot(linear[0], normalMatrix[0]) < 0.0)
        normalMatrix = -normalMatrix; // mirrored: keep normals outward
    vWorldPos = world.xyz;
    vUv = aUv;
    vNormal = normalMatrix * aNormal;
    vTangent = mat3(uModel) * aTangent;
    vBitangent = mat3(uModel) * aBitangent;
    vAmbient = uAmbientColor;
    vTexTint = vec3(1.0);
    vAmbient2 = vec3(0.0);
    vDiffuse = uDiffuseColor;
    vSpecular = uSpecularColor;
    vTile = 0.0;
    gl_Position = uViewProjection * world;
}
