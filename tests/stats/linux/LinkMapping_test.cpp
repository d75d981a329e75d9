// SPDX-License-Identifier: MIT
#include "stats/linux/LinkMapping.h"

#include <gtest/gtest.h>
#include <linux/if.h>
#include <linux/if_arp.h>

namespace kuvell {
namespace {

TEST(LinkMapping, HardwareTypesMapToIanaTypes)
{
    EXPECT_EQ(ianaIfType(ARPHRD_ETHER, false), 6u);
    EXPECT_EQ(ianaIfType(ARPHRD_ETHER, true), 71u);
    EXPECT_EQ(ianaIfType(ARPHRD_LOOPBACK, false), 24u);
    EXPECT_EQ(ianaIfType(ARPHRD_PPP, false), 23u);
    for (const unsigned tunnel :
         {ARPHRD_TUNNEL, ARPHRD_TUNNEL6, ARPHRD_SIT, ARPHRD_IPGRE, ARPHRD_IP6GRE, ARPHRD_NONE}) {
        EXPECT_EQ(ianaIfType(tunnel, false), 131u) << tunnel;
    }
    EXPECT_EQ(ianaIfType(ARPHRD_INFINIBAND, false), 1u);
}

TEST(LinkMapping, StatusesComeFromTheUpAndRunningFlags)
{
    EXPECT_EQ(adminStatus(IFF_UP | IFF_RUNNING), 1u);
    EXPECT_EQ(adminStatus(0), 2u);
    EXPECT_EQ(operStatus(IFF_UP | IFF_RUNNING | IFF_LOOPBACK), 5u);
    EXPECT_EQ(operStatus(IFF_UP), 2u);
    EXPECT_EQ(operStatus(0), 0u);
    EXPECT_EQ(operStatus(IFF_RUNNING), 0u) << "down wins";
}

TEST(LinkMapping, OnlyRealAddressesCountAndAtMostEightBytes)
{
    const std::vector<uint8_t> mac{0x02, 0xFC, 0, 0, 0, 1};
    EXPECT_EQ(rowPhysicalAddress(mac, ARPHRD_ETHER), mac);
    EXPECT_TRUE(rowPhysicalAddress(mac, ARPHRD_LOOPBACK).empty());
    EXPECT_TRUE(rowPhysicalAddress(std::vector<uint8_t>(6, 0), ARPHRD_ETHER).empty());
    EXPECT_TRUE(rowPhysicalAddress({}, ARPHRD_NONE).empty());
    const std::vector<uint8_t> infiniband(20, 0x11);
    EXPECT_EQ(rowPhysicalAddress(infiniband, ARPHRD_INFINIBAND), std::vector<uint8_t>(8, 0x11));
}

TEST(LinkMapping, SpeedIsAskedOnlyOfLinksThatAreUpAndNotLoopback)
{
    EXPECT_TRUE(speedCanBeKnown(IFF_UP | IFF_RUNNING, ARPHRD_ETHER));
    EXPECT_TRUE(speedCanBeKnown(IFF_UP, ARPHRD_ETHER)) << "up without carrier: the driver decides";
    EXPECT_FALSE(speedCanBeKnown(0, ARPHRD_ETHER));
    EXPECT_FALSE(speedCanBeKnown(IFF_UP | IFF_RUNNING, ARPHRD_LOOPBACK));
}

TEST(LinkMapping, SpeedTextIsMbitPerSecondSaturatedTo32Bits)
{
    EXPECT_EQ(speedBitsFromMbitText("1000\n"), 1'000'000'000u);
    EXPECT_EQ(speedBitsFromMbitText("10"), 10'000'000u);
    EXPECT_EQ(speedBitsFromMbitText("4294\n"), 4'294'000'000u);
    EXPECT_EQ(speedBitsFromMbitText("4295\n"), 4'294'967'295u);
    EXPECT_EQ(speedBitsFromMbitText("100000\n"), 4'294'967'295u);
    EXPECT_EQ(speedBitsFromMbitText("99999999999999999999999\n"), 4'294'967'295u);
    for (const std::string_view unknown :
         {"-1\n", "0\n", "", "\n", "fast", "10x", "-99999999999999999999"}) {
        EXPECT_EQ(speedBitsFromMbitText(unknown), std::nullopt) << unknown;
    }
}

}  // namespace
}  // namespace kuvell
