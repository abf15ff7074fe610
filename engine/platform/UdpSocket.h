#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace Engine::Platform {

// An IPv4 address and port, both in host byte order.
struct Ipv4Endpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    bool operator==(const Ipv4Endpoint&) const = default;
};

// Dotted IPv4 text ("127.0.0.1") to an address; false for anything else,
// leaving the address untouched.
bool ParseIpv4(const char* text, std::uint32_t& address);
// "a.b.c.d:port", for messages.
std::string FormatEndpoint(const Ipv4Endpoint& endpoint);

// The system's text for an error number; the number itself when the system
// has none.
std::string ErrorText(int error);
// Whether the error says that another socket holds the address and port.
bool IsAddressInUse(int error);

struct ReceiveResult {
    enum class Status { Datagram, WouldBlock, Failed };
    Status status = Status::WouldBlock;
    // The datagram's real length, also when it was longer than the buffer
    // and so arrived cut.
    std::size_t size = 0;
    Ipv4Endpoint from;
    // The error number of a failed receive.
    int error = 0;
};

// One UDP socket. Every failing call keeps its error number for LastError.
class IUdpSocket {
public:
    virtual ~IUdpSocket() = default;
    virtual bool Bind(const Ipv4Endpoint& local) = 0;
    virtual bool MakeNonBlocking() = 0;
    // True when the whole datagram went out.
    virtual bool SendTo(std::span<const std::uint8_t> datagram, const Ipv4Endpoint& to) = 0;
    // Never waits on a non-blocking socket: no datagram is WouldBlock.
    virtual ReceiveResult ReceiveFrom(std::span<std::uint8_t> buffer) = 0;
    // The bound port, so that a socket bound to port 0 can tell the one the
    // system chose; 0 when unbound.
    virtual std::uint16_t LocalPort() const = 0;
    virtual int LastError() const = 0;
};

// Makes a socket, or null with the error number set.
using UdpSocketFactory = std::function<std::unique_ptr<IUdpSocket>(int& error)>;

// A new socket from the factory in use: the system's unless one was set.
std::unique_ptr<IUdpSocket> OpenUdpSocket(int& error);
// Installs a factory; an empty one puts the system's back.
void SetUdpSocketFactory(UdpSocketFactory factory);

} // namespace Engine::Platform
