#pragma once
#include <vector>

#include <glm/vec2.hpp>

// Signed distances in pixels to the outline of simple shapes: negative
// inside, positive outside. Painting turns them into anti-aliased coverage.
namespace Art::Shape {

using glm::vec2;

float Circle(vec2 p, vec2 centre, float radius);
// A band of the given half-width around a circle.
float Ring(vec2 p, vec2 centre, float radius, float halfWidth);
float Box(vec2 p, vec2 centre, vec2 halfSize);
float RoundedBox(vec2 p, vec2 centre, vec2 halfSize, float cornerRadius);
// A stroke from a to b with round caps.
float Segment(vec2 p, vec2 a, vec2 b, float halfWidth);
// A regular hexagon by its corner radius; flat top and bottom when
// flatTop, else a corner points up.
float Hexagon(vec2 p, vec2 centre, float cornerRadius, bool flatTop);
// Any simple polygon, corners in order (either direction).
float Polygon(vec2 p, const std::vector<vec2>& corners);

// A star alternating outer and inner corners, the first at the given angle
// (radians, measured from +x towards +y, which points down the picture).
std::vector<vec2> StarCorners(vec2 centre, float outer, float inner, int points, float firstAngle);

inline float Union(float a, float b) { return a < b ? a : b; }

} // namespace Art::Shape
