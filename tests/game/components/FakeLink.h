#pragma once
#include "engine/net/NetTestSupport.h"
#include "engine/net/NetworkMgr.h"
#include "engine/net/Packet.h"
#include "support/CapturedOutput.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

// The game's link opened as a client through the tests' fake socket: what
// gameplay sends lands on `wire`. Left closed, flags down, when it goes.
class FakeLink {
public:
    FakeLink()
    {
        Engine::Platform::SetUdpSocketFactory([this](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
            error = 0;
            return std::make_unique<NetTest::FakeSocket>(wire);
        });
        StdoutOf([] { EXPECT_TRUE(NetworkMgr::GetInstance().client_init("127.0.0.1")); });
    }
    ~FakeLink()
    {
        NetworkMgr& network = NetworkMgr::GetInstance();
        network.connected = 0;
        network.setup_exchanged = 0;
        StdoutOf([&] { network.Disconnect(); });
        Engine::Platform::SetUdpSocketFactory({});
    }
    FakeLink(const FakeLink&) = delete;
    FakeLink& operator=(const FakeLink&) = delete;

    // The payloads sent on a channel since the last call; the wire is
    // emptied.
    std::vector<std::vector<std::uint8_t>> TakeSent(std::int32_t channel)
    {
        std::vector<std::vector<std::uint8_t>> payloads;
        for (const auto& datagram : wire.sent) {
            Net::Packet packet;
            std::copy(datagram.bytes.begin(), datagram.bytes.end(), packet.Raw().begin());
            if (packet.Header().type == channel)
                payloads.emplace_back(packet.Payload().begin(), packet.Payload().end());
        }
        wire.sent.clear();
        return payloads;
    }

    NetTest::FakeWire wire;
};
