#include "engine/render/HexColumnSides.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

using Engine::HexColumnSides;

constexpr float kRootThree = 1.7320508f;
constexpr float kOverlap = HexColumnSides::kOverlap;

// What the vertex program makes of a code: the kept part of the side.
struct Kept {
    float bottom = -1.0f;
    float top = 1.0f;
};

Kept Decode(std::uint16_t code)
{
    if (code == 0)
        return {};
    if (code <= 32768)
        return {-1.0f + 2.0f * static_cast<float>(code - 1) / 32767.0f, 1.0f};
    return {-1.0f, -1.0f + 2.0f * static_cast<float>(code - 32769) / 32766.0f};
}

// A column as the arena places one: radius and half length from the
// scale, turned and moved by `frame`, at `height` along its own y.
glm::mat4 Column(const glm::vec2& place, float height, const glm::mat4& frame = glm::mat4(1.0f),
                 const glm::vec3& scale = {2.5f, 40.0f, 2.5f})
{
    const glm::vec3 at{place.x * scale.x, height * scale.y, place.y * scale.z};
    return glm::scale(frame * glm::translate(glm::mat4(1.0f), at), scale);
}

// Where the neighbour across side k stands, in the column's own x and z.
glm::vec2 Across(int side)
{
    const float angle = (static_cast<float>(side) + 0.5f) * 3.14159265f / 3.0f;
    return glm::vec2(std::cos(angle), -std::sin(angle)) * kRootThree;
}

// A centre column at height 0 and its six neighbours at the given heights.
std::vector<glm::mat4> Ring(const std::array<float, 6>& heights, const glm::mat4& frame = glm::mat4(1.0f))
{
    std::vector<glm::mat4> columns{Column({0.0f, 0.0f}, 0.0f, frame)};
    for (int side = 0; side < 6; ++side)
        columns.push_back(Column(Across(side), heights[static_cast<std::size_t>(side)], frame));
    return columns;
}

Kept CentreSide(const HexColumnSides& sides, int side)
{
    return Decode(HexColumnSides::Code(sides.Codes().at(0), side));
}

TEST(HexColumnSides, CodesKeepAtLeastWhatWasAskedAndTheirHalvesStayApart)
{
    for (float y = -1.0f; y <= 1.0f; y += 0.0137f) {
        const Kept from = Decode(HexColumnSides::KeepFrom(y));
        const Kept upTo = Decode(HexColumnSides::KeepUpTo(y));
        EXPECT_LE(from.bottom, y) << y;
        EXPECT_GT(from.bottom, y - 1e-4f) << y;
        EXPECT_EQ(from.top, 1.0f);
        EXPECT_GE(upTo.top, y) << y;
        EXPECT_LT(upTo.top, y + 1e-4f) << y;
        EXPECT_EQ(upTo.bottom, -1.0f);
    }
    // The ends and beyond: never code 0 (whole), never the other kind.
    EXPECT_EQ(HexColumnSides::KeepFrom(-1.0f), 1);
    EXPECT_EQ(HexColumnSides::KeepFrom(1.0f), 32768);
    EXPECT_EQ(HexColumnSides::KeepFrom(7.0f), 32768);
    EXPECT_EQ(HexColumnSides::KeepUpTo(-1.0f), 32769);
    EXPECT_EQ(HexColumnSides::KeepUpTo(1.0f), 65535);
    EXPECT_EQ(HexColumnSides::KeepUpTo(-9.0f), 32769);

    const Engine::SideCodes codes{0x22221111u, 0x44443333u, 0x66665555u};
    for (int side = 0; side < 6; ++side)
        EXPECT_EQ(HexColumnSides::Code(codes, side), 0x1111 * (side + 1)) << side;
}

TEST(HexColumnSides, NeighboursHideWhatLiesAgainstThemAndNothingMore)
{
    // Level, lower by a quarter, higher by a quarter, lower and higher by
    // more than the whole length, and one sunk by exactly half.
    HexColumnSides sides;
    sides.Update(Ring({0.0f, -0.25f, 0.25f, -2.5f, 3.0f, -0.5f}));

    // Level: only a sliver at the bottom stays, for the view from below.
    EXPECT_NEAR(CentreSide(sides, 0).bottom, -1.0f, 1e-6f);
    EXPECT_NEAR(CentreSide(sides, 0).top, -1.0f + kOverlap, 1e-4f);
    EXPECT_GE(CentreSide(sides, 0).top, -1.0f + kOverlap);
    // Lower: its top is at 0.75; the side shows above it.
    EXPECT_LE(CentreSide(sides, 1).bottom, 0.75f - kOverlap);
    EXPECT_NEAR(CentreSide(sides, 1).bottom, 0.75f - kOverlap, 1e-4f);
    EXPECT_EQ(CentreSide(sides, 1).top, 1.0f);
    // Higher: its bottom is at -0.75; the side shows below it.
    EXPECT_GE(CentreSide(sides, 2).top, -0.75f + kOverlap);
    EXPECT_NEAR(CentreSide(sides, 2).top, -0.75f + kOverlap, 1e-4f);
    // Past either end the neighbour covers none of the side.
    EXPECT_EQ(HexColumnSides::Code(sides.Codes()[0], 3), 0);
    EXPECT_EQ(HexColumnSides::Code(sides.Codes()[0], 4), 0);
    EXPECT_NEAR(CentreSide(sides, 5).bottom, 0.5f - kOverlap, 1e-4f);

    // The neighbours see the centre from their side: the lower one keeps
    // its side up to the centre's bottom, the higher one from its top.
    const Kept lowerFacingCentre = Decode(HexColumnSides::Code(sides.Codes()[2], 4));
    EXPECT_NEAR(lowerFacingCentre.top, -0.75f + kOverlap, 1e-4f);
    const Kept higherFacingCentre = Decode(HexColumnSides::Code(sides.Codes()[3], 5));
    EXPECT_NEAR(higherFacingCentre.bottom, 0.75f - kOverlap, 1e-4f);
    // Sides that face out of the ring have nobody against them.
    for (int side : {0, 1, 5})
        EXPECT_EQ(HexColumnSides::Code(sides.Codes()[1], side), 0) << side;

    // One column moving changes its own codes and those of the columns
    // beside it, whichever of them moved.
    std::vector<glm::mat4> columns = Ring({0.0f, -0.25f, 0.25f, -2.5f, 3.0f, -0.5f});
    columns[1] = Column(Across(0), -0.5f);
    sides.Update(columns);
    EXPECT_NEAR(CentreSide(sides, 0).bottom, 0.5f - kOverlap, 1e-4f);
    EXPECT_NEAR(Decode(HexColumnSides::Code(sides.Codes()[1], 3)).top, -0.5f + kOverlap, 1e-4f);
    columns[0] = Column({0.0f, 0.0f}, -0.5f);
    sides.Update(columns);
    EXPECT_NEAR(CentreSide(sides, 0).top, -1.0f + kOverlap, 1e-4f);
    // The one sunk by half was lower than the centre and is now level.
    EXPECT_NEAR(Decode(HexColumnSides::Code(sides.Codes()[6], 2)).top, -1.0f + kOverlap, 1e-4f);
}

TEST(HexColumnSides, AFieldTurnedAnywhereKeepsTheSameSides)
{
    const std::array<float, 6> heights{0.1f, -0.3f, 0.0f, 0.45f, -0.05f, 0.2f};
    HexColumnSides upright;
    upright.Update(Ring(heights));
    const glm::mat4 turns[] = {
        glm::rotate(glm::mat4(1.0f), 3.14159265f, glm::vec3(1.0f, 0.0f, 0.0f)),
        glm::translate(glm::mat4(1.0f), glm::vec3(-75.0f, 3.0f, 0.0f)) *
            glm::rotate(glm::mat4(1.0f), -1.5707963f, glm::vec3(0.0f, 0.0f, 1.0f)),
        glm::rotate(glm::mat4(1.0f), 0.7f, glm::normalize(glm::vec3(1.0f, 2.0f, 0.5f))),
    };
    for (const glm::mat4& turn : turns) {
        HexColumnSides turned;
        turned.Update(Ring(heights, turn));
        for (int side = 0; side < 6; ++side) {
            const Kept a = CentreSide(upright, side);
            const Kept b = CentreSide(turned, side);
            EXPECT_NEAR(a.bottom, b.bottom, 2e-4f) << side;
            EXPECT_NEAR(a.top, b.top, 2e-4f) << side;
        }
    }
}

TEST(HexColumnSides, ANeighbourThatIsGoneMovedTurnedResizedOrBrokenHidesNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    HexColumnSides sides;
    std::vector<glm::mat4> columns = Ring({0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    sides.Update(columns);
    for (int side = 0; side < 6; ++side)
        ASSERT_NE(HexColumnSides::Code(sides.Codes()[0], side), 0) << side;

    columns[1] = glm::mat4(0.0f);                                            // vanished
    columns[2] = Column(Across(1) + glm::vec2(0.05f, 0.0f), 0.0f);           // slid aside
    columns[3] = Column(Across(2), 0.0f, glm::rotate(glm::mat4(1.0f), 0.2f, glm::vec3(0, 1, 0))); // turned
    columns[4] = Column(Across(3), 0.0f, glm::mat4(1.0f), {2.5f, 30.0f, 2.5f}); // shorter
    columns[5][3] = glm::vec4(nan, 0.0f, 0.0f, 1.0f);                         // broken
    columns[6][1] += glm::vec4(0.5f, 0.0f, 0.0f, 0.0f);                       // sheared
    sides.Update(columns);
    for (int side = 0; side < 6; ++side)
        EXPECT_EQ(HexColumnSides::Code(sides.Codes()[0], side), 0) << side;
    EXPECT_EQ(sides.Codes()[1], (Engine::SideCodes{0, 0, 0}));

    // A new count finds the neighbours again: the ring without the centre
    // trims no centre side, and a centre added back trims them all.
    columns = Ring({0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    sides.Update(std::span<const glm::mat4>(columns).subspan(1));
    ASSERT_EQ(sides.Codes().size(), 6u);
    sides.Update(columns);
    for (int side = 0; side < 6; ++side)
        EXPECT_NE(HexColumnSides::Code(sides.Codes()[0], side), 0) << side;
}

} // namespace
