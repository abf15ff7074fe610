#include "engine/platform/UdpSocket.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace Engine::Platform;

constexpr std::uint32_t kLoopback = 0x7F000001;

TEST(UdpSocket, OnlyDottedQuadsParse)
{
    std::uint32_t address = 42;
    EXPECT_TRUE(ParseIpv4("127.0.0.1", address));
    EXPECT_EQ(address, kLoopback);
    address = 42;
    const std::vector<const char*> refused{
        "", "256.0.0.1", "1.2.3", "localhost", "1.2.3.4:8008", " 1.2.3.4", "::1", nullptr};
    for (const char* bad : refused)
        EXPECT_FALSE(ParseIpv4(bad, address)) << (bad ? bad : "null");
    EXPECT_EQ(address, 42u);
}

TEST(UdpSocket, AnOversizeDatagramTellsItsRealLength)
{
    int error = 0;
    auto a = OpenUdpSocket(error);
    auto b = OpenUdpSocket(error);
    ASSERT_TRUE(a && b && a->Bind({kLoopback, 0}) && b->Bind({kLoopback, 0}) && b->MakeNonBlocking());
    std::vector<std::uint8_t> buffer(2520);
    EXPECT_EQ(b->ReceiveFrom(buffer).status, ReceiveResult::Status::WouldBlock);
    const Ipv4Endpoint toB{kLoopback, b->LocalPort()};
    ASSERT_TRUE(a->SendTo(std::vector<std::uint8_t>(3000, 0x11), toB));
    ASSERT_TRUE(a->SendTo(std::vector<std::uint8_t>(2520, 0x5A), toB));
    const auto cut = b->ReceiveFrom(buffer);
    EXPECT_EQ(cut.size, 3000u);
    EXPECT_EQ(cut.from, (Ipv4Endpoint{kLoopback, a->LocalPort()}));
    const auto whole = b->ReceiveFrom(buffer);
    EXPECT_EQ(whole.size, 2520u);
    EXPECT_EQ(buffer[2519], 0x5A);
}

} // namespace
