#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Full-screen passes: the quad covers the viewport and reads the part of
// the source target that holds the picture, the whole of it unless the
// pass says otherwise (location 20: offset and size, as fractions).

layout(location = 0) in vec3 aPosition;

layout(location = 20) uniform vec4 uSourceRegion = vec4(0.0, 0.0, 1.0, 1.0);

// Where to read the source, and where in the view (0 to 1 across it).
out vec2 vUv;
out vec2 vView;

void main()
{
    vView = aPosition.xy * 0.5 + 0.5;
    vUv = uSourceRegion.xy + vView * uSourceRegion.zw;
    gl_Position = vec4(aPosition.xy, 0.0, 1.0);
}
