#include "engine/platform/PosixUdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Engine::Platform {
namespace {

sockaddr_in ToSockaddr(const Ipv4Endpoint& endpoint)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(endpoint.address);
    address.sin_port = htons(endpoint.port);
    return address;
}

Ipv4Endpoint FromSockaddr(const sockaddr_in& address)
{
    return Ipv4Endpoint{ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}

} // namespace

std::unique_ptr<IUdpSocket> PosixUdpSocket::Open(int& error)
{
    const int descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        error = errno;
        return nullptr;
    }
    error = 0;
    return std::unique_ptr<IUdpSocket>(new PosixUdpSocket(descriptor));
}

PosixUdpSocket::~PosixUdpSocket()
{
    ::close(mDescriptor);
}

bool PosixUdpSocket::Fail()
{
    mLastError = errno;
    return false;
}

bool PosixUdpSocket::Bind(const Ipv4Endpoint& local)
{
    const sockaddr_in address = ToSockaddr(local);
    if (::bind(mDescriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return Fail();
    return true;
}

bool PosixUdpSocket::MakeNonBlocking()
{
    const int flags = ::fcntl(mDescriptor, F_GETFL, 0);
    if (flags < 0 || ::fcntl(mDescriptor, F_SETFL, flags | O_NONBLOCK) != 0)
        return Fail();
    return true;
}

bool PosixUdpSocket::SendTo(std::span<const std::uint8_t> datagram, const Ipv4Endpoint& to)
{
    const sockaddr_in address = ToSockaddr(to);
    const ssize_t sent = ::sendto(mDescriptor, datagram.data(), datagram.size(), MSG_NOSIGNAL,
        reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    if (sent < 0)
        return Fail();
    return static_cast<std::size_t>(sent) == datagram.size();
}

ReceiveResult PosixUdpSocket::ReceiveFrom(std::span<std::uint8_t> buffer)
{
    ReceiveResult result;
    sockaddr_in from{};
    socklen_t fromSize = sizeof(from);
    // MSG_TRUNC makes the result the datagram's real length, so an oversize
    // datagram is seen as such rather than as a full buffer.
    const ssize_t received = ::recvfrom(mDescriptor, buffer.data(), buffer.size(), MSG_TRUNC,
        reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (received >= 0) {
        result.status = ReceiveResult::Status::Datagram;
        result.size = static_cast<std::size_t>(received);
        result.from = FromSockaddr(from);
        return result;
    }
    mLastError = errno;
    result.error = mLastError;
    const bool empty = mLastError == EAGAIN || mLastError == EWOULDBLOCK || mLastError == EINTR;
    result.status = empty ? ReceiveResult::Status::WouldBlock : ReceiveResult::Status::Failed;
    return result;
}

std::uint16_t PosixUdpSocket::LocalPort() const
{
    sockaddr_in address{};
    socklen_t size = sizeof(address);
    if (::getsockname(mDescriptor, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    return ntohs(address.sin_port);
}

} // namespace Engine::Platform
