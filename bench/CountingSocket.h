#pragma once
#include "engine/platform/UdpSocket.h"

#include <cstdint>
#include <memory>

// A socket of the system that adds up the bytes it sends.
class CountingSocket final : public Engine::Platform::IUdpSocket {
public:
    CountingSocket(std::unique_ptr<Engine::Platform::IUdpSocket> inner, std::uint64_t& bytes)
        : mInner(std::move(inner)), mBytes(bytes)
    {
    }
    bool Bind(const Engine::Platform::Ipv4Endpoint& local) override { return mInner->Bind(local); }
    bool MakeNonBlocking() override { return mInner->MakeNonBlocking(); }
    bool SendTo(std::span<const std::uint8_t> datagram, const Engine::Platform::Ipv4Endpoint& to) override
    {
        mBytes += datagram.size();
        return mInner->SendTo(datagram, to);
    }
    Engine::Platform::ReceiveResult ReceiveFrom(std::span<std::uint8_t> buffer) override
    {
        return mInner->ReceiveFrom(buffer);
    }
    std::uint16_t LocalPort() const override { return mInner->LocalPort(); }
    int LastError() const override { return mInner->LastError(); }

private:
    std::unique_ptr<Engine::Platform::IUdpSocket> mInner;
    std::uint64_t& mBytes;
};
