// Bytes each way per second of a networked match at 144 frames per second:
// the host's real match (its scene built by the networked set-up, its
// engine frames with the network step, its game state and arena events)
// against a peer that runs only the link, over 127.0.0.1. Needs a display:
// run under xvfb-run -a -s "-screen 0 1280x720x24".
#include "BenchEngine.h"
#include "CountingSocket.h"

#include "engine/core/FrameRateController.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/PosixUdpSocket.h"
#include "engine/render/Renderer.h"
#include "game/match/GameScene.h"
#include "game/match/GameState.h"
#include "game/match/NetworkedScene.h"
#include "game/match/RegisterLogicTypes.h"
#include "game/modes/GameMode.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Every reading of the frame limiter's milliseconds leaps a paced frame, so
// the limiter never spins and the match's time runs at 144 frames a second
// whatever a frame costs; the link reads the same time.
struct FrameClock : Engine::Platform::IClock {
    FrameClock() { Engine::Platform::SetClock(this); }
    ~FrameClock() override { Engine::Platform::SetClock(nullptr); }
    std::uint64_t Counter() override { return milliseconds * 1000000ull; }
    std::uint64_t Frequency() override { return 1000000000ull; }
    std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(milliseconds += 7); }
    std::uint64_t milliseconds = 1000;
};

void BM_NetworkedMatchBytesPerSecond(benchmark::State& state)
{
    StartEngineOnce();
    // The host's socket is made first, the peer's second.
    std::uint64_t sent[2] = {0, 0};
    int made = 0;
    Engine::Platform::SetUdpSocketFactory([&](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
        auto inner = Engine::Platform::PosixUdpSocket::Open(error);
        if (!inner)
            return nullptr;
        return std::make_unique<CountingSocket>(std::move(inner), sent[std::min(made++, 1)]);
    });
    FrameClock clock;
    NetworkMgr& host = NetworkMgr::GetInstance();
    host.bind_address = "127.0.0.1";
    host.port = 0;
    host.server_init();
    NetworkMgr peer;
    peer.port = host.local_port();
    peer.client_init("127.0.0.1");
    for (int poll = 0; poll < 1000 && !(host.connected && peer.connected); ++poll) {
        if (!peer.connected)
            peer.connect();
        if (!host.connected)
            host.listen();
    }
    if (!host.connected || !peer.connected) {
        state.SkipWithError("no loopback link");
        Engine::Platform::SetUdpSocketFactory({});
        return;
    }
    GameScene::PlayerCount = 1;
    GameScene::BuildServerSide(GameState::GetInstance());
    GameState::Reset();
    // The peer plays its match: its per-frame state goes out too.
    peer.menu_mode = 0;
    Engine::Renderer::GetInstance().renderingEnabled = false;

    constexpr int kFrames = 144 * 10;
    sent[0] = sent[1] = 0;
    const std::uint64_t start = clock.Counter();
    for (auto _ : state) {
        for (int frame = 0; frame < kFrames; ++frame) {
            Engine::Core::GetInstance().Update();
            GameState::Update();
            peer.update();
        }
    }
    // What a frame sends, at the game's 144 frames a second (the limiter
    // may take more than one leap of the clock for a frame).
    const double frames = static_cast<double>(kFrames) * static_cast<double>(state.iterations());
    const double seconds = frames / 144.0;
    state.counters["clock_seconds"] = static_cast<double>(clock.Counter() - start) / 1e9;
    state.counters["host_to_client_bytes_per_s"] = static_cast<double>(sent[0]) / seconds;
    state.counters["client_to_host_bytes_per_s"] = static_cast<double>(sent[1]) / seconds;
    state.counters["linked"] = host.connected && peer.connected ? 1 : 0;
    host.Disconnect();
    peer.Disconnect();
    Engine::Renderer::GetInstance().renderingEnabled = true;
    Engine::Platform::SetUdpSocketFactory({});
}
BENCHMARK(BM_NetworkedMatchBytesPerSecond)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
