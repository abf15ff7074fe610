// Two processes of the game on 127.0.0.1, each on an X server of its own:
// one hosts from the play menu, the other joins by typing the address; both
// pick perks in the lobby and play a match to its end, which the client's
// player wins by shooting the host's. What each side saw is compared here.
#include "PeerProcesses.h"

#include <gtest/gtest.h>

namespace {

using namespace PeerProcesses;

class NetworkedMatch : public TwoPeers<double> {};

TEST_P(NetworkedMatch, BothSidesPlayTheSameArenaToTheSameScoreAndGoBackToTheTitle)
{
    ASSERT_FALSE(folder.empty());
    const bool lossy = GetParam() > 0.0;
    NetPeer::Settings hostSide = Side(NetPeer::Role::Host, folder);
    NetPeer::Settings clientSide = Side(NetPeer::Role::Client, folder);
    if (!lossy) {
        hostSide.screenshot = "net-match-host";
        clientSide.screenshot = "net-match-client";
    }
    const std::uint16_t port = StartBoth(hostSide, clientSide);
    ASSERT_NE(port, 0) << Log("host");
    std::unique_ptr<NetTest::LossyRelay> relay;
    if (lossy)
        relay = std::make_unique<NetTest::LossyRelay>(port, GetParam(), 2026u);
    TellClient(folder, relay ? relay->ClientPort() : port);
    ASSERT_TRUE(WaitForBoth(480s, relay.get())) << "a side hangs\nhost:\n" << Log("host") << "\nclient:\n" << Log("client");
    EXPECT_TRUE(WIFEXITED(hostStatus) && WEXITSTATUS(hostStatus) == 0) << Log("host");
    EXPECT_TRUE(WIFEXITED(clientStatus) && WEXITSTATUS(clientStatus) == 0) << Log("client");

    Dump h = ReadDump(hostSide.dumpPath);
    Dump c = ReadDump(clientSide.dumpPath);
    // Either side stuck in the menus may be the other's doing: both logs.
    ASSERT_TRUE(h["menus"] == "1" && c["menus"] == "1")
        << "host menus " << h["menus"] << ", client menus " << c["menus"] << "\nhost:\n"
        << Log("host") << "\nclient:\n" << Log("client");
    // The lobby: the host turned perks on for both; each chose its own.
    EXPECT_EQ(h["perks"], "1");
    EXPECT_EQ(c["perks"], "1");
    EXPECT_EQ(h["chose.passive"], "2");
    EXPECT_EQ(c["chose.active"], "1");
    // Selection 2 is the run-cost perk, kind 0 on the player.
    EXPECT_EQ(h["local.passive"], "0") << "the host's player carries its perk";

    // The same arena on both.
    EXPECT_EQ(h["arena.palette"], c["arena.palette"]);
    EXPECT_EQ(h["arena.tiles"], "1370");
    EXPECT_EQ(h["arena.tiles"], c["arena.tiles"]);
    EXPECT_FALSE(h["arena.immovable"].empty());
    EXPECT_EQ(h["arena.immovable"], c["arena.immovable"]);
    // Each player where the other side puts it at the start: the host's
    // where it stands, the client's copy on the host at its fixed place.
    EXPECT_EQ(Vec(h["start.local"]), Vec(c["start.peer"]));
    EXPECT_EQ(Vec(h["start.peer"]), glm::vec3(3.0f, 0.0f, 50.0f));
    EXPECT_EQ(h["peer.remote"], "1");
    if (!relay) {
        EXPECT_EQ(h["screenshot"], "1");
        EXPECT_EQ(c["screenshot"], "1");
    }
    EXPECT_EQ(c["peer.remote"], "1");
    // Standing still on the floor, each side sees the other where it is
    // on the floor. (Height is not compared: between two of the peer's
    // states a copy falls under its own weight, and rests on the tiles a
    // little higher than a player hovers.)
    const auto across = [](glm::vec3 a, glm::vec3 b) { return glm::distance(glm::vec2(a.x, a.z), glm::vec2(b.x, b.z)); };
    EXPECT_LT(across(Vec(h["settled.local"]), Vec(c["bend.peer"])), 0.5f) << h["settled.local"] << " / " << c["bend.peer"];
    EXPECT_LT(across(Vec(c["bend.local"]), Vec(h["bend.peer"])), 0.5f) << c["bend.local"] << " / " << h["bend.peer"];
    // From the start each side has the other in view: less than 42.5
    // degrees off its middle, half the 85-degree height of the view.
    for (Dump* side : {&h, &c}) {
        const std::string& degrees = (*side)["bend.peer.degrees"];
        EXPECT_LT(degrees.empty() ? 180.0f : std::stof(degrees), 42.5f) << (side == &h ? "host" : "client");
    }

    // The client's raised tile rose on the host too.
    EXPECT_FALSE(c["bent.tile"].empty()) << "aimed " << c["bent.aimed"];
    EXPECT_EQ(c["bent.tile"], h["risen.tile"]);
    // The host's arena flip played on the client.
    EXPECT_EQ(h["event.fired"], "1");
    EXPECT_EQ(c["event.announced"], "1");
    EXPECT_EQ(c["event.played"], "1");
    EXPECT_EQ(h["event.played"], "1");
    // The client's shots flew on the host's screen.
    EXPECT_GT(std::stof(h["peerball.fastest"].empty() ? "0" : h["peerball.fastest"]), 20.0f);

    // The client won; both agree on the score, replayed and went back.
    EXPECT_EQ(c["final.local"], "5");
    EXPECT_EQ(c["final.local"], h["final.peer"]);
    EXPECT_EQ(c["final.peer"], h["final.local"]);
    EXPECT_EQ(h["replayed"], "1");
    EXPECT_EQ(c["replayed"], "1");
    EXPECT_EQ(h["returned"], "1") << h["stuck.phase"];
    EXPECT_EQ(c["returned"], "1") << c["stuck.phase"];
    EXPECT_EQ(h["title.connectionlost"], "0");
    EXPECT_EQ(c["title.connectionlost"], "0");
    if (HasFailure() || std::getenv("SOLVANE_KEEP_NET_LOGS")) {
        std::cout << "host:\n" << Log("host") << "\nclient:\n" << Log("client");
        for (const auto& [side, dump] : {std::pair{"host", &h}, std::pair{"client", &c}})
            for (const auto& [key, value] : *dump)
                std::cout << side << " " << key << " = " << value.substr(0, 200) << "\n";
    }
}

// A side whose peer vanishes mid-match (killed, no word sent) notices the
// silence after the time-out it was given, shows the connection lost and is
// back at the title; neither hangs nor fails.
class LostPeer : public TwoPeers<NetPeer::Role> {};

TEST_P(LostPeer, TheOtherSideReturnsToTheTitleWithTheConnectionLost)
{
    ASSERT_FALSE(folder.empty());
    const bool hostDies = GetParam() == NetPeer::Role::Host;
    NetPeer::Settings hostSide = Side(NetPeer::Role::Host, folder);
    NetPeer::Settings clientSide = Side(NetPeer::Role::Client, folder);
    (hostDies ? hostSide : clientSide).playingPath = folder + "/playing";
    // Neither side draws here, so no stall comes near this; the minute a
    // drawing side is given would only make the survivor wait.
    hostSide.silenceLimit = clientSide.silenceLimit = 20.0;
    const std::uint16_t port = StartBoth(hostSide, clientSide);
    ASSERT_NE(port, 0) << Log("host");
    TellClient(folder, port);
    pid_t& victim = hostDies ? host : client;
    const auto until = Clock::now() + 240s;
    while (!std::filesystem::exists(folder + "/playing") && Clock::now() < until)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(std::filesystem::exists(folder + "/playing")) << Log("host") << Log("client");
    kill(victim, SIGKILL);
    waitpid(victim, nullptr, 0);
    victim = -1;

    const double limit = hostSide.silenceLimit;
    ASSERT_TRUE(WaitForBoth(std::chrono::seconds(static_cast<int>(limit)) + 120s, nullptr))
        << "the other side hangs\n" << Log(hostDies ? "client" : "host");
    const int status = hostDies ? clientStatus : hostStatus;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Log(hostDies ? "client" : "host");
    Dump survivor = ReadDump(hostDies ? clientSide.dumpPath : hostSide.dumpPath);
    EXPECT_EQ(survivor["returned"], "1") << survivor["stuck.phase"];
    EXPECT_EQ(survivor["title.connectionlost"], "1");
    // The silence this side was given, seen in a frame that passes it (a
    // frame here takes a few milliseconds, seconds on a busy machine).
    ASSERT_FALSE(survivor["lost.after"].empty());
    EXPECT_GE(std::stod(survivor["lost.after"]), limit);
    EXPECT_LE(std::stod(survivor["lost.after"]), limit + 10.0) << survivor["frame.longest"];
}

INSTANTIATE_TEST_SUITE_P(HostOrClient, LostPeer, ::testing::Values(NetPeer::Role::Host, NetPeer::Role::Client),
                         [](const auto& info) { return info.param == NetPeer::Role::Host ? std::string("HostDies") : std::string("ClientDies"); });

INSTANTIATE_TEST_SUITE_P(DirectAndLossy, NetworkedMatch, ::testing::Values(0.0, 0.1),
                         [](const auto& info) { return info.param > 0.0 ? std::string("Lossy") : std::string("Direct"); });

} // namespace
