#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The menu background's blur chain. "blurMode" 1 blurs in place with a
// 5 x 5 Gaussian; 2 resamples between the full- and half-size targets with a
// small box filter so the change of size does not alias.

in vec2 vUv;

layout(location = 0) uniform sampler2D uSource;
uniform int blurMode = 1;

layout(location = 0) out vec4 oColour;

// The targets repeat at their edges: taps are kept inside so one edge never
// bleeds into the opposite one.
vec3 Tap(vec2 uv, vec2 texel)
{
    return texture(uSource, clamp(uv, texel * 0.5, 1.0 - texel * 0.5)).rgb;
}

void main()
{
    vec2 texel = 1.0 / vec2(textureSize(uSource, 0));
    vec3 sum = vec3(0.0);
    float weight = 0.0;
    if (blurMode == 2) {
        for (int x = -1; x <= 1; ++x)
            for (int y = -1; y <= 1; ++y) {
                sum += Tap(vUv + vec2(x, y) * texel, texel);
                weight += 1.0;
            }
    } else {
        const float kernel[3] = float[3](0.4026, 0.2442, 0.0545);
        for (int x = -2; x <= 2; ++x)
            for (int y = -2; y <= 2; ++y) {
                float w = kernel[abs(x)] * kernel[abs(y)];
                sum += Tap(vUv + vec2(x, y) * texel * 1.5, texel) * w;
                weight += w;
            }
    }
    oColour = vec4(sum / weight, 1.0);
}
