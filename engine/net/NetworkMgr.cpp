#include "engine/net/NetworkMgr.h"

#include "engine/platform/Clock.h"

#include <cerrno>

using Engine::Platform::Ipv4Endpoint;

namespace {

// A failure names its initialiser, so that the output says which side
// failed.
std::string InitialiserFailed(const char* step, bool server)
{
    return std::string(step) + (server ? " in server_init()" : " in client_init()") + " failed, more info:";
}

// Channel 1 has no block of its own; its acknowledgements are looked up in
// channel 2's list, and any other number lands there harmlessly too.
std::size_t BlockIndex(std::int32_t number)
{
    const bool own = number >= 0 && number < Net::kChannelCount && number != Net::PlayerState::kChannel;
    return static_cast<std::size_t>(own ? number : Net::TileBend::kChannel);
}

} // namespace

NetworkMgr& NetworkMgr::GetInstance()
{
    static NetworkMgr manager;
    return manager;
}

NetworkMgr::NetworkMgr()
{
    latest_state[Net::PlayerState::kDeliveredOffset] = 1;
}

// The socket closes with its object; no FIN at exit.
NetworkMgr::~NetworkMgr() = default;

void NetworkMgr::reset_link_state()
{
    // A socket still open from an earlier link would keep the port bound.
    socket.reset();
    connected = 0;
    initialised = 0;
    handshake_done = 0;
    setup_exchanged = 0;
    disconnecting = 0;
    timed_out = 0;
    link_error = 0;
    menu_mode = 1;
    resend_count = 0;
    flow_flags.fill(0);
    // Nothing to apply until the peer's first state arrives.
    latest_state.fill(0);
    latest_state[Net::PlayerState::kDeliveredOffset] = 1;
    peer_adopted = false;
    peer_address = Ipv4Endpoint{};
    newest_seqs.Clear();
    newest_spawn = {};
    waiting_teleport.reset();
    limiter.Reset();
    ++link_epoch;
    for (Net::ChannelBlock& each : channels) {
        each.received.clear();
        each.pending.clear();
        each.received_seqs.Reset(0);
        each.ack_numbers.Clear();
        each.base_seq = 0;
    }
}

bool NetworkMgr::make_non_blocking()
{
    if (socket && socket->MakeNonBlocking())
        return true;
    last_error = socket ? socket->LastError() : 0;
    Net::PrintMoreInfo("Could not make socket non-blocking - in make_non_blocking(), more info:", get_error_text());
    return false;
}

bool NetworkMgr::open_socket(const std::string& address, bool bind)
{
    std::uint32_t parsed = 0;
    if (!Engine::Platform::ParseIpv4(address.c_str(), parsed)) {
        last_error = EINVAL;
        Net::PrintMoreInfo(InitialiserFailed("inet_pton", server).c_str(), "not a dotted IPv4 address: " + address);
        return false;
    }
    own_address = Ipv4Endpoint{parsed, port};
    socket = Engine::Platform::OpenUdpSocket(last_error);
    if (!socket) {
        Net::PrintMoreInfo(InitialiserFailed("Opening the socket", server).c_str(), get_error_text());
        return false;
    }
    if (bind && !socket->Bind(own_address)) {
        last_error = socket->LastError();
        socket.reset();
        Net::PrintMoreInfo(InitialiserFailed("Binding the socket", server).c_str(), get_error_text());
        return false;
    }
    // A blocking socket would stall the frame loop on the first empty read.
    if (!make_non_blocking()) {
        socket.reset();
        return false;
    }
    return true;
}

bool NetworkMgr::server_init()
{
    reset_link_state();
    server = 1;
    if (!open_socket(bind_address, true)) {
        link_error = last_error;
        return false;
    }
    initialised = 1;
    return true;
}

bool NetworkMgr::client_init(const char* address)
{
    reset_link_state();
    server = 0;
    peer_text = address ? address : "";
    if (!open_socket(peer_text, false)) {
        link_error = last_error;
        return false;
    }
    peer_address = own_address;
    initialised = 1;
    return true;
}

bool NetworkMgr::connect()
{
    if (server) {
        Net::PrintMoreInfo("Server doesn't connect, only client does - in connect(), more info:", get_error_text());
        return false;
    }
    if (!initialised) {
        Net::PrintMoreInfo("Client has not been initialized properly - in connect(), more info:", get_error_text());
        return false;
    }
    if (!handshake_done) {
        Net::Packet syn(Net::PacketHeader{Net::kSyn, Net::kHandshakeType, kClientFirstSeq, 0, 0});
        if (send_packet(syn, false) < 1) {
            Net::PrintErrorCode("Error in connect() in send_anything(send_syn) -> error code: ", 0);
            return false;
        }
    }
    return take_handshake("Connected to server");
}

bool NetworkMgr::listen()
{
    if (!server) {
        Net::PrintMoreInfo("Client doesn't listen, only server does - in listen(), more info:", get_error_text());
        return false;
    }
    if (!initialised) {
        Net::PrintMoreInfo("Server has not been initialized properly - in listen(), more info:", get_error_text());
        return false;
    }
    return take_handshake("Client connected");
}

bool NetworkMgr::take_handshake(const char* linkedText)
{
    const int received = recv_everything();
    if (received < 1)
        Net::PrintErrorCode("Error in listen() in recv_everything() -> error code: ", received);
    if (!connected)
        return false;
    make_non_blocking();
    Net::PrintLine(linkedText);
    return true;
}

void NetworkMgr::Disconnect()
{
    disconnecting = 1;
    if (connected && socket) {
        // Sent straight to the socket: a failing FIN must not come back here.
        connected = 0;
        Net::Packet fin(Net::PacketHeader{Net::kFin, Net::kFinType, m_info_other_end.seq_curr, 0, 0});
        socket->SendTo(fin.Raw(), peer_address);
    }
    socket.reset();
    server = 0;
    connected = 0;
    initialised = 0;
    setup_exchanged = 0;
    peer_adopted = false;
    flow_flags.fill(0);
    clear_queues();
    ++link_epoch;
}

void NetworkMgr::ResetToNew()
{
    Disconnect();
    // Links are counted for the whole process: a batch that noted the
    // count must see this link end.
    const std::uint64_t links = link_epoch;
    *this = NetworkMgr();
    link_epoch = links;
}

void NetworkMgr::clear_queues()
{
    for (Net::ChannelBlock& each : channels) {
        each.received.clear();
        each.pending.clear();
    }
}

void NetworkMgr::clear_received_queues()
{
    for (Net::ChannelBlock& each : channels)
        each.received.clear();
}

const char* NetworkMgr::get_error_text()
{
    error_text = Engine::Platform::ErrorText(last_error);
    return error_text.c_str();
}

const Net::ChannelBlock& NetworkMgr::channel(std::int32_t number) const
{
    return channels[BlockIndex(number)];
}

Net::ChannelBlock& NetworkMgr::block(std::int32_t number)
{
    return channels[BlockIndex(number)];
}

std::uint16_t NetworkMgr::local_port() const
{
    return socket ? socket->LocalPort() : 0;
}

double NetworkMgr::age_of(std::uint64_t stampNs) const
{
    const std::uint64_t now = Engine::Platform::NowNanoseconds();
    if (now <= stampNs)
        return 0.0;
    return static_cast<double>(now - stampNs) / 1e9;
}

bool NetworkMgr::limited(const std::string& key)
{
    return !limiter.Allow(key, Engine::Platform::NowNanoseconds());
}
