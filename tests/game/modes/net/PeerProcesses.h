#pragma once
#include "NetPeer.h"

#include "engine/net/LossyRelay.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Both sides of a networked match in processes of their own, started from
// the test, and what each wrote down read back.
namespace PeerProcesses {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using Dump = std::map<std::string, std::string>;

inline Dump ReadDump(const std::string& path)
{
    Dump dump;
    std::istringstream lines(ReadFileText(path));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            dump[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return dump;
}

inline glm::vec3 Vec(const std::string& text)
{
    glm::vec3 v(NAN);
    std::istringstream(text) >> v.x >> v.y >> v.z;
    return v;
}

inline NetPeer::Settings Side(NetPeer::Role role, const std::string& folder)
{
    NetPeer::Settings settings;
    settings.role = role;
    settings.hostPortPath = folder + "/host.port";
    settings.clientPortPath = folder + "/client.port";
    settings.dumpPath = folder + (role == NetPeer::Role::Host ? "/host.dump" : "/client.dump");
    settings.peerDumpPath = folder + (role == NetPeer::Role::Host ? "/client.dump" : "/host.dump");
    return settings;
}

// The port the host bound, once it has; 0 when it did not in time. (Under
// the sanitizers on a busy machine the game's start alone takes a minute.)
inline std::uint16_t HostPort(const std::string& folder)
{
    std::uint16_t port = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(180);
    while (!(std::ifstream(folder + "/host.port") >> port) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return port;
}

inline void TellClient(const std::string& folder, std::uint16_t port)
{
    const std::string path = folder + "/client.port";
    std::ofstream(path + ".new") << port << '\n';
    std::filesystem::rename(path + ".new", path);
}

// One side in a child process, its messages in a file of its own.
inline pid_t StartPeer(const NetPeer::Settings& settings, const std::string& log)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
    }
    // The process ends here: nothing of the test's own state is torn down.
    const int status = NetPeer(settings).Run();
    std::fflush(nullptr);
    _exit(status);
}

template <class Param>
class TwoPeers : public ::testing::TestWithParam<Param> {
protected:
    void TearDown() override
    {
        for (pid_t pid : {host, client}) {
            if (pid > 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
        // SOLVANE_KEEP_NET_LOGS keeps both sides' messages for a look.
        if (std::getenv("SOLVANE_KEEP_NET_LOGS")) {
            std::cout << "messages kept in " << folder << "\n";
            return;
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Waits for both sides, pumping the relay meanwhile; false when either
    // outlived the patience (it is then killed by TearDown).
    bool WaitForBoth(Clock::duration patience, NetTest::LossyRelay* relay)
    {
        const auto until = Clock::now() + patience;
        while (Clock::now() < until && (host > 0 || client > 0)) {
            for (auto* each : {&host, &client}) {
                int status = 0;
                if (*each > 0 && waitpid(*each, &status, WNOHANG) == *each) {
                    (each == &host ? hostStatus : clientStatus) = status;
                    *each = -1;
                }
            }
            if (relay)
                relay->Pump();
            std::this_thread::sleep_for(relay ? 200us : 20ms);
        }
        return host <= 0 && client <= 0;
    }

    // Both sides in their processes; the port the host bound, 0 when it
    // did not bind in time.
    std::uint16_t StartBoth(const NetPeer::Settings& hostSide, const NetPeer::Settings& clientSide)
    {
        host = StartPeer(hostSide, folder + "/host.log");
        client = StartPeer(clientSide, folder + "/client.log");
        return host > 0 && client > 0 ? HostPort(folder) : 0;
    }

    std::string Log(const std::string& name) const
    {
        const std::string text = ReadFileText(folder + "/" + name + ".log");
        return text.size() > 6000 ? text.substr(text.size() - 6000) : text;
    }

    std::string folder = MakeTempFolder("solvane-net");
    pid_t host = -1;
    pid_t client = -1;
    int hostStatus = -1;
    int clientStatus = -1;
};

} // namespace PeerProcesses
