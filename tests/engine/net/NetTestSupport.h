#pragma once
#include "engine/core/EntityManager.h"
#include "engine/core/EntityNameCompManager.h"
#include "engine/core/TransformCompManager.h"
#include "engine/logic/EventDispatcher.h"
#include "engine/logic/NetworkingEvent.h"
#include "engine/net/NetworkMgr.h"
#include "engine/platform/Clock.h"

#include <cerrno>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace NetTest {

using Engine::Platform::Ipv4Endpoint;
using Engine::Platform::ReceiveResult;

// A clock that moves only when told; installed while it lives.
struct ManualClock : Engine::Platform::IClock {
    ManualClock() { Engine::Platform::SetClock(this); }
    ~ManualClock() override { Engine::Platform::SetClock(nullptr); }
    std::uint64_t Counter() override { return nanoseconds; }
    std::uint64_t Frequency() override { return 1000000000ull; }
    std::uint32_t Milliseconds() override { return static_cast<std::uint32_t>(nanoseconds / 1000000ull); }
    void Advance(double seconds) { nanoseconds += static_cast<std::uint64_t>(seconds * 1e9); }
    double Seconds() const { return static_cast<double>(nanoseconds) / 1e9; }
    std::uint64_t nanoseconds = 1000000000ull;
};

// What the fake sockets were given and will hand out.
struct FakeWire {
    struct Datagram {
        std::vector<std::uint8_t> bytes;
        Ipv4Endpoint endpoint;
    };
    std::deque<Datagram> inbox;
    std::vector<Datagram> sent;
    Ipv4Endpoint bound;
    int openSockets = 0;
    int sendError = 0;
    bool failReceive = false;
};

class FakeSocket final : public Engine::Platform::IUdpSocket {
public:
    explicit FakeSocket(FakeWire& wire) : mWire(wire) { ++mWire.openSockets; }
    ~FakeSocket() override { --mWire.openSockets; }
    bool Bind(const Ipv4Endpoint& local) override { return (mWire.bound = local), true; }
    bool MakeNonBlocking() override { return true; }
    bool SendTo(std::span<const std::uint8_t> datagram, const Ipv4Endpoint& to) override
    {
        if (mWire.sendError)
            return false;
        mWire.sent.push_back({{datagram.begin(), datagram.end()}, to});
        return true;
    }
    ReceiveResult ReceiveFrom(std::span<std::uint8_t> buffer) override
    {
        ReceiveResult result;
        if (mWire.failReceive)
            return {ReceiveResult::Status::Failed, 0, {}, ECONNRESET};
        if (mWire.inbox.empty())
            return result;
        const FakeWire::Datagram next = std::move(mWire.inbox.front());
        mWire.inbox.pop_front();
        std::copy_n(next.bytes.begin(), std::min(next.bytes.size(), buffer.size()), buffer.begin());
        return {ReceiveResult::Status::Datagram, next.bytes.size(), next.endpoint, 0};
    }
    std::uint16_t LocalPort() const override { return mWire.bound.port; }
    int LastError() const override { return mWire.sendError; }

private:
    FakeWire& mWire;
};

inline Net::Packet MakePacket(std::uint32_t flags, std::int32_t type, std::uint32_t seq, std::uint32_t ack = 0,
    std::uint8_t needsAck = 0, std::span<const std::uint8_t> payload = {})
{
    Net::Packet packet(Net::PacketHeader{flags, type, seq, ack, needsAck});
    packet.SetPayload(payload);
    return packet;
}

// One event as a listener heard it.
struct Heard {
    Engine::EntityHandle entity;
    std::uint32_t code = 0;
    std::vector<std::uint8_t> payload;
};

inline std::vector<Heard>& Journal()
{
    static std::vector<Heard> journal;
    return journal;
}

class Listener : public Engine::LogicComp {
public:
    explicit Listener(Engine::EntityHandle entity)
    {
        owner = entity;
        Engine::Subscribe<Engine::NetworkingEvent, Listener>(this, &Listener::OnNetwork);
    }
    ~Listener() override { Engine::InstanceTypeEventDispatcher<Listener>::GetInstance().RemoveInstance(this); }
    void OnNetwork(Engine::NetworkingEvent* event)
    {
        const auto area = event->Payload();
        Journal().push_back({owner, event->code, {area.begin(), area.end()}});
    }
};

// A named entity with a transform that writes down what it hears; gone
// with the object.
struct Target {
    explicit Target(const std::string& name)
    {
        entity.Create();
        Engine::SetEntityName(entity, name.c_str());
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        listener = std::make_unique<Listener>(entity);
    }
    ~Target()
    {
        listener.reset();
        entity.Destroy();
        Engine::EntityMgr::GetInstance().Flush();
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    Engine::EntityHandle entity;
    std::unique_ptr<Listener> listener;
};

inline std::size_t CountHeard(Engine::EntityHandle entity, std::uint32_t code)
{
    std::size_t count = 0;
    for (const Heard& each : Journal())
        count += each.entity == entity && each.code == code;
    return count;
}

} // namespace NetTest
