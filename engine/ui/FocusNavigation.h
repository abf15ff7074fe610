#pragma once
#include <cstdint>
#include <glm/glm.hpp>

namespace Engine::UI {

class Canvas;
class DetectInteractionComp;
class UiHost;

// The direction held this frame (Direction bits): arrow keys and W, A, S, D
// while down, each controller's pad, and its left stick when pushed at least
// half way, by the quarter it points into. Up and down together cancel, and
// so do left and right.
std::uint8_t ReadDirectionMask(const UiHost& host);

// Whether v lies strictly between the directions of angles a and b
// (counter-clockwise from a to b, less than half a turn apart).
bool InSector(const glm::vec2& v, float a, float b);

// The angle of a direction mask, a multiple of an eighth turn; -1 for a
// mask that names no direction.
float DirectionAngle(std::uint8_t mask);

// The interactive element to move the focus to from point q in the held
// direction: the candidate nearest q whose box lies in the half-turn sector
// about the direction, nearer and straighter ahead scoring better. Widgets
// are candidates when they carry a DetectInteractionComp other than
// `focused` and a ScaleOnHoverComp; canvases are searched through. Null
// when nothing lies that way.
DetectInteractionComp* FindFocusInDirection(const Canvas& canvas, const DetectInteractionComp* focused,
                                            const glm::vec2& q, std::uint8_t mask);

} // namespace Engine::UI
