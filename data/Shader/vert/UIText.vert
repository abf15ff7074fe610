#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Menu text: glyph quads (x, y, u, v) placed by a 3 x 3 transform in the
// window's normalised device coordinates.

layout(location = 0) in vec4 aVertex;

layout(location = 0) uniform mat3 uTransform = mat3(1.0);

out vec2 vUv;

void main()
{
    vUv = aVertex.zw;
    vec3 p = uTransform * vec3(aVertex.xy, 1.0);
    gl_Position = vec4(p.xy, 0.0, 1.0);
}
