// Feeds arbitrary datagrams to the link's receive path and every channel
// decoder, on a fake socket and a manual clock, with the named entities the
// channels address present so that records travel all the way to events.
//
// Input layout, read from the front; a read past the end gives zeros:
//   u8 mode: bit 0 server (else client), bit 1 stay in the menus
//   then operations until the input ends, each an opcode byte (mod 6):
//     0 raw datagram:   u8 sender (0 the peer, else a stranger), u16 length
//                       (at most 4096), that many bytes
//     1 packet:         u8 sender, u32 flags, i8 type, u32 seq, u32 ack,
//                       u8 needs_ack, u16 payload length (at most 2503), bytes;
//                       padded to the full 2520 bytes
//     2 frame:          u16 milliseconds to advance, then update()
//     3 receivers:      every recv_type_N once, then the entity phase
//     4 local send:     u8 channel (mod 11), then the record's bytes
//     5 link reset:     Disconnect, then the handshake again
// Before the operations the whole input also goes through every decoder.
#include "engine/net/BodyVelocity.h"
#include "engine/net/PrematchHandlerList.h"
#include "tests/engine/net/NetTestSupport.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Engine::Platform::Ipv4Endpoint;

constexpr Ipv4Endpoint kServer{0x7F000001, 8008};
constexpr Ipv4Endpoint kClient{0x7F000002, 40000};
constexpr Ipv4Endpoint kStranger{0x7F000003, 40001};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
    bool Done() const { return mAt >= mSize; }
    std::uint8_t U8() { return mAt < mSize ? mData[mAt++] : 0; }
    std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | (U8() << 8)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(U16() | (static_cast<std::uint32_t>(U16()) << 16)); }
    std::vector<std::uint8_t> Bytes(std::size_t count)
    {
        std::vector<std::uint8_t> bytes(count, 0);
        for (std::size_t i = 0; i < count && mAt < mSize; ++i)
            bytes[i] = mData[mAt++];
        return bytes;
    }

private:
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mAt = 0;
};

void DecodeEverything(Net::Span bytes)
{
    Net::DecodePlayerState(bytes);
    Net::DecodeTileBend(bytes);
    Net::DecodeScore(bytes);
    Net::DecodeGoalBallState(bytes);
    Net::DecodePerkEffect(bytes);
    Net::DecodeArenaEvent(bytes, 10);
    Net::DecodePerkObject(bytes, 10);
    Net::DecodeFlow(bytes);
    Net::DecodeBallEffect(bytes);
    Net::DecodePrematch(bytes);
}

// Decodes whatever reaches it, as the gameplay handlers will; the channels
// raise event codes 0 to 6 only.
class Sink : public Engine::LogicComp {
public:
    explicit Sink(Engine::EntityHandle entity)
    {
        owner = entity;
        Engine::Subscribe<Engine::NetworkingEvent, Sink>(this, &Sink::OnNetwork);
    }
    void OnNetwork(Engine::NetworkingEvent* event)
    {
        if (event->code > 6)
            __builtin_trap();
        DecodeEverything(event->Payload());
    }
};

glm::vec3 gVelocity{0.0f};
glm::vec3* AnyVelocity(Engine::EntityHandle)
{
    return &gVelocity;
}

void OnPrematch(PrematchMessage* message)
{
    message->handled = (message->value & 1) != 0;
}

NetTest::FakeWire& TheWire()
{
    static NetTest::FakeWire wire;
    return wire;
}

// Installs itself as the engine's clock on first use.
NetTest::ManualClock& TheClock()
{
    static NetTest::ManualClock clock;
    return clock;
}

void SetUpOnce()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // The link reports every refusal; thousands a second would only slow us.
    std::freopen("/dev/null", "w", stdout);
    TheClock();
    Engine::Platform::SetUdpSocketFactory([](int& error) -> std::unique_ptr<Engine::Platform::IUdpSocket> {
        error = 0;
        return std::make_unique<NetTest::FakeSocket>(TheWire());
    });
    Net::SetVelocityLookup(&AnyVelocity);
    PrematchHandlerList::AddOnce(&OnPrematch);
}

// The entities the channels address; a goal message may have destroyed one.
void MakeTargets()
{
    static std::vector<std::unique_ptr<Sink>> sinks;
    std::vector<std::string> names{"Player_Mouse", "2 Player_Mouse", "ball", "2 ball", "GoalBall"};
    for (int tile = 0; tile < 8; ++tile)
        names.push_back("Tile_" + std::to_string(tile));
    auto& nameManager = Engine::EntityNameCompManager::GetInstance();
    for (const std::string& name : names) {
        if (!nameManager.FindEntitiesByName(name.c_str()).empty())
            continue;
        Engine::EntityHandle entity;
        entity.Create();
        Engine::SetEntityName(entity, name.c_str());
        Engine::TransformCompManager::GetInstance().AddComponent(entity);
        sinks.push_back(std::make_unique<Sink>(entity));
    }
}

void Arrive(const Net::Packet& packet, const Ipv4Endpoint& from)
{
    TheWire().inbox.push_back({{packet.Raw().begin(), packet.Raw().end()}, from});
}

void Handshake(NetworkMgr& net, bool server)
{
    TheWire().inbox.clear();
    if (server) {
        net.server_init();
        Arrive(Net::Packet({Net::kSyn, Net::kHandshakeType, 100, 0, 0}), kClient);
        net.listen();
        Arrive(Net::Packet({Net::kAck, Net::kHandshakeType, 100, 1000, 0}), kClient);
        net.listen();
    } else {
        net.client_init("127.0.0.1");
        net.connect();
        Arrive(Net::Packet({Net::kSyn | Net::kAck, Net::kHandshakeType, 1000, 100, 0}), kServer);
        net.connect();
    }
}

void LocalSend(NetworkMgr& net, Reader& in)
{
    const int channel = in.U8() % Net::kChannelCount;
    switch (channel) {
    case 0: {
        Net::LevelRecord level{};
        const auto bytes = in.Bytes(16);
        std::copy(bytes.begin(), bytes.end(), level.begin());
        net.send_type_0(level);
        break;
    }
    case 1: net.send_type_1(); break;
    case 2: net.send_type_2(Net::DecodeTileBend(in.Bytes(Net::TileBend::kSize)).record); break;
    case 3: net.send_type_3(Net::DecodeScore(in.Bytes(Net::Score::kSize)).record); break;
    case 4: net.send_type_4(Net::DecodeGoalBallState(in.Bytes(Net::GoalBallState::kSize)).record); break;
    case 5: net.send_type_5(Net::DecodePerkEffect(in.Bytes(Net::PerkEffect::kSize)).record); break;
    case 6: net.send_type_6(Net::DecodeArenaEvent(in.Bytes(Net::ArenaEvent::kSize)).record); break;
    case 7: net.send_type_7(Net::DecodePerkObject(in.Bytes(Net::PerkObject::kSize)).record); break;
    case 8: net.send_type_8(Net::DecodeFlow(in.Bytes(Net::Flow::kSize)).record); break;
    case 9: net.send_type_9(Net::DecodeBallEffect(in.Bytes(Net::BallEffect::kSize)).record); break;
    default: net.send_type_10(Net::DecodePrematch(in.Bytes(Net::Prematch::kSize)).record); break;
    }
}

void RunReceivers(NetworkMgr& net)
{
    Net::LevelRecord level{};
    net.recv_type_0(level);
    for (auto receive : {&NetworkMgr::recv_type_1, &NetworkMgr::recv_type_2, &NetworkMgr::recv_type_3,
             &NetworkMgr::recv_type_4, &NetworkMgr::recv_type_5, &NetworkMgr::recv_type_6, &NetworkMgr::recv_type_7,
             &NetworkMgr::recv_type_9})
        (net.*receive)();
    Engine::EntityMgr::GetInstance().Flush();
    MakeTargets();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SetUpOnce();
    MakeTargets();
    DecodeEverything({data, size});

    Reader in(data, size);
    const std::uint8_t mode = in.U8();
    const bool server = mode & 1;
    NetworkMgr net;
    net.tile_count = 8;
    Handshake(net, server);
    net.menu_mode = (mode & 2) ? 1 : 0;
    const Ipv4Endpoint peer = server ? kClient : kServer;
    auto& inbox = TheWire().inbox;

    for (int steps = 0; !in.Done() && steps < 256; ++steps) {
        switch (in.U8() % 6) {
        case 0: {
            const Ipv4Endpoint from = in.U8() ? kStranger : peer;
            inbox.push_back({in.Bytes(in.U16() % 4097), from});
            net.recv_everything();
            break;
        }
        case 1: {
            const Ipv4Endpoint from = in.U8() ? kStranger : peer;
            Net::PacketHeader header;
            header.flags = in.U32();
            header.type = static_cast<std::int8_t>(in.U8());
            header.seq = in.U32();
            header.ack = in.U32();
            header.needsAck = in.U8();
            Net::Packet packet(header);
            packet.SetPayload(in.Bytes(in.U16() % (Net::kPayloadSize + 1)));
            Arrive(packet, from);
            net.recv_everything();
            break;
        }
        case 2:
            TheClock().nanoseconds += static_cast<std::uint64_t>(in.U16()) * 1000000ull;
            net.update();
            break;
        case 3:
            RunReceivers(net);
            break;
        case 4:
            LocalSend(net, in);
            break;
        default:
            net.Disconnect();
            Handshake(net, server);
            break;
        }
    }
    net.update();
    inbox.clear();
    TheWire().sent.clear();
    Engine::EntityMgr::GetInstance().Flush();
    return 0;
}
