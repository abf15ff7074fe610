#include "tools/tutorials/CaptureStage.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Frames of a one-tile floor at the given heights.
std::vector<MatchFrame> Floors(const std::vector<float>& heights)
{
    std::vector<MatchFrame> frames;
    for (float y : heights) {
        MatchFrame frame(1);
        frame.tiles[0].pos = {0.0f, y, 0.0f};
        frames.push_back(frame);
    }
    return frames;
}

// 'x' where a frame carries the floor, '.' where it does not.
std::string Carried(const std::vector<MatchFrame>& frames)
{
    std::string marks;
    for (const MatchFrame& frame : frames)
        marks += frame.tiles.empty() ? '.' : 'x';
    return marks;
}

TEST(TileThinning, FloorsGoWhereTheyMovedEveryStrideAndWhereAMoveEnds)
{
    struct Case {
        std::vector<float> heights;
        int stride;
        const char* carried;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 1, "x..."},
        {{0, 1, 2, 3, 3, 3}, 1, "xxxx.."},
        // Every third frame while moving, and the end of the move.
        {{0, 1, 2, 3, 4, 5, 6, 7, 7, 7}, 3, "x..x..xx.."},
        {{0, 1, 2, 2, 2, 3, 4, 4}, 4, "x.x...x."},
        // Moved and came back: the floor shown already is not written again.
        {{0, 1, 0, 0}, 4, "x..."},
        // Still moving at the end: the last place is written.
        {{0, 1, 2, 3}, 5, "x..x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.carried);
        const std::vector<MatchFrame> frames = Stage::ThinTiles(Floors(c.heights), c.stride);
        EXPECT_EQ(Carried(frames), c.carried);
        // Whatever was kept is the frame's own floor.
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (!frames[i].tiles.empty()) {
                EXPECT_EQ(frames[i].tiles[0].pos.y, c.heights[i]);
            }
        }
    }
}

} // namespace
