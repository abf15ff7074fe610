// Recording files: one JSON array of frame objects, in playback order.
// vec3 is {"x", "y", "z"}, every number within the float range.
//
//   "Winner"    number or boolean, truncated; 0 or 1: the player playback
//               follows (the last frame's value counts)
//   "Players"   at most 2 of {"pos": vec3} or {"pos", "camt", "camp": vec3,
//               "active": number or boolean, "energy": number,
//               "exausted": boolean, "score": integer}; the second form is
//               taken when "active" is present and not null
//   "Balls"     at most 2 of {"pos": vec3, "state": string}
//   "Tiles"     empty, or exactly one {"pos", "up", "forw": vec3} per arena
//               tile; absent or empty: no tile moves in this frame
//   "GoalData"  {"pos": vec3, "active": boolean}
//   "Trails"    [{"pos", "up", "forw", "sca": vec3}]
//   "Points0", "Points1"   numbers
//   "Cams"      at most 2 of {"pos", "target": vec3}
//   "FF"        [{"pos": vec3, "active": boolean}]
//   "St"        [{"pos", "sca": vec3, "active": boolean}]
//
// Every key of a frame may be absent: that part of the frame stays zero.
// Inside a record every listed key is required. A file that breaks any rule
// is refused whole.
#include "game/arena/RecordingFile.h"

#include "engine/core/JsonForms.h"
#include "engine/platform/ReplaceFile.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace RecordingFile {
namespace {

using nlohmann::json;

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

glm::vec3 Vec3(const json& record, const char* key) { return record.at(key).get<glm::vec3>(); }

bool Flag(const json& value) { return Engine::Json::ReadNumber(value) != 0.0; }

// The key's value when present and not null, read by `read`; an error names
// the key.
template <class ReadValue>
void WithKey(const json& frame, const char* key, ReadValue read)
{
    const auto found = frame.find(key);
    if (found == frame.end() || found->is_null())
        return;
    try {
        read(*found);
    } catch (const std::exception& error) {
        throw FormatError(std::string("\"") + key + "\": " + error.what());
    }
}

const json& List(const json& value)
{
    if (!value.is_array())
        throw FormatError("not a list");
    return value;
}

const json& ListOfAtMost(const json& value, std::size_t most)
{
    if (List(value).size() > most)
        throw FormatError("more than " + std::to_string(most) + " entries");
    return value;
}

MatchPlayerRecord ReadPlayer(const json& value)
{
    MatchPlayerRecord player;
    player.pos = Vec3(value, "pos");
    const auto active = value.find("active");
    if (active == value.end() || active->is_null())
        return player;
    player.camt = Vec3(value, "camt");
    player.camp = Vec3(value, "camp");
    player.active = Engine::Json::ReadFloat(*active);
    player.energy = Engine::Json::ReadFloat(value.at("energy"));
    player.exausted = Flag(value.at("exausted")) ? 1 : 0;
    player.score = Engine::Json::ReadInt(value.at("score"));
    return player;
}

void ReadTiles(const json& value, std::size_t tileCount, MatchFrame& frame)
{
    if (!List(value).empty() && value.size() != tileCount)
        throw FormatError(std::to_string(value.size()) + " tiles for an arena of " + std::to_string(tileCount));
    frame.tiles.clear();
    for (const json& tile : value)
        frame.tiles.push_back({Vec3(tile, "pos"), Vec3(tile, "up"), Vec3(tile, "forw")});
}

std::int32_t ReadWinner(const json& value)
{
    const double winner = std::trunc(Engine::Json::ReadNumber(value));
    if (winner != 0.0 && winner != 1.0)
        throw FormatError("not player 0 or 1");
    return static_cast<std::int32_t>(winner);
}

MatchFrame ReadFrame(const json& object, std::size_t tileCount, std::optional<std::int32_t>& winner)
{
    if (!object.is_object())
        throw FormatError("not an object");
    MatchFrame frame;
    WithKey(object, "Winner", [&](const json& v) { winner = ReadWinner(v); });
    WithKey(object, "Players", [&](const json& v) {
        std::size_t i = 0;
        for (const json& player : ListOfAtMost(v, MatchFrame::kPlayers))
            frame.players[i++] = ReadPlayer(player);
    });
    WithKey(object, "Balls", [&](const json& v) {
        std::size_t i = 0;
        for (const json& ball : ListOfAtMost(v, MatchFrame::kPlayers))
            frame.balls[i++] = {Vec3(ball, "pos"), ball.at("state").get<std::string>()};
    });
    WithKey(object, "Tiles", [&](const json& v) { ReadTiles(v, tileCount, frame); });
    WithKey(object, "GoalData", [&](const json& v) {
        frame.goalBall = {static_cast<std::uint8_t>(Flag(v.at("active"))), Vec3(v, "pos")};
    });
    WithKey(object, "Trails", [&](const json& v) {
        for (const json& piece : List(v))
            frame.trails.push_back({Vec3(piece, "pos"), Vec3(piece, "up"), Vec3(piece, "forw"), Vec3(piece, "sca")});
    });
    WithKey(object, "Points0", [&](const json& v) { frame.points0 = Engine::Json::ReadFloat(v); });
    WithKey(object, "Points1", [&](const json& v) { frame.points1 = Engine::Json::ReadFloat(v); });
    WithKey(object, "Cams", [&](const json& v) {
        std::size_t i = 0;
        for (const json& cam : ListOfAtMost(v, MatchFrame::kPlayers))
            frame.cams[i++] = {Vec3(cam, "pos"), Vec3(cam, "target")};
    });
    WithKey(object, "FF", [&](const json& v) {
        for (const json& field : List(v))
            frame.forceFields.push_back({static_cast<std::uint8_t>(Flag(field.at("active"))), Vec3(field, "pos")});
    });
    WithKey(object, "St", [&](const json& v) {
        for (const json& area : List(v))
            frame.stunAreas.push_back(
                {static_cast<std::uint8_t>(Flag(area.at("active"))), Vec3(area, "pos"), Vec3(area, "sca")});
    });
    return frame;
}

// A float as the shortest decimal that reads back as the same float: the
// double it widens to would print with seventeen digits, and a floor of
// tiles in a frame is a good part of a file.
json Number(float value)
{
    if (!std::isfinite(value))
        return value;
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double wide = value;
    std::from_chars(text, end, wide);
    // Near the float's limit the shortest text lies beyond it, where the
    // reader would refuse it: the exact value goes out instead.
    if (std::fabs(wide) > std::numeric_limits<float>::max())
        return static_cast<double>(value);
    return wide;
}

json Vec(const glm::vec3& v) { return {{"x", Number(v.x)}, {"y", Number(v.y)}, {"z", Number(v.z)}}; }

json WriteFrame(const MatchFrame& frame, std::int32_t winner)
{
    json out = json::object();
    out["Winner"] = winner;
    json& players = out["Players"] = json::array();
    for (const MatchPlayerRecord& p : frame.players)
        players.push_back({{"pos", Vec(p.pos)},
                           {"camt", Vec(p.camt)},
                           {"camp", Vec(p.camp)},
                           {"active", Number(p.active)},
                           {"energy", Number(p.energy)},
                           {"exausted", p.exausted != 0},
                           {"score", p.score}});
    json& balls = out["Balls"] = json::array();
    for (const MatchBallRecord& b : frame.balls)
        balls.push_back({{"pos", Vec(b.pos)}, {"state", b.state}});
    json& tiles = out["Tiles"] = json::array();
    for (const MatchTileRecord& t : frame.tiles)
        tiles.push_back({{"pos", Vec(t.pos)}, {"up", Vec(t.up)}, {"forw", Vec(t.forw)}});
    out["GoalData"] = {{"pos", Vec(frame.goalBall.pos)}, {"active", frame.goalBall.active != 0}};
    json& trails = out["Trails"] = json::array();
    for (const MatchTrailRecord& t : frame.trails)
        trails.push_back({{"pos", Vec(t.pos)}, {"up", Vec(t.up)}, {"forw", Vec(t.forw)}, {"sca", Vec(t.sca)}});
    out["Points0"] = Number(frame.points0);
    out["Points1"] = Number(frame.points1);
    json& cams = out["Cams"] = json::array();
    for (const MatchCameraRecord& c : frame.cams)
        cams.push_back({{"pos", Vec(c.pos)}, {"target", Vec(c.target)}});
    json& fields = out["FF"] = json::array();
    for (const MatchForceFieldRecord& f : frame.forceFields)
        fields.push_back({{"pos", Vec(f.pos)}, {"active", f.active != 0}});
    json& areas = out["St"] = json::array();
    for (const MatchStunAreaRecord& s : frame.stunAreas)
        areas.push_back({{"pos", Vec(s.pos)}, {"sca", Vec(s.sca)}, {"active", s.active != 0}});
    return out;
}

// JSON has no NaN or infinity: the library writes them as null, which no
// reader takes for a number.
bool AllFinite(const json& value)
{
    if (value.is_number_float())
        return std::isfinite(value.get<double>());
    if (value.is_structured()) {
        for (const json& element : value)
            if (!AllFinite(element))
                return false;
    }
    return true;
}

} // namespace

std::optional<Recording> Read(const std::string& path, std::size_t tileCount, std::string& problem)
{
    std::ifstream file(path);
    if (!file) {
        problem = "the file cannot be opened";
        return std::nullopt;
    }
    return Read(file, tileCount, problem);
}

std::optional<Recording> Read(std::istream& file, std::size_t tileCount, std::string& problem)
{
    const json document = json::parse(file, nullptr, false);
    if (document.is_discarded()) {
        problem = "the file is not JSON";
        return std::nullopt;
    }
    if (!document.is_array()) {
        problem = "the file does not hold a list of frames";
        return std::nullopt;
    }
    Recording recording;
    for (std::size_t i = 0; i < document.size(); ++i) {
        try {
            recording.frames.push_back(ReadFrame(document[i], tileCount, recording.winner));
        } catch (const std::exception& error) {
            problem = "frame " + std::to_string(i) + ": " + error.what();
            return std::nullopt;
        }
    }
    return recording;
}

bool Write(const std::string& path, const std::vector<const MatchFrame*>& frames, std::int32_t winner,
           std::string& problem)
{
    json document = json::array();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        document.push_back(WriteFrame(*frames[i], winner));
        if (!AllFinite(document.back())) {
            problem = "frame " + std::to_string(i) + " holds a value that is not a finite number";
            return false;
        }
    }
    // Through a temporary file: a write that fails part-way keeps the
    // recording that was there.
    problem = Engine::Platform::ReplaceFileContents(path, document.dump()).failure;
    return problem.empty();
}

} // namespace RecordingFile
