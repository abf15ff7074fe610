#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// One flat colour with alpha.

layout(location = 1) uniform vec4 uColour = vec4(1.0);

layout(location = 0) out vec4 oColour;

void main()
{
    oColour = uColour;
}
