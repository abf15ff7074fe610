#pragma once
#include "NetTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace Net {
inline bool operator==(const PacketHeader& a, const PacketHeader& b)
{
    return std::tie(a.flags, a.type, a.seq, a.ack, a.needsAck) == std::tie(b.flags, b.type, b.seq, b.ack, b.needsAck);
}
} // namespace Net

// One manager on a fake socket and a manual clock; the test plays the peer.
class LinkFixture : public ::testing::Test {
protected:
    using Header = Net::PacketHeader;

    LinkFixture()
    {
        Engine::Platform::SetUdpSocketFactory([this](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
            error = 0;
            return std::make_unique<NetTest::FakeSocket>(wire);
        });
        NetTest::Journal().clear();
    }
    ~LinkFixture() override { Engine::Platform::SetUdpSocketFactory({}); }

    NetTest::ManualClock clock;
    NetTest::FakeWire wire;
    NetworkMgr net;
    const NetTest::Ipv4Endpoint clientEnd{0x7F000002, 40000};
    const NetTest::Ipv4Endpoint serverEnd{0x7F000001, NetworkMgr::kDefaultPort};
    const NetTest::Ipv4Endpoint stranger{0x7F000003, 40001};
    // The peer's own counter, for what it sends.
    std::uint32_t peerSeq = 5000;

    void Deliver(const Net::Packet& packet, NetTest::Ipv4Endpoint from)
    {
        wire.inbox.push_back({{packet.Raw().begin(), packet.Raw().end()}, from});
    }
    void FromPeer(const Net::Packet& packet) { Deliver(packet, net.server ? clientEnd : serverEnd); }
    // The packet arrives and the manager takes in what waits.
    void Hear(const Net::Packet& packet, NetTest::Ipv4Endpoint from)
    {
        Deliver(packet, from);
        net.recv_everything();
    }
    void Hear(const Net::Packet& packet) { Hear(packet, net.server ? clientEnd : serverEnd); }

    std::vector<Header> TakeSent(std::int32_t onlyType = -99)
    {
        std::vector<Header> headers;
        for (const auto& each : wire.sent) {
            Net::Packet packet;
            std::copy(each.bytes.begin(), each.bytes.end(), packet.Raw().begin());
            if (onlyType == -99 || packet.Header().type == onlyType)
                headers.push_back(packet.Header());
        }
        wire.sent.clear();
        return headers;
    }

    // The peer acknowledges the reliable packets given, of one channel or all.
    void PeerAcks(const std::vector<Header>& sent, std::int32_t onlyType = -99)
    {
        for (const auto& each : sent) {
            if (each.needsAck && (onlyType == -99 || each.type == onlyType))
                FromPeer(NetTest::MakePacket(Net::kAck, each.type, ++peerSeq, each.seq));
        }
    }

    // As at the end of a frame: nothing sent yet in the next one.
    void EndFrame()
    {
        wire.sent.clear();
        net.sent_this_frame = 0;
    }

    void ConnectAsServer()
    {
        ASSERT_TRUE(net.server_init());
        Deliver(NetTest::MakePacket(Net::kSyn, Net::kHandshakeType, 100), clientEnd);
        ASSERT_FALSE(net.listen());
        Deliver(NetTest::MakePacket(Net::kAck, Net::kHandshakeType, 100, 1000), clientEnd);
        ASSERT_TRUE(net.listen());
        EndFrame();
    }

    void ConnectAsClient()
    {
        ASSERT_TRUE(net.client_init("127.0.0.1"));
        Deliver(NetTest::MakePacket(Net::kSyn | Net::kAck, Net::kHandshakeType, 1000, 100), serverEnd);
        ASSERT_TRUE(net.connect());
        EndFrame();
    }

    template <class Record>
    static Net::Packet Data(std::int32_t channel, std::uint32_t seq, const Record& record, std::uint8_t needsAck = 1)
    {
        return NetTest::MakePacket(Net::kData, channel, seq, 0, needsAck, Net::Encode(record));
    }
};
