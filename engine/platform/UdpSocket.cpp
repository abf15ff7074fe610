#include "engine/platform/UdpSocket.h"

#include "engine/platform/PosixUdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>

namespace Engine::Platform {
namespace {

UdpSocketFactory& Factory()
{
    static UdpSocketFactory factory;
    return factory;
}

} // namespace

bool ParseIpv4(const char* text, std::uint32_t& address)
{
    if (!text)
        return false;
    in_addr parsed{};
    if (::inet_pton(AF_INET, text, &parsed) != 1)
        return false;
    address = ntohl(parsed.s_addr);
    return true;
}

std::string FormatEndpoint(const Ipv4Endpoint& endpoint)
{
    const std::uint32_t a = endpoint.address;
    return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." + std::to_string((a >> 8) & 0xFF)
        + "." + std::to_string(a & 0xFF) + ":" + std::to_string(endpoint.port);
}

std::string ErrorText(int error)
{
    const char* text = std::strerror(error);
    if (!text || !*text)
        return std::to_string(error);
    return text;
}

bool IsAddressInUse(int error) { return error == EADDRINUSE; }

std::unique_ptr<IUdpSocket> OpenUdpSocket(int& error)
{
    if (Factory())
        return Factory()(error);
    return PosixUdpSocket::Open(error);
}

void SetUdpSocketFactory(UdpSocketFactory factory)
{
    Factory() = std::move(factory);
}

} // namespace Engine::Platform
