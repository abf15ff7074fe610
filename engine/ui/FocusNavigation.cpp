#include "engine/ui/FocusNavigation.h"

#include "engine/ui/DetectInteractionComp.h"
#include "engine/ui/Element.h"
#include "engine/ui/Layer.h"
#include "engine/ui/ScaleOnHoverComp.h"
#include "engine/ui/UiHost.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Engine::UI {

namespace {

constexpr float kEighthTurn = 0.785375f;
constexpr float kQuarterTurn = 1.57075f;
constexpr float kStickThresholdSquared = 0.25f;
// Sine of the angle within which a direction counts as lying on a bound.
constexpr float kBoundTolerance = 1e-3f;

struct KeyBit {
    int primary;
    int secondary;
    std::uint8_t bit;
};
// Up, down, left, right: arrows and W, S, A, D (SDL scancodes).
constexpr KeyBit kKeys[] = {{82, 26, kUp}, {81, 22, kDown}, {80, 4, kLeft}, {79, 7, kRight}};

struct PadBit {
    std::uint8_t button;
    std::uint8_t bit;
};
constexpr PadBit kPad[] = {{11, kUp}, {12, kDown}, {13, kLeft}, {14, kRight}};

// The quarter a stick points into: sectors centred on right, up, left, down.
constexpr std::uint8_t kStickBits[] = {kRight, kUp, kLeft, kDown};

// Direction masks in angle order, an eighth turn apart from right.
constexpr std::uint8_t kMaskByEighth[] = {kRight, kRight | kUp, kUp, kUp | kLeft,
                                          kLeft, kLeft | kDown, kDown, kDown | kRight};

float Cross(const glm::vec2& p, const glm::vec2& q) { return p.x * q.y - p.y * q.x; }

std::uint8_t StickBit(const glm::vec2& stick)
{
    if (glm::dot(stick, stick) < kStickThresholdSquared)
        return 0;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const float centre = static_cast<float>(quarter) * kQuarterTurn;
        if (InSector(stick, centre - kEighthTurn, centre + kEighthTurn))
            return kStickBits[quarter];
    }
    return 0;
}

std::uint8_t CancelOpposites(std::uint8_t mask)
{
    if ((mask & kUp) && (mask & kDown))
        mask &= static_cast<std::uint8_t>(~(kUp | kDown));
    if ((mask & kLeft) && (mask & kRight))
        mask &= static_cast<std::uint8_t>(~(kLeft | kRight));
    return mask;
}

// The point of the element's box nearest q, less q.
glm::vec2 OffsetToBox(const IElement& element, const glm::vec2& q)
{
    const glm::vec2 a = element.GetAnchorPoint();
    const glm::vec2 s = element.normalisedSize;
    return glm::vec2(std::clamp(q.x, a.x - s.x, a.x + s.x), std::clamp(q.y, a.y - s.y, a.y + s.y)) - q;
}

struct Search {
    const DetectInteractionComp* focused;
    glm::vec2 q;
    glm::vec2 direction;
    float lower;
    float upper;
};

struct Best {
    DetectInteractionComp* comp = nullptr;
    float score = std::numeric_limits<float>::max();

    void Offer(DetectInteractionComp* candidate, float candidateScore)
    {
        if (candidateScore < score) {
            comp = candidate;
            score = candidateScore;
        }
    }
};

DetectInteractionComp* SearchCanvas(const Canvas& canvas, const Search& search)
{
    Best best;
    for (IElement* child : canvas.Children()) {
        if (child->kind == IElement::kCanvas) {
            DetectInteractionComp* found = SearchCanvas(static_cast<const Canvas&>(*child), search);
            if (!found)
                continue;
            const glm::vec2 d = OffsetToBox(*found->owner, search.q);
            if (glm::dot(search.direction, d) >= 0.0f)
                best.Offer(found, glm::dot(d, d));
            continue;
        }
        auto* detector = child->GetComp<DetectInteractionComp>();
        if (!detector || detector == search.focused || !child->GetComp<ScaleOnHoverComp>())
            continue;
        const glm::vec2 d = OffsetToBox(*child, search.q);
        const float along = glm::dot(search.direction, d);
        if (!InSector(d, search.lower, search.upper) || along < 0.0f)
            continue;
        // Nearer wins, and straighter ahead wins among equals. The cosine
        // keeps the weight between 1 and 2 however far the box lies, so a far
        // element never outscores a near one in the same direction.
        const float length = std::sqrt(glm::dot(d, d));
        const float cosine = length > 0.0f ? along / length : 1.0f;
        best.Offer(detector, glm::dot(d, d) * (2.0f - cosine));
    }
    return best.comp;
}

} // namespace

bool InSector(const glm::vec2& v, float a, float b)
{
    const glm::vec2 from(std::cos(a), std::sin(a));
    const glm::vec2 to(std::cos(b), std::sin(b));
    // The bounds are rounded angles (3.1415 for a half turn): a vector on
    // a bound, such as a button level with the focused one when Down is
    // pressed, would fall inside on one side. It lies on the bound, so it is
    // outside.
    const float onBound = kBoundTolerance * std::sqrt(glm::dot(v, v));
    return Cross(from, to) > 0.0f && Cross(from, v) > onBound && Cross(v, to) > onBound;
}

std::uint8_t ReadDirectionMask(const UiHost& host)
{
    std::uint8_t mask = 0;
    for (const KeyBit& key : kKeys) {
        if (host.KeyDown(key.primary) || host.KeyDown(key.secondary))
            mask |= key.bit;
    }
    for (int pad = 0; pad < host.PadCount(); ++pad) {
        for (const PadBit& button : kPad) {
            if (host.PadButtonDown(pad, button.button))
                mask |= button.bit;
        }
        mask |= StickBit(host.PadLeftStick(pad));
    }
    return CancelOpposites(mask);
}

float DirectionAngle(std::uint8_t mask)
{
    for (int k = 0; k < 8; ++k) {
        if (kMaskByEighth[k] == mask)
            return static_cast<float>(k) * kEighthTurn;
    }
    return -1.0f;
}

DetectInteractionComp* FindFocusInDirection(const Canvas& canvas, const DetectInteractionComp* focused,
                                            const glm::vec2& q, std::uint8_t mask)
{
    const float angle = DirectionAngle(mask);
    if (angle < 0.0f)
        return nullptr;
    const Search search{focused, q, glm::vec2(std::cos(angle), std::sin(angle)), angle - kQuarterTurn,
                        angle + kQuarterTurn};
    return SearchCanvas(canvas, search);
}

} // namespace Engine::UI
