#pragma once
#include "game/modes/GameDriver.h"
#include "support/LinkOnRealTime.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>

class Player_LogicComp;

// One side of a networked match, in a process of its own with its own X
// server: the game from its title screen, walked by the menus' keys, played
// by injected input, and what it saw written down for the test to compare.
class NetPeer : public GameDriver {
public:
    enum class Role { Host, Client };
    struct Settings {
        Role role = Role::Host;
        // The host binds a port of the system's choice and writes it to
        // hostPortPath; the client reads the port to send to (the host's,
        // or the relay's when one sits between them) from clientPortPath.
        std::string hostPortPath;
        std::string clientPortPath;
        std::string dumpPath;
        // Written once the match is under way (the arena built, both
        // players on the floor); empty: nothing is written.
        std::string playingPath;
        // A picture of this side's view once both players stand, saved as
        // screenshots/<name>.png; empty: none.
        std::string screenshot;
        // Frames of recording kept for the replay.
        std::uint32_t recordedFrames = 40;
        // Above zero: instead of the scripted match, random hands play for
        // this many seconds, matches that end start again through the menus,
        // and at the end this side stands still with the peer and writes
        // down what it sees of both players and the floor.
        int soakSeconds = 0;
        // The peer's dump: the two sides leave marks beside their dumps to
        // meet at the end of a soak.
        std::string peerDumpPath;
        // Seeds this side's hands.
        std::uint32_t seed = 1;
        // Seconds of the peer's silence before this side calls the link
        // lost: far past any stall of a busy machine, so that what a test
        // sees is the match. The link's own ten seconds are checked on a
        // manual clock with the link.
        double silenceLimit = 60.0;
    };

    explicit NetPeer(Settings settings) : mSettings(std::move(settings)) {}

    // Everything, from the engine's start to the end of the process's part;
    // the process's exit status: 0 when nothing failed on the way.
    int Run();

private:
    void TestBody() override {}

    bool Menus();
    bool HostMenus();
    bool ClientMenus();
    // Puts the top page's focus on the button whose text is the id (or,
    // for a label, starts with the id's text) and presses Return; false
    // when the page has no such button.
    bool Activate(std::uint32_t textId, bool prefix = false);
    // Steps until the lobby asks for the match.
    bool UntilMatchStarts();
    // Steps, paced, until done; false when the patience ran out first.
    bool StepUntil(const std::function<bool()>& done);
    void NoteWhereStuck();
    bool ChoosePerk(std::uint32_t labelPrefix, const char* dropdown, std::uint32_t option);
    void Play();
    // One frame of the match, with the test's hands on the controls.
    void PlayFrame();
    struct Aim {
        glm::vec3 direction{0.0f};
        std::string flight;
    };
    Aim ShootAtPeer(Player_LogicComp& mine, const Player_LogicComp& theirs);
    bool CallBallBack(const Player_LogicComp& mine);
    void Note(const std::string& key, const std::string& value) { mDump[key] = value; }
    // Keeps the longest frame so far, and where it was, in the dump: a link
    // that fell silent names the side that stalled.
    void TimeFrame(std::chrono::steady_clock::time_point began, const char* part, bool withPhase = false);
    void NoteArena();
    void NoteScores();
    void TakeShot();
    void WriteDump() const;

    bool Client() const { return mSettings.role == Role::Client; }

    // A pending mode change made: the old mode's Shutdown, the new one's
    // Init; false when the new mode asked for another change at once.
    bool TurnModes();
    // In a match the mouse rests mid-window and its buttons are the test's.
    static void MouseForMatch();

    // The soak: random hands until the time is up, then still until both
    // sides have written down what they see.
    using SoakClock = std::chrono::steady_clock;
    void Soak();
    // Back at the title: the next match through the menus; false when the
    // link was lost or the menus did not lead to a match.
    bool NextMatch();
    void SoakHands(bool live);
    // The scores of the running match; closing it writes them down.
    void KeepOrCloseMatch(bool live);
    void KeepScores();
    void CloseMatch();
    // After the time is up: true once both sides are still and have
    // written down what they see.
    bool SettledWithPeer();
    void NoteFinal();
    void SampleMemory(bool last);
    void Mark(const char* what) const;
    bool PeerMarked(const char* what) const;

    Settings mSettings;
    LinkOnRealTime mLinkClock{clock};
    std::map<std::string, std::string> mDump;
    int mFrame = 0;
    int mPhaseStart = 0;
    int mShotAt = -100;
    int mShots = 0;
    int mPressedAt = -1;
    int mPeerStill = 0;
    glm::vec3 mPeerWas{0.0f};
    enum class Phase { Settle, Bend, Event, Duel, End } mPhase = Phase::Settle;
    Phase mNotedPhase = Phase::End;
    float mFastestPeerBall = 0.0f;
    bool mSawEndOfPlay = false;
    double mLongestFrame = 0.0;

    std::uint16_t mHostPort = 0;
    struct SoakState {
        SoakClock::time_point start;
        SoakClock::time_point end;
        SoakClock::time_point calmSince;
        SoakClock::duration inMenus{};
        long frames = 0;
        long liveFrames = 0;
        int matches = 0;
        bool inMatch = false;
        int localScore = 0;
        int peerScore = 0;
        bool still = false;
        bool ballHome = false;
        bool noted = false;
        double nextSample = 0.0;
        std::string minutes;
    } mSoak;
};
