#pragma once
#include "engine/platform/PosixUdpSocket.h"

#include <random>
#include <stdexcept>
#include <vector>

namespace NetTest {

// Sits between a client and a server on 127.0.0.1 and loses, duplicates and
// reorders what it forwards, by a seeded generator. The client sends to
// ClientPort(); the server takes the relay's other socket for its client.
// A client that comes back from a socket of its own (a new game joining)
// reaches the server from a new socket too, as it would without the relay:
// what the server still sends the old one goes nowhere.
class LossyRelay {
public:
    LossyRelay(std::uint16_t serverPort, double loss, std::uint32_t seed)
        : mServer{kLoopback, serverPort}, mLoss(loss), mRandom(seed), mClientSide(Open()), mServerSide(Open())
    {
    }

    std::uint16_t ClientPort() const { return mClientSide->LocalPort(); }

    // Forwards what waits on both sides. One datagram in ten goes twice, one
    // in five is held back one to four pumps, behind newer ones.
    void Pump()
    {
        std::vector<std::uint8_t> buffer(4096);
        for (auto got = mClientSide->ReceiveFrom(buffer); got.status == Status::Datagram;
             got = mClientSide->ReceiveFrom(buffer)) {
            if (mClientHeard && !(got.from == mClient))
                mServerSide = Open();
            mClient = got.from;
            mClientHeard = true;
            Route({buffer.begin(), buffer.begin() + got.size}, false);
        }
        for (auto got = mServerSide->ReceiveFrom(buffer); got.status == Status::Datagram;
             got = mServerSide->ReceiveFrom(buffer))
            Route({buffer.begin(), buffer.begin() + got.size}, true);
        std::vector<Held> still;
        for (Held& each : mHeld) {
            if (--each.pumpsLeft > 0)
                still.push_back(std::move(each));
            else
                Send(each.bytes, each.toClient);
        }
        mHeld = std::move(still);
    }

    bool blackhole = false;
    std::size_t lost = 0;

private:
    using Status = Engine::Platform::ReceiveResult::Status;
    static constexpr std::uint32_t kLoopback = 0x7F000001;
    struct Held {
        std::vector<std::uint8_t> bytes;
        bool toClient = false;
        int pumpsLeft = 0;
    };

    static std::unique_ptr<Engine::Platform::IUdpSocket> Open()
    {
        int error = 0;
        auto socket = Engine::Platform::PosixUdpSocket::Open(error);
        if (!socket || !socket->Bind({kLoopback, 0}) || !socket->MakeNonBlocking())
            throw std::runtime_error("relay socket");
        return socket;
    }

    bool Chance(double odds) { return std::uniform_real_distribution<double>(0.0, 1.0)(mRandom) < odds; }

    void Route(const std::vector<std::uint8_t>& bytes, bool toClient)
    {
        if (blackhole || Chance(mLoss)) {
            ++lost;
            return;
        }
        for (int copies = Chance(0.1) ? 2 : 1; copies > 0; --copies) {
            if (Chance(0.2))
                mHeld.push_back({bytes, toClient, std::uniform_int_distribution<int>(1, 4)(mRandom)});
            else
                Send(bytes, toClient);
        }
    }

    void Send(const std::vector<std::uint8_t>& bytes, bool toClient)
    {
        if (toClient)
            mClientSide->SendTo(bytes, mClient);
        else
            mServerSide->SendTo(bytes, mServer);
    }

    Engine::Platform::Ipv4Endpoint mServer;
    Engine::Platform::Ipv4Endpoint mClient;
    bool mClientHeard = false;
    double mLoss;
    std::mt19937 mRandom;
    std::unique_ptr<Engine::Platform::IUdpSocket> mClientSide;
    std::unique_ptr<Engine::Platform::IUdpSocket> mServerSide;
    std::vector<Held> mHeld;
};

} // namespace NetTest
