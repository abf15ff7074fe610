#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Text components: one glyph quad at a time, vertices (x, y, u, v) in the
// entity's local space.

layout(location = 0) in vec4 aVertex;

layout(location = 1) uniform mat4 uProjection;
layout(location = 2) uniform mat4 uModel;

out vec2 vUv;

void main()
{
    vUv = aVertex.zw;
    gl_Position = uProjection * uModel * vec4(aVertex.xy, 0.0, 1.0);
}
