#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Holograms: translucent, scan-lined and flickering, brightest at the edges.

in vec3 vWorldPos;
in vec3 vNormal;
in vec3 vDiffuse;

uniform vec3 uViewPos;
uniform float uTime = 0.0;

layout(location = 0) out vec4 oColour;
layout(location = 1) out vec4 oGlow;
layout(location = 2) out vec4 oNormal;

void main()
{
    vec3 n = normalize(vNormal);
    vec3 v = normalize(uViewPos - vWorldPos);
    float edge = pow(max(1.0 - abs(dot(n, v)), 0.0), 1.5);
    float scan = 0.6 + 0.4 * step(0.5, fract(vWorldPos.y * 20.0 - uTime * 2.0));
    float flicker = 0.9 + 0.1 * sin(uTime * 37.0);
    vec3 colour = vDiffuse * (0.3 + edge) * scan * flicker;
    float alpha = clamp(0.2 + edge * 0.6, 0.0, 1.0) * scan;
    oColour = vec4(colour, alpha);
    oGlow = vec4(colour * edge, alpha);
    oNormal = vec4(0.0);
}
