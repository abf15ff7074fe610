#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Particles: camera-facing quads, one instance per slot. Attribute 5 is the
// slot's colour, 6-9 its model-view matrix by columns; only the projection
// is applied here.

layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aUv;
layout(location = 5) in vec4 aColour;
layout(location = 6) in vec4 aModelView0;
layout(location = 7) in vec4 aModelView1;
layout(location = 8) in vec4 aModelView2;
layout(location = 9) in vec4 aModelView3;

layout(location = 0) uniform mat4 uProjection;

out vec2 vUv;
out vec4 vColour;

void main()
{
    mat4 modelView = mat4(aModelView0, aModelView1, aModelView2, aModelView3);
    vUv = aPosition.xy * 0.5 + 0.5;
    vColour = aColour;
    gl_Position = uProjection * modelView * vec4(aPosition, 1.0);
}
