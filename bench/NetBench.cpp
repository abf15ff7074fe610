// The link over loopback: the round trip of one reliable record (DATA out,
// ACK back) beside a bare UDP echo of a datagram of the same size, and the
// bytes a side sends per second at 144 frames per second.
#include "engine/core/EntityHandle.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/TransformCompManager.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/Clock.h"
#include "engine/platform/PosixUdpSocket.h"
#include "tests/engine/net/NetTestSupport.h"
#include "CountingSocket.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;

std::unique_ptr<Engine::Platform::IUdpSocket> OpenLoopback()
{
    int error = 0;
    auto socket = Engine::Platform::PosixUdpSocket::Open(error);
    if (socket) {
        socket->Bind({kLoopback, 0});
        socket->MakeNonBlocking();
    }
    return socket;
}

// A server and a client joined over 127.0.0.1 on a port the system picks.
struct LoopbackLink {
    LoopbackLink()
    {
        server.bind_address = "127.0.0.1";
        server.port = 0;
        server.server_init();
        client.port = server.local_port();
        client.client_init("127.0.0.1");
        for (int poll = 0; poll < 1000 && !(client.connected && server.connected); ++poll) {
            if (!client.connected)
                client.connect();
            if (!server.connected)
                server.listen();
        }
    }
    bool Up() const { return client.connected && server.connected; }

    NetworkMgr server;
    NetworkMgr client;
};

void BM_ReliableRecordRoundTrip(benchmark::State& state)
{
    LoopbackLink link;
    if (!link.Up()) {
        state.SkipWithError("no loopback link");
        return;
    }
    const Net::TileBend record{1, 2, {1, 2, 3}, 1};
    for (auto _ : state) {
        link.client.send_type_2(record);
        while (!link.client.channel(2).pending.empty()) {
            link.server.recv_everything();
            link.client.recv_everything();
        }
        // What the receiver queued is not part of the trip.
        state.PauseTiming();
        link.server.clear_queues();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReliableRecordRoundTrip);

void BM_BareUdpEcho(benchmark::State& state)
{
    auto a = OpenLoopback();
    auto b = OpenLoopback();
    if (!a || !b) {
        state.SkipWithError("no loopback sockets");
        return;
    }
    const Engine::Platform::Ipv4Endpoint toA{kLoopback, a->LocalPort()};
    const Engine::Platform::Ipv4Endpoint toB{kLoopback, b->LocalPort()};
    std::vector<std::uint8_t> out(Net::kPacketSize, 0x5A);
    std::vector<std::uint8_t> in(Net::kPacketSize);
    using Status = Engine::Platform::ReceiveResult::Status;
    for (auto _ : state) {
        a->SendTo(out, toB);
        while (b->ReceiveFrom(in).status != Status::Datagram) {
        }
        b->SendTo(in, toA);
        while (a->ReceiveFrom(in).status != Status::Datagram) {
        }
    }
}
BENCHMARK(BM_BareUdpEcho);

Engine::EntityHandle Named(const char* name)
{
    const auto found = Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(name);
    if (!found.empty())
        return found.front();
    Engine::EntityHandle entity;
    entity.Create();
    Engine::SetEntityName(entity, name);
    Engine::TransformCompManager::GetInstance().AddComponent(entity);
    return entity;
}

// Bytes each side sends per second of play at 144 frames per second: the
// per-frame player state both ways, the server's goal-ball state, and (when
// the argument is 1) one reliable tile record a second each way with its
// acknowledgement. In the menus (argument 2) only keep-alives and their
// acknowledgements flow.
void BM_BytesPerSecondAt144Fps(benchmark::State& state)
{
    // The link makes the server's socket first, then the client's.
    std::uint64_t sentBytes[2] = {0, 0};
    int socketsMade = 0;
    Engine::Platform::SetUdpSocketFactory([&](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
        auto inner = Engine::Platform::PosixUdpSocket::Open(error);
        if (!inner)
            return nullptr;
        return std::make_unique<CountingSocket>(std::move(inner), sentBytes[std::min(socketsMade++, 1)]);
    });
    NetTest::ManualClock clock;
    LoopbackLink link;
    NetworkMgr& server = link.server;
    NetworkMgr& client = link.client;
    const bool menus = state.range(0) == 2;
    const bool records = state.range(0) == 1;
    server.menu_mode = client.menu_mode = menus ? 1 : 0;
    Named("Player_Mouse");
    Named("ball");
    Named("GoalBall");
    Named("2 Player_Mouse");
    Named("2 ball");
    Named("Tile_1");

    constexpr int kFrames = 144 * 10;
    std::uint64_t& serverBytes = sentBytes[0];
    std::uint64_t& clientBytes = sentBytes[1];
    serverBytes = clientBytes = 0;
    std::int64_t frames = 0;
    for (auto _ : state) {
        for (int frame = 0; frame < kFrames; ++frame) {
            clock.nanoseconds += 1000000000ull / 144;
            if (records && frame % 144 == 0) {
                server.send_type_2(Net::TileBend{1, 0, {}, 1});
                client.send_type_2(Net::TileBend{1, 0, {}, 0});
            }
            client.update();
            server.update();
        }
        frames += kFrames;
    }
    const double seconds = static_cast<double>(frames) / 144.0;
    state.counters["server_bytes_per_s"] = static_cast<double>(serverBytes) / seconds;
    state.counters["client_bytes_per_s"] = static_cast<double>(clientBytes) / seconds;
    state.counters["linked"] = link.Up() ? 1 : 0;
    Engine::Platform::SetUdpSocketFactory({});
}
BENCHMARK(BM_BytesPerSecondAt144Fps)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
