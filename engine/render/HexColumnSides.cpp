#include "engine/render/HexColumnSides.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>

namespace Engine {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Centres of two hexagons of radius 1 that share a side lie sqrt(3) apart.
constexpr float kNeighbourDistance = 1.7320508f;
// Neighbours share their axes to the last few bits (one parent turns them
// all); a place within a thousandth of the column's radius is theirs.
constexpr float kAxisTolerance = 1e-4f;
constexpr float kPlaceTolerance = 1e-3f;
// The grid that finds neighbours, in the column's own units.
constexpr float kCell = 0.5f;
constexpr int kDirectionSteps = 64;
constexpr std::uint32_t kKeepFromFirst = 1;
constexpr std::uint32_t kKeepUpToFirst = 32769;
constexpr double kKeepFromSteps = 32767.0;
constexpr double kKeepUpToSteps = 32766.0;

// Where the neighbour across a side stands, in the column's x and z.
glm::vec2 NeighbourPlace(int side)
{
    const double angle = (side + 0.5) * kPi / 3.0;
    return glm::vec2(static_cast<float>(std::cos(angle)), static_cast<float>(-std::sin(angle))) * kNeighbourDistance;
}

using Frame = HexColumnSides::Frame;

bool Perpendicular(const glm::vec3& a, float aa, const glm::vec3& b, float bb)
{
    return std::abs(glm::dot(a, b)) <= kAxisTolerance * std::sqrt(aa * bb);
}

Frame FrameOf(const glm::mat4& m)
{
    Frame f;
    f.x = glm::vec3(m[0]);
    f.y = glm::vec3(m[1]);
    f.z = glm::vec3(m[2]);
    f.origin = glm::vec3(m[3]);
    f.xx = glm::dot(f.x, f.x);
    f.yy = glm::dot(f.y, f.y);
    f.zz = glm::dot(f.z, f.z);
    const bool affine = m[0][3] == 0.0f && m[1][3] == 0.0f && m[2][3] == 0.0f && m[3][3] == 1.0f;
    const bool finite = std::isfinite(f.xx) && std::isfinite(f.yy) && std::isfinite(f.zz) &&
                        std::isfinite(f.origin.x) && std::isfinite(f.origin.y) && std::isfinite(f.origin.z);
    f.usable = affine && finite && f.xx > 0.0f && f.yy > 0.0f && f.zz > 0.0f && Perpendicular(f.x, f.xx, f.y, f.yy) &&
               Perpendicular(f.y, f.yy, f.z, f.zz) && Perpendicular(f.z, f.zz, f.x, f.xx);
    return f;
}

bool SameAxis(const glm::vec3& a, float aa, const glm::vec3& b)
{
    const glm::vec3 d = a - b;
    return glm::dot(d, d) <= kAxisTolerance * kAxisTolerance * aa;
}

// The neighbour's centre along the column's own y, when it stands against
// the given side: same axes, same size, and its place is that side's.
std::optional<float> NeighbourHeight(const Frame& column, const Frame& neighbour, int side)
{
    if (!column.usable || !neighbour.usable || !SameAxis(column.x, column.xx, neighbour.x) ||
        !SameAxis(column.y, column.yy, neighbour.y) || !SameAxis(column.z, column.zz, neighbour.z))
        return std::nullopt;
    const glm::vec3 d = neighbour.origin - column.origin;
    const glm::vec2 place = NeighbourPlace(side);
    if (std::abs(glm::dot(d, column.x) / column.xx - place.x) > kPlaceTolerance ||
        std::abs(glm::dot(d, column.z) / column.zz - place.y) > kPlaceTolerance)
        return std::nullopt;
    const float height = glm::dot(d, column.y) / column.yy;
    return std::isfinite(height) ? std::optional<float>(height) : std::nullopt;
}

using CellKey = std::array<std::int64_t, 5>;

CellKey KeyOf(const Frame& f, float u, float w)
{
    const glm::vec3 up = f.y / std::sqrt(f.yy);
    return {std::lround(up.x * kDirectionSteps), std::lround(up.y * kDirectionSteps),
            std::lround(up.z * kDirectionSteps), static_cast<std::int64_t>(std::floor(u / kCell)),
            static_cast<std::int64_t>(std::floor(w / kCell))};
}

// Where a column stands across its own x and z, in its own units.
glm::vec2 PlaneCoordinates(const Frame& f)
{
    return {glm::dot(f.origin, f.x) / f.xx, glm::dot(f.origin, f.z) / f.zz};
}

void SetCode(SideCodes& codes, int side, std::uint16_t code)
{
    std::uint32_t& word = codes[static_cast<std::size_t>(side / 2)];
    if (side % 2 == 0)
        word = (word & 0xFFFF0000u) | code;
    else
        word = (word & 0x0000FFFFu) | (static_cast<std::uint32_t>(code) << 16);
}

} // namespace

std::uint16_t HexColumnSides::KeepFrom(float bottom)
{
    const double steps = std::floor((std::clamp(static_cast<double>(bottom), -1.0, 1.0) + 1.0) / 2.0 * kKeepFromSteps);
    return static_cast<std::uint16_t>(kKeepFromFirst + static_cast<std::uint32_t>(steps));
}

std::uint16_t HexColumnSides::KeepUpTo(float top)
{
    const double steps = std::ceil((std::clamp(static_cast<double>(top), -1.0, 1.0) + 1.0) / 2.0 * kKeepUpToSteps);
    return static_cast<std::uint16_t>(kKeepUpToFirst + static_cast<std::uint32_t>(steps));
}

std::uint16_t HexColumnSides::Code(const SideCodes& codes, int side)
{
    const std::uint32_t word = codes[static_cast<std::size_t>(side / 2)];
    return static_cast<std::uint16_t>(side % 2 == 0 ? word & 0xFFFFu : word >> 16);
}

namespace {

// A neighbour whose centre is at height h spans h - 1 to h + 1 of the
// column. Higher, it hides the side from its own bottom up; lower, from the
// bottom up to its top. One that reaches past both ends hides it all.
std::uint16_t SideCode(const Frame& column, const Frame& neighbour, int side)
{
    const std::optional<float> height = NeighbourHeight(column, neighbour, side);
    if (!height)
        return 0;
    if (*height >= 0.0f) {
        const float top = *height - 1.0f + HexColumnSides::kOverlap;
        return top >= 1.0f ? 0 : HexColumnSides::KeepUpTo(top);
    }
    const float bottom = *height + 1.0f - HexColumnSides::kOverlap;
    return bottom <= -1.0f ? 0 : HexColumnSides::KeepFrom(bottom);
}

} // namespace

// Neighbours by place: each column goes into a grid cell of its own
// orientation, and each side looks in the cells around where its neighbour
// would stand.
void HexColumnSides::Link()
{
    std::map<CellKey, std::vector<std::int32_t>> cells;
    for (std::size_t i = 0; i < mFrames.size(); ++i) {
        if (!mFrames[i].usable)
            continue;
        const glm::vec2 at = PlaneCoordinates(mFrames[i]);
        cells[KeyOf(mFrames[i], at.x, at.y)].push_back(static_cast<std::int32_t>(i));
    }
    mNeighbours.assign(mFrames.size(), {-1, -1, -1, -1, -1, -1});
    mReferrers.assign(mFrames.size(), {});
    for (std::size_t i = 0; i < mFrames.size(); ++i) {
        if (!mFrames[i].usable)
            continue;
        const glm::vec2 at = PlaneCoordinates(mFrames[i]);
        for (int side = 0; side < kSides; ++side) {
            const glm::vec2 expected = at + NeighbourPlace(side);
            const CellKey centre = KeyOf(mFrames[i], expected.x, expected.y);
            // The place may sit on a cell's edge: look in the cells around it.
            for (int du = -1; du <= 1 && mNeighbours[i][side] < 0; ++du) {
                for (int dw = -1; dw <= 1 && mNeighbours[i][side] < 0; ++dw) {
                    CellKey key = centre;
                    key[3] += du;
                    key[4] += dw;
                    const auto found = cells.find(key);
                    if (found == cells.end())
                        continue;
                    for (const std::int32_t other : found->second) {
                        if (NeighbourHeight(mFrames[i], mFrames[other], side)) {
                            mNeighbours[i][side] = other;
                            mReferrers[static_cast<std::size_t>(other)].push_back(static_cast<std::int32_t>(i));
                            break;
                        }
                    }
                }
            }
        }
    }
}

void HexColumnSides::Recode(std::size_t column)
{
    SideCodes& codes = mCodes[column];
    codes = SideCodes{0, 0, 0};
    for (int side = 0; side < kSides; ++side) {
        const std::int32_t other = mNeighbours[column][side];
        if (other >= 0)
            SetCode(codes, side, SideCode(mFrames[column], mFrames[static_cast<std::size_t>(other)], side));
    }
}

void HexColumnSides::Update(std::span<const glm::mat4> columns)
{
    if (mNeighbours.size() != columns.size()) {
        mColumns.assign(columns.begin(), columns.end());
        mFrames.resize(columns.size());
        for (std::size_t i = 0; i < columns.size(); ++i)
            mFrames[i] = FrameOf(columns[i]);
        Link();
        mCodes.assign(columns.size(), SideCodes{0, 0, 0});
        for (std::size_t i = 0; i < columns.size(); ++i)
            Recode(i);
        return;
    }
    // Most columns stand still from one draw to the next: only those that
    // moved and those beside them get new codes.
    mStale.assign(columns.size(), 0);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (std::memcmp(&columns[i], &mColumns[i], sizeof(glm::mat4)) == 0)
            continue;
        mColumns[i] = columns[i];
        mFrames[i] = FrameOf(columns[i]);
        mStale[i] = 1;
        for (const std::int32_t referrer : mReferrers[i])
            mStale[static_cast<std::size_t>(referrer)] = 1;
    }
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (mStale[i])
            Recode(i);
}

} // namespace Engine
