#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Flat-coloured shapes in screen space: the splash overlay and the loading
// bar.

layout(location = 0) in vec3 aPosition;

layout(location = 0) uniform mat4 uTransform = mat4(1.0);

void main()
{
    gl_Position = uTransform * vec4(aPosition, 1.0);
}
