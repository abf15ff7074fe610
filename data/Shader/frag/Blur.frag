#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// The menu background's blur chain. "blurMode" 1 blurs in place with a
// 5 x 5 Gaussian; 2 resamples between the full- and half-size targets with a
// small box filter so the change of size does not alias.

in vec2 vUv;

layout(location = 0) uniform sampler2D uSource;
uniform int blurMode = 1;

layout(location = 0) out vec4 oColour;

void main()
{
    vec2 texel = 1.0 / vec2(textureSize(uSource, 0));
    vec3 sum = vec3(0.0);
    float weight = 0.0;
    if (blurMode == 2) {
        for (int x = -1; x <= 1; ++x)
            for (int y = -1; y <= 1; ++y) {
                sum += texture(uSource, vUv + vec2(x, y) * texel).rgb;
                weight += 1.0;
            }
    } else {
        const float kernel[3] = float[3](0.4026, 0.2442, 0.0545);
        for (int x = -2; x <= 2; ++x)
            for (int y = -2; y <= 2; ++y) {
                float w = kernel[abs(x)] * kernel[abs(y)];
                sum += texture(uSource, vUv + vec2(x, y) * texel * 1.5).rgb * w;
                weight += w;
            }
    }
    oColour = vec4(sum / weight, 1.0);
}
