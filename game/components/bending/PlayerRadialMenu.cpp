// The radial mode menu: while its key is held, the pointer's direction from
// where the menu opened picks a bending mode, up for the tile in view, right
// for the one ahead, left for the one behind, down for the one underfoot.
// The slice of the mode in use is lit.
#include "game/components/player/PlayerLogicComp.h"

#include "engine/core/InputManager.h"
#include "game/components/shared/HudTexture.h"
#include "game/components/bending/PlayerBending.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

using PlayerBending::Mode;

constexpr const char* kLitSlice = "White";
// A pointer resting on the origin still has a length.
constexpr float kEpsilon = 1.1920929e-07f;
constexpr float kRestingLength = 0.1f;
constexpr float kLeftTolerance = 0.0001f;
constexpr float kDegreesPerRadian = 57.29578f;

// The pointer's angle from straight up in degrees: positive to the left,
// negative to the right.
float SignedAngleFromUp(const glm::vec2& direction)
{
    const float angle = std::acos(std::clamp(direction.y, -1.0f, 1.0f));
    const bool left = std::abs(-std::sin(angle) - direction.x) < kLeftTolerance &&
                      std::abs(std::cos(angle) - direction.y) < kLeftTolerance;
    return (left ? angle : -angle) * kDegreesPerRadian;
}

// The mode of the slice the pointer's direction falls in; `modes` sets the
// width of a slice. A pointer on a border takes the slice nearer the
// vertical.
std::int32_t ModeOfDirection(const glm::vec2& direction, float modes)
{
    const float sector = 360.0f / modes;
    const float half = sector * 0.5f;
    const float angle = SignedAngleFromUp(direction);
    const float size = std::abs(angle);
    if (size <= half)
        return Mode::View;
    if (size <= sector + half)
        return angle > 0.0f ? Mode::Behind : Mode::Ahead;
    return Mode::Under;
}

} // namespace

void Player_LogicComp::UpdateRadialMenu()
{
    auto light = [this](std::int32_t mode) {
        const int slice = PlayerBending::SliceOfMode(mode);
        if (slice >= 0 && static_cast<std::size_t>(slice) < mRadialSlices.size())
            ShowHudTexture(mRadialSlices[static_cast<std::size_t>(slice)], kLitSlice);
    };
    HideRadialSlices();
    light(mBendMode);

    const glm::vec2 pointer = Engine::InputManager::GetInstance().UpdateMousePosition() - mRadialOrigin;
    const bool resting = std::abs(pointer.x) < kEpsilon && std::abs(pointer.y) < kEpsilon;
    const float length = resting ? kRestingLength : glm::length(pointer);
    if (length < radial_menu_threshold.value)
        return;
    const std::int32_t mode = ModeOfDirection(pointer / length, numb_of_modes.value);
    light(mode);
    PlayerBending::SwitchMode(*this, mode);
}
