#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/net/ChannelBlock.h"
#include "engine/net/ChannelRecords.h"
#include "engine/net/NetMessages.h"
#include "engine/net/NewestSeqs.h"
#include "engine/net/Packet.h"
#include "engine/platform/UdpSocket.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// The link between the two game instances, a server and a client, over one
// non-blocking UDP socket: a three-way handshake, acknowledgements, re-sends
// of unacknowledged packets every 0.2 s, a 10 s silence time-out and a
// closing FIN. Eleven channels ride on it (0 to 10); their records reach
// named entities as networking events. Everything runs on the game loop's
// thread: the manager is polled once per frame and never waits.
//
// The game has one manager (GetInstance). More can be built to run both
// ends of a link in one process.
class NetworkMgr {
public:
    static constexpr std::uint32_t kClientFirstSeq = 100;
    static constexpr std::uint32_t kServerFirstSeq = 1000;
    static constexpr std::uint16_t kDefaultPort = 8008;
    // A record whose entity is still missing after this long is dropped.
    static constexpr double kTargetWaitSeconds = 5.0;
    // One poll takes at most this many datagrams, so a flood cannot hold the
    // frame.
    static constexpr int kMaxDatagramsPerPoll = 4096;

    static NetworkMgr& GetInstance();

    NetworkMgr();
    ~NetworkMgr();
    NetworkMgr(const NetworkMgr&) = delete;
    NetworkMgr& operator=(const NetworkMgr&) = delete;

    // Opens the socket on bind_address:port and waits for a client.
    bool server_init();
    // Once per frame on the server's waiting screen; true once connected.
    bool listen();
    // Opens the socket towards the server at the dotted IPv4 address, port.
    bool client_init(const char* address);
    // Once per frame on the connecting screen: sends the SYN until the
    // server answers; true once connected.
    bool connect();
    // The network's part of one frame, in two steps that the engine frame
    // runs apart: what arrived is taken and served after the physics, and
    // this side's per-frame state goes out once the frame's last move (the
    // game's step before drawing) is made, so that the peer is shown where
    // this side draws its player. Each does nothing unless connected.
    // update runs both, for a caller with nothing between them.
    void update();
    // Takes every waiting datagram and serves the channels' queues.
    void receive_step();
    // The teleport's record that waited for the frame's last move, the
    // local player's and ball's state (and, on the host, the goal ball's),
    // the keep-alive of a quiet frame, then the due re-sends and the
    // silence time-out.
    void send_step();
    // Leaves the link: FIN to the peer, socket closed, queues emptied.
    void Disconnect();
    // Leaves the link, then every setting, flag and queue as a new manager
    // has them: what one user of the manager set (a port of its own, a
    // shorter time-out, a flag) must not reach the next.
    void ResetToNew();

    // Takes every waiting datagram: 1 when the socket ran dry, 0 after an
    // error.
    int recv_everything();
    // Empties every channel's received and pending records. The numbers
    // already taken are kept, so nothing is ever delivered twice.
    void clear_queues();
    // Empties what arrived only: records still waiting for their
    // acknowledgement keep being resent.
    void clear_received_queues();
    // The silence time-out, then the re-sends that are due: the last step of
    // the update, and what a wait outside the frame loop calls so that its
    // own records still reach the peer.
    void check_resend();

    // 1 sent, 0 failed (the link is then dropped).
    int send_packet(Net::Packet& packet, bool store);
    int send_ack(std::uint32_t seq, std::uint32_t ack, std::int32_t type);

    int send_type_0(const Net::LevelRecord& record);
    // The local player's and ball's state; 0 when either entity is missing.
    int send_type_1();
    int send_type_2(const Net::TileBend& record);
    int send_type_3(const Net::Score& record);
    int send_type_4(const Net::GoalBallState& record);
    int send_type_5(const Net::PerkEffect& record);
    // The teleport's record waits for the send step, which fills its target
    // with where the frame's last move leaves the player: where this side
    // draws it, out of a column or another player it landed in. A second
    // one in the same frame replaces the first.
    void send_type_5_once_placed(Engine::EntityHandle player, const Net::PerkEffect& record);
    // Sends what waited for the frame's last move: the send step's first
    // part, for a frame that runs its phases itself.
    void send_placed_records();
    int send_type_6(const Net::ArenaEvent& record);
    int send_type_7(const Net::PerkObject& record);
    int send_type_8(const Net::Flow& record);
    int send_type_9(const Net::BallEffect& record);
    int send_type_10(const Net::Prematch& record);

    // The newest level record, once; false when none is queued.
    bool recv_type_0(Net::LevelRecord& out);
    // 1 applied or nothing to apply, 0 when an entity was missing.
    int recv_type_1();
    // 0 nothing queued, 1 all delivered, -1 a target entity is still missing
    // (that record and the later ones wait for the next frame).
    int recv_type_2();
    int recv_type_3();
    int recv_type_4();
    int recv_type_5();
    int recv_type_6();
    int recv_type_7();
    int recv_type_9();

    const char* get_error_text();

    // The channel's queues; channel 1 has none and gives channel 2's.
    const Net::ChannelBlock& channel(std::int32_t number) const;
    // The port the socket is bound to (the one the system chose for port 0).
    std::uint16_t local_port() const;

    // Settings and flags that the game flow reads and writes.
    std::uint32_t max_resends = 500;
    double resend_interval = 0.2;
    std::array<std::uint8_t, 5> flow_flags{};
    // The flow flag that stops the per-frame game traffic (a replay plays).
    static constexpr std::size_t kFreezeTraffic = 1;
    // The flags the peer's flow requests (channel 8) set. Request a says
    // that the peer's play ended and its replay runs: its player's state
    // is not applied meanwhile. Requests b and c set theirs, c clearing
    // every other flag and the queues.
    static constexpr std::size_t kPeerPlayEnded = 3;
    static constexpr std::size_t kPeerFlowB = 4;
    static constexpr std::size_t kPeerFlowC = 0;
    std::uint8_t disconnecting = 0;
    std::uint8_t timed_out = 0;
    // The system's error number of the failure that kept the link shut or
    // ended it (an initialiser's or a send's), so the menus can say why; 0
    // from the next initialiser on. Disconnect alone leaves it at 0: the
    // player's own cancel sets only `disconnecting`.
    int link_error = 0;
    std::uint8_t menu_mode = 1;
    std::uint8_t sent_this_frame = 0;
    std::uint64_t last_receive_ns = 0;
    double timeout = 10.0;
    std::uint16_t port = kDefaultPort;
    std::string bind_address = "0.0.0.0";
    std::string peer_text = "127.0.0.1";
    std::uint8_t server = 0;
    std::uint8_t connected = 0;
    std::uint8_t initialised = 0;
    std::uint8_t handshake_done = 0;
    struct {
        std::uint32_t seq_curr = 0;
    } m_info_other_end;
    std::array<std::uint8_t, Net::PlayerState::kSize> latest_state{};
    std::uint8_t setup_exchanged = 0;
    std::uint32_t resend_count = 0;
    // Tile numbers at or past this are refused; the arena sets its count.
    std::uint32_t tile_count = Net::kMaxTileCount;

private:
    // ResetToNew's: a new manager's values, taken whole.
    NetworkMgr& operator=(NetworkMgr&&) = default;

    enum class Delivery { Delivered, Waiting, Dropped };
    using Deliver = std::function<Delivery(const Net::ReceivedRecord& record, std::string& missing)>;

    // Opens the socket for address:port (bound there when `bind`), non-
    // blocking; false, with no socket and a message, on any failure.
    bool open_socket(const std::string& address, bool bind);
    // The rest of a waiting screen's poll: takes what arrived and reports
    // the link once the handshake is through.
    bool take_handshake(const char* linkedText);
    void reset_link_state();
    bool make_non_blocking();
    void receive_and_serve();
    void send_and_resend();
    void send_goal_ball_state();
    void serve_flow();
    void serve_prematch();
    void drop_queued_keepalives();
    void forget_pending_keepalives();
    bool resend_due(Net::ChannelBlock& block, std::int32_t number, bool& overdue);

    bool accepts(const Engine::Platform::Ipv4Endpoint& from, const Net::PacketHeader& header) const;
    void process_packet(const Net::Packet& packet, const Engine::Platform::Ipv4Endpoint& from);
    void on_syn(const Net::PacketHeader& header, const Engine::Platform::Ipv4Endpoint& from);
    void on_ack(const Net::PacketHeader& header);
    void on_data(const Net::Packet& packet, const Net::PacketHeader& header, bool resend);
    std::uint32_t acknowledgement_number(std::int32_t type, std::uint32_t recordSeq);
    void start_link(std::uint32_t peerFirstSeq);

    int send_record(std::int32_t channel, std::span<const std::uint8_t> record, bool needsAck);
    int serve(std::int32_t channel, const Deliver& deliver);
    void dispatch(std::uint32_t code, const Net::ReceivedRecord& record, Engine::EntityHandle target);
    Delivery refuse(std::int32_t channel, const char* problem);
    // Whether the peer's goal of this seq was scored on the goal ball this
    // side spawned or took last; the host may not know yet (see
    // SpawnSent), and then spares it for now.
    bool goal_spends_newest_spawn(std::uint32_t goalSeq);
    // On the host, a goal spared while its spawn was unacknowledged, once the
    // acknowledgement has come.
    void settle_spared_goal();
    bool limited(const std::string& key);
    double age_of(std::uint64_t stampNs) const;
    Net::ChannelBlock& block(std::int32_t number);

    std::unique_ptr<Engine::Platform::IUdpSocket> socket;
    Engine::Platform::Ipv4Endpoint own_address;
    Engine::Platform::Ipv4Endpoint peer_address;
    // A server has answered a SYN from peer_address.
    bool peer_adopted = false;
    int last_error = 0;
    std::string error_text;
    std::array<Net::ChannelBlock, Net::kChannelCount> channels;
    // The newest record applied of each subject whose records set state
    // outright: a tile's bends, the peer's ball's trail changes, the per-
    // frame goal-ball states, the goal-ball spawns and the peer's lobby
    // states.
    Net::NewestSeqs newest_seqs;
    // On the host, the newest goal-ball spawn sent and the number of the
    // client's acknowledgement of it: the client's goals numbered after that
    // were scored with the spawn taken, on the new ball. The newest goal
    // that came before the acknowledgement waits here for it.
    struct SpawnSent {
        std::optional<std::uint32_t> seq;
        std::optional<std::uint32_t> takenAt;
        std::optional<std::uint32_t> goalSpared;
    } newest_spawn;
    // The teleport's record waiting for the send step, and the player whose
    // place it takes as its target.
    struct PlacedRecord {
        Engine::EntityHandle player;
        Net::PerkEffect record;
    };
    std::optional<PlacedRecord> waiting_teleport;
    // Counts links; a dispatch that ends the link ends the batch too.
    std::uint64_t link_epoch = 0;
    Net::MessageLimiter limiter;
};
