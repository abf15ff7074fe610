#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Textured quads: the start-up logo and HUD elements (location 1 the canvas
// projection, 2 the element's matrix).
// Texture coordinates follow the quad's corners (-1..1 maps to 0..1), so a
// picture is upright whatever the model file's own coordinates are.

layout(location = 0) in vec3 aPosition;

layout(location = 1) uniform mat4 uProjection = mat4(1.0);
layout(location = 2) uniform mat4 uModel = mat4(1.0);

out vec2 vUv;

void main()
{
    vUv = aPosition.xy * 0.5 + 0.5;
    gl_Position = uProjection * uModel * vec4(aPosition, 1.0);
}
