#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The noise texture: the quad fills the 400 x 400 target and hands the
// fragment stage its position in the texture.

layout(location = 0) in vec3 aPosition;

out vec2 vUv;

void main()
{
    vUv = aPosition.xy * 0.5 + 0.5;
    gl_Position = vec4(aPosition.xy, 0.0, 1.0);
}
