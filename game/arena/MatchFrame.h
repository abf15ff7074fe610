#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <glm/glm.hpp>
#include <string>
#include <vector>

// One recorded frame of a match: what every moving thing of the arena was
// doing. While live, the match's components fill the recorder's live frame;
// while playing back, they take their state from the front playback frame.
// Every field starts at zero (or empty).

struct MatchPlayerRecord {
    glm::vec3 pos{0.0f};
    glm::vec3 camt{0.0f}; // camera target
    glm::vec3 camp{0.0f}; // camera position
    float active = 0.0f;
    float energy = 0.0f;
    std::uint8_t exausted = 0;
    std::int32_t score = 0;

    bool operator==(const MatchPlayerRecord&) const = default;
};

struct MatchBallRecord {
    glm::vec3 pos{0.0f};
    // The name of the ball's current state.
    std::string state;

    bool operator==(const MatchBallRecord&) const = default;
};

struct MatchGoalBallRecord {
    std::uint8_t active = 0;
    glm::vec3 pos{0.0f};

    bool operator==(const MatchGoalBallRecord&) const = default;
};

struct MatchTileRecord {
    glm::vec3 pos{0.0f};
    glm::vec3 up{0.0f};
    glm::vec3 forw{0.0f};

    bool operator==(const MatchTileRecord&) const = default;
};

struct MatchTrailRecord {
    glm::vec3 pos{0.0f};
    glm::vec3 up{0.0f};
    glm::vec3 forw{0.0f};
    glm::vec3 sca{0.0f};

    bool operator==(const MatchTrailRecord&) const = default;
};

struct MatchCameraRecord {
    glm::vec3 pos{0.0f};
    glm::vec3 target{0.0f};

    bool operator==(const MatchCameraRecord&) const = default;
};

struct MatchForceFieldRecord {
    std::uint8_t active = 0;
    glm::vec3 pos{0.0f};

    bool operator==(const MatchForceFieldRecord&) const = default;
};

struct MatchStunAreaRecord {
    std::uint8_t active = 0;
    glm::vec3 pos{0.0f};
    glm::vec3 sca{0.0f};

    bool operator==(const MatchStunAreaRecord&) const = default;
};

struct MatchFrame {
    static constexpr std::size_t kPlayers = 2;

    MatchFrame() = default;
    // A fresh frame with one zero tile record per arena tile.
    explicit MatchFrame(std::size_t tileCount) : tiles(tileCount) {}

    // By player number - 1.
    std::array<MatchPlayerRecord, kPlayers> players{};
    // By the owning player's number - 1.
    std::array<MatchBallRecord, kPlayers> balls{};
    MatchGoalBallRecord goalBall;
    // One per arena tile, by tile number; empty when the frame moves no tile.
    std::vector<MatchTileRecord> tiles;
    // Ball trail pieces, in the order the pieces wrote them.
    std::vector<MatchTrailRecord> trails;
    // Moment points of players 1 and 2 in this frame.
    float points0 = 0.0f;
    float points1 = 0.0f;
    // Each player's camera.
    std::array<MatchCameraRecord, kPlayers> cams{};
    std::vector<MatchForceFieldRecord> forceFields;
    std::vector<MatchStunAreaRecord> stunAreas;

    bool operator==(const MatchFrame&) const = default;
};
