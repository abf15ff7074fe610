#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Particles. Location 3 chooses the look: 0 a flat square, 1 the texture's
// shape in the particle's colour, 2 a soft round spark. Every look glows.

in vec2 vUv;
in vec4 vColour;

layout(location = 2) uniform sampler2D uTexture;
layout(location = 3) uniform int uLook = 1;

layout(location = 0) out vec4 oColour;
layout(location = 1) out vec4 oGlow;
layout(location = 2) out vec4 oNormal;

void main()
{
    vec4 colour = vColour;
    if (uLook == 1) {
        colour *= texture(uTexture, vUv);
    } else if (uLook == 2) {
        float d = length(vUv * 2.0 - 1.0);
        colour.a *= 1.0 - smoothstep(0.2, 1.0, d);
    }
    // Dead slots are drawn with colour 0: keep them out of the depth buffer.
    if (colour.a < 0.01)
        discard;
    oColour = colour;
    oGlow = vec4(colour.rgb, colour.a);
    oNormal = vec4(0.0);
}
