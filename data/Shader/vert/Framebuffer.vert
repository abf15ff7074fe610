#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Full-screen passes: the quad covers the viewport and samples the source
// target edge to edge.

layout(location = 0) in vec3 aPosition;

out vec2 vUv;

void main()
{
    vUv = aPosition.xy * 0.5 + 0.5;
    gl_Position = vec4(aPosition.xy, 0.0, 1.0);
}
