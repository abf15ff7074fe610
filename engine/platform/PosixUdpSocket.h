#pragma once
#include "engine/platform/UdpSocket.h"

namespace Engine::Platform {

// A datagram socket of the system, closed with the object.
class PosixUdpSocket final : public IUdpSocket {
public:
    // Null with the error number set when the system gives no socket.
    static std::unique_ptr<IUdpSocket> Open(int& error);

    ~PosixUdpSocket() override;
    PosixUdpSocket(const PosixUdpSocket&) = delete;
    PosixUdpSocket& operator=(const PosixUdpSocket&) = delete;

    bool Bind(const Ipv4Endpoint& local) override;
    bool MakeNonBlocking() override;
    bool SendTo(std::span<const std::uint8_t> datagram, const Ipv4Endpoint& to) override;
    ReceiveResult ReceiveFrom(std::span<std::uint8_t> buffer) override;
    std::uint16_t LocalPort() const override;
    int LastError() const override { return mLastError; }

private:
    explicit PosixUdpSocket(int descriptor) : mDescriptor(descriptor) {}
    bool Fail();

    int mDescriptor;
    int mLastError = 0;
};

} // namespace Engine::Platform
