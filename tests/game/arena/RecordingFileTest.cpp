#include "game/arena/MatchRecorder.h"
#include "game/arena/RecordingFile.h"
#include "support/CapturedOutput.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <limits>
#include <nlohmann/json.hpp>

namespace {

// A frame with every field set to something of its own.
MatchFrame FullFrame(float seed, std::size_t tiles)
{
    MatchFrame frame(tiles);
    const auto v = [seed](float a) { return glm::vec3(seed + a, -seed * 0.5f + a, 1.0f / (seed + 3.0f) + a); };
    for (int p = 0; p < 2; ++p) {
        const float q = static_cast<float>(p);
        frame.players[p] = {v(q), v(q + 0.1f), v(q + 0.2f), 1.0f, 57.25f + q, static_cast<std::uint8_t>(p), 3 + p};
        frame.balls[p] = {v(q + 0.3f), p == 0 ? "BallBouncing" : "BallIdle"};
        frame.cams[p] = {v(q + 0.4f), v(q + 0.5f)};
    }
    frame.goalBall = {1, v(0.6f)};
    for (std::size_t t = 0; t < tiles; ++t)
        frame.tiles[t] = {v(static_cast<float>(t)), {0, 1, 0}, {0, 0, 1}};
    frame.trails = {{v(0.7f), v(0.8f), v(0.9f), v(1.0f)}, {v(1.1f), v(1.2f), v(1.3f), v(1.4f)}};
    frame.points0 = 1500.0f + seed;
    frame.points1 = 0.125f;
    frame.forceFields = {{1, v(1.5f)}};
    frame.stunAreas = {{1, v(1.6f), v(1.7f)}, {0, v(1.8f), v(1.9f)}};
    return frame;
}

// The recorder is the process's one: a test that loads or records into it
// leaves it as a live match's, for the tests that run after it.
struct RecorderPutBack {
    ~RecorderPutBack()
    {
        MatchRecorder& recorder = MatchRecorder::GetInstance();
        MatchRecorder::ClearFrameList(recorder.playback);
        MatchRecorder::ClearFrameList(recorder.ring);
        recorder.Reset();
        recorder.focusPlayer = 0;
        recorder.isTutorial = 0;
    }
};

TEST(Recordings, WhatTheWriterWritesTheReaderGivesBackFieldForField)
{
    ScopedTempDir dir;
    std::vector<MatchFrame> frames = {FullFrame(0.3f, 4), FullFrame(7.77f, 4), MatchFrame()};
    std::vector<const MatchFrame*> list;
    for (const MatchFrame& frame : frames)
        list.push_back(&frame);
    std::string problem;
    ASSERT_TRUE(RecordingFile::Write("match.json", list, 1, problem)) << problem;

    const auto read = RecordingFile::Read("match.json", 4, problem);
    ASSERT_TRUE(read) << problem;
    ASSERT_EQ(read->frames.size(), 3u);
    EXPECT_EQ(read->frames[0], frames[0]);
    EXPECT_EQ(read->frames[1], frames[1]);
    EXPECT_EQ(read->frames[2], frames[2]);
    EXPECT_EQ(read->winner, 1);
}

// A frame of tiles is most of a file: every float goes out as the shortest
// text that reads back as the same float.
TEST(Recordings, FloatsAreWrittenShortAndReadBackExactly)
{
    ScopedTempDir dir;
    const float values[] = {0.1f, -0.0f, 1e-45f, std::numeric_limits<float>::max(), -76.62734f, 1.0f / 3.0f,
                            16777216.0f, -1.17549435e-38f};
    MatchFrame frame(std::size(values));
    for (std::size_t i = 0; i < std::size(values); ++i)
        frame.tiles[i] = {glm::vec3(values[i], -values[i], values[i]), {0, 1, 0}, {0, 0, 1}};
    frame.players[0].energy = 0.1f;
    std::string problem;
    ASSERT_TRUE(RecordingFile::Write("short.json", {&frame}, 0, problem)) << problem;

    const std::string text = ReadFileText("short.json");
    EXPECT_EQ(text.find("0.10000000149"), std::string::npos) << "a float widened to a double's digits";
    EXPECT_NE(text.find("\"energy\":0.1,"), std::string::npos);
    const auto read = RecordingFile::Read("short.json", std::size(values), problem);
    ASSERT_TRUE(read) << problem;
    ASSERT_EQ(read->frames.size(), 1u);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(values[i]);
        EXPECT_EQ(read->frames[0].tiles[i], frame.tiles[i]);
        EXPECT_EQ(std::signbit(read->frames[0].tiles[i].pos.x), std::signbit(values[i]));
    }
}

TEST(Recordings, TheRecorderWritesItsRingAndPlaysTheFileBack)
{
    ScopedTempDir dir;
    RecorderPutBack putBack;
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    for (int i = 0; i < 5; ++i) {
        recorder.live = FullFrame(static_cast<float>(i), 0);
        recorder.Update();
    }
    recorder.focusPlayer = 1;
    ASSERT_TRUE(recorder.WriteRecording("ring.json", recorder.ring));
    std::vector<MatchFrame> written;
    for (const auto& frame : recorder.ring)
        written.push_back(*frame);

    recorder.focusPlayer = 0;
    ASSERT_TRUE(recorder.LoadRecording("ring.json"));
    EXPECT_TRUE(recorder.isTutorial);
    EXPECT_EQ(recorder.focusPlayer, 1);
    EXPECT_TRUE(recorder.ring.empty());
    ASSERT_EQ(recorder.playback.size(), written.size());
    std::size_t i = 0;
    for (const auto& frame : recorder.playback)
        EXPECT_EQ(*frame, written[i++]) << "frame " << i;

    // A file that names no player to follow is followed from player 1's
    // side, whatever the match before it followed: a one-player tutorial
    // has no second camera to look through.
    WriteFileText("no_winner.json", R"([{"Points0": 1}])");
    ASSERT_TRUE(recorder.LoadRecording("no_winner.json"));
    EXPECT_EQ(recorder.focusPlayer, 0);
}

TEST(Recordings, AWriterRefusesWhatCouldNotBeReadBack)
{
    ScopedTempDir dir;
    MatchFrame frame;
    frame.players[1].energy = std::numeric_limits<float>::quiet_NaN();
    std::string problem;
    EXPECT_FALSE(RecordingFile::Write("nan.json", {&frame}, 0, problem));
    EXPECT_NE(problem.find("frame 0"), std::string::npos);
    EXPECT_FALSE(RecordingFile::Write("no_such_folder/x.json", {}, 0, problem));
}

// A disk that fills part-way through a write (here a file-size limit) must
// leave the recording that was there, not a cut file.
TEST(Recordings, AWriteCutShortKeepsTheOldRecording)
{
    ScopedTempDir dir;
    const MatchFrame old = FullFrame(1.0f, 0);
    std::string problem;
    ASSERT_TRUE(RecordingFile::Write("tutorial.json", {&old}, 1, problem)) << problem;
    const std::string before = ReadFileText("tutorial.json");

    const MatchFrame big = FullFrame(2.0f, 1370);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{64 * 1024, limit.rlim_max};
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = RecordingFile::Write("tutorial.json", {&big, &big}, 0, problem);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_FALSE(written);
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(ReadFileText("tutorial.json"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1)
        << "no temporary left behind";
}

TEST(Recordings, PartialFramesKeepTheRestZeroAndMoveNoTile)
{
    ScopedTempDir dir;
    WriteFileText("tutorial.json", R"([
        {"Players": [{"pos": {"x": 1, "y": 2, "z": 3}}, {"pos": {"x": 4, "y": 5, "z": 6}, "active": null}],
         "Winner": true},
        {"Tiles": [], "Points0": 12.5, "Winner": 0.9}
    ])");
    std::string problem;
    const auto read = RecordingFile::Read("tutorial.json", 1370, problem);
    ASSERT_TRUE(read) << problem;
    const MatchFrame& first = read->frames[0];
    EXPECT_EQ(first.players[0].pos, glm::vec3(1, 2, 3));
    EXPECT_EQ(first.players[0].camp, glm::vec3(0.0f)) << "without \"active\" only the position is read";
    EXPECT_EQ(first.players[1].pos, glm::vec3(4, 5, 6));
    EXPECT_TRUE(first.tiles.empty()) << "no \"Tiles\": every tile stays where it is";
    EXPECT_EQ(read->frames[1].points0, 12.5f);
    EXPECT_EQ(read->winner, 0) << "the last frame's winner, truncated";
}

TEST(Recordings, AMalformedFileIsRefusedWholeWithItsReason)
{
    ScopedTempDir dir;
    RecorderPutBack putBack;
    const std::string vec = R"({"x": 1, "y": 2, "z": 3})";
    const std::string player = R"({"pos": )" + vec + "}";
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"not JSON", "[{\"Players\": ", "not JSON"},
        {"an object", "{}", "list of frames"},
        {"no frames", "[]", "holds no frames"},
        {"a frame that is a number", "[3]", "frame 0: not an object"},
        {"three players", "[{\"Players\": [" + player + "," + player + "," + player + "]}]", "more than 2"},
        {"three balls", "[{}, {\"Balls\": [{}, {}, {}]}]", "frame 1: \"Balls\": more than 2"},
        {"three cameras", "[{\"Cams\": [{}, {}, {}]}]", "\"Cams\": more than 2"},
        {"winner 2", "[{\"Winner\": 2}]", "not player 0 or 1"},
        {"winner -1", "[{\"Winner\": -1}]", "not player 0 or 1"},
        {"winner huge", "[{\"Winner\": 1e300}]", "not player 0 or 1"},
        {"two tiles for 1370", "[{\"Tiles\": [{}, {}]}]", "2 tiles for an arena of"},
        {"tiles not a list", "[{\"Tiles\": 5}]", "\"Tiles\": not a list"},
        {"player without pos", "[{\"Players\": [{\"active\": 1}]}]", "\"Players\""},
        {"active player half read", "[{\"Players\": [{\"pos\": " + vec + ", \"active\": 1}]}]", "\"Players\""},
        {"vec3 of text", "[{\"GoalData\": {\"active\": true, \"pos\": {\"x\": \"a\", \"y\": 0, \"z\": 0}}}]",
         "\"GoalData\""},
        {"float past range", "[{\"Points1\": 1e40}]", "\"Points1\""},
        {"score past int", "[{\"Players\": [{\"pos\": " + vec +
                               ", \"active\": 1, \"camt\": " + vec + ", \"camp\": " + vec +
                               ", \"energy\": 1, \"exausted\": false, \"score\": 1e12}]}]",
         "\"Players\""},
        {"trail piece short", "[{\"Trails\": [{\"pos\": " + vec + "}]}]", "\"Trails\""},
        {"stun area without scale", "[{\"St\": [{\"pos\": " + vec + ", \"active\": true}]}]", "\"St\""},
        {"ball state a number", "[{\"Balls\": [{\"pos\": " + vec + ", \"state\": 4}]}]", "\"Balls\""},
    };
    MatchRecorder& recorder = MatchRecorder::GetInstance();
    for (const Case& c : cases) {
        WriteFileText("bad.json", c.text);
        recorder.playback.push_back(std::make_shared<MatchFrame>());
        bool loaded = true;
        const std::string said = StderrOf([&] { loaded = recorder.LoadRecording("bad.json"); });
        EXPECT_FALSE(loaded) << c.what;
        EXPECT_TRUE(recorder.playback.empty()) << c.what;
        EXPECT_NE(said.find("\"bad.json\" refused"), std::string::npos) << c.what << ": " << said;
        EXPECT_NE(said.find(c.message), std::string::npos) << c.what << ": " << said;
    }
    const std::string said = StderrOf([&] { EXPECT_FALSE(recorder.LoadRecording("missing.json")); });
    EXPECT_NE(said.find("cannot be opened"), std::string::npos);
}

} // namespace
