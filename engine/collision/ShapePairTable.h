#pragma once
#include "engine/collision/CollisionShape.h"
#include "engine/collision/ContactInfo.h"
#include "engine/core/EntityHandle.h"
#include "engine/core/Transform3D.h"

#include <array>
#include <cstdint>

namespace Engine {

// A narrow-phase test of two bodies placed by their transforms. The normal it
// reports points from a to b. A test of two different shapes learns which
// body is which from a's recorded shape (its body, else its static collider).
using ShapePairTest = bool (*)(EntityHandle a, EntityHandle b, const Transform3D& ta, const Transform3D& tb,
                               ContactInfo* contact);

// One test per unordered pair of the six shapes, at index shapeA | shapeB:
// 21 of the 63 indices are used.
class ShapePairTable {
public:
    static constexpr std::size_t kSlotCount = 64;

    ShapePairTable();

    // The test for two shapes; null when either is not one of the six
    // shapes (0, a mixture, out of range).
    ShapePairTest Find(std::uint32_t shapeA, std::uint32_t shapeB) const;

private:
    std::array<ShapePairTest, kSlotCount> mTests{};
};

// The shape an entity is recorded with: its body's, else its static
// collider's, else 0. Adds nothing to either manager.
std::uint32_t RecordedShape(EntityHandle entity);

} // namespace Engine
