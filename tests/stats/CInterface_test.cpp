#include "stats/core/CInterface.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kuvell {
namespace {

TEST(CInterface, NewRecordHoldsZeroEmptyTextsAndTheZeroDate)
{
    const CInterface r;
    for (const int32_t value :
         {r.OutputQueueLength(), r.OutgoingErrors(), r.DiscardedOutgoingPackets(),
          r.NonunicastPacketsSent(), r.UnicastPacketsSent(), r.OctetsSent(),
          r.UnknownProtocolPackets(), r.IncomingErrors(), r.DiscardedIncomingPackets(),
          r.NonunicastPacketsReceived(), r.MaximumTransmissionUnit(), r.UnicastPacketsReceived(),
          r.OctetsReceived(), r.OperationalStatus(), r.AdminStatus(), r.Speed(), r.InterfaceType(),
          r.InterfaceIndex()}) {
        EXPECT_EQ(value, 0);
    }
    EXPECT_EQ(r.InterfaceDescription(), "");
    EXPECT_EQ(r.AdapterAddress(), "");
    EXPECT_EQ(r.InterfaceName(), "");
    EXPECT_EQ(r.LastChange(), 0.0);
}

TEST(CInterface, AssignmentsStoreValuesUnchangedAndIndependently)
{
    CInterface r;
    r.OctetsReceived(INT32_MIN);
    r.OctetsSent(-1);
    r.Speed(INT32_MAX);
    r.InterfaceName(std::string("e\0t\0h\0", 6));
    r.InterfaceDescription("caf\xC3\xA9");
    r.LastChange(45000.25);
    EXPECT_EQ(r.OctetsReceived(), INT32_MIN);
    EXPECT_EQ(r.OctetsSent(), -1);
    EXPECT_EQ(r.Speed(), INT32_MAX);
    EXPECT_EQ(r.InterfaceName(), std::string("e\0t\0h\0", 6));
    EXPECT_EQ(r.InterfaceDescription(), "caf\xC3\xA9");
    EXPECT_EQ(r.LastChange(), 45000.25);
    // Neighbouring properties are untouched.
    EXPECT_EQ(r.UnicastPacketsReceived(), 0);
    EXPECT_EQ(r.UnicastPacketsSent(), 0);
    EXPECT_EQ(r.AdapterAddress(), "");
}

TEST(CInterface, PublishesTheHelpTextOfEveryPropertyExactly)
{
    const auto& texts = CInterface::PropertyHelpTexts();
    std::set<std::string_view> names;
    for (const auto& entry : texts) {
        names.insert(entry.property);
        EXPECT_FALSE(entry.helpText.empty()) << entry.property;
    }
    EXPECT_EQ(names.size(), 22u) << "every property once";
    EXPECT_EQ(texts.front().property, "InterfaceDescription");
    EXPECT_EQ(texts.back().property, "InterfaceName");

    // Trailing blanks are part of the published texts.
    EXPECT_EQ(CInterface::HelpText("AdminStatus"),
              "Specifies the interface is administratively enabled or disabled. ");
    EXPECT_EQ(CInterface::HelpText("InterfaceName"),
              "String that contains the name of the interface. ");
    EXPECT_EQ(CInterface::HelpText("NonunicastPacketsSent"),
              "Specifies the number of non-unicast packets sent through this interface. Broadcast "
              "and multicast packets are included.");
    EXPECT_EQ(CInterface::HelpText("MaximumTransmissionUnit"),
              "Specifies the Maximum Transmission Unit (MTU).");
    EXPECT_EQ(CInterface::HelpText("LastChange"),
              "Specifies the last time the operational status changed.");
    EXPECT_EQ(CInterface::HelpText("Bogus"), std::nullopt);
    EXPECT_EQ(CInterface::HelpText("adminstatus"), std::nullopt) << "names are exact";
}

}  // namespace
}  // namespace kuvell
