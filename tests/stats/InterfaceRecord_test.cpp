// SPDX-License-Identifier: MIT
#include "stats/core/InterfaceRecord.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kuvell {
namespace {

TEST(InterfaceRecord, NewRecordHoldsZeroEmptyTextsAndTheZeroDate)
{
    const InterfaceRecord r;
    for (const int32_t value :
         {r.outputQueueLength(), r.outgoingErrors(), r.discardedOutgoingPackets(),
          r.nonunicastPacketsSent(), r.unicastPacketsSent(), r.octetsSent(),
          r.unknownProtocolPackets(), r.incomingErrors(), r.discardedIncomingPackets(),
          r.nonunicastPacketsReceived(), r.maximumTransmissionUnit(), r.unicastPacketsReceived(),
          r.octetsReceived(), r.operationalStatus(), r.adminStatus(), r.speed(), r.interfaceType(),
          r.interfaceIndex()}) {
        EXPECT_EQ(value, 0);
    }
    EXPECT_EQ(r.interfaceDescription(), "");
    EXPECT_EQ(r.adapterAddress(), "");
    EXPECT_EQ(r.interfaceName(), "");
    EXPECT_EQ(r.lastChange(), 0.0);
}

TEST(InterfaceRecord, AssignmentsStoreValuesUnchangedAndIndependently)
{
    InterfaceRecord r;
    r.octetsReceived(INT32_MIN);
    r.octetsSent(-1);
    r.speed(INT32_MAX);
    r.interfaceName(std::string("e\0t\0h\0", 6));
    r.interfaceDescription("caf\xC3\xA9");
    r.lastChange(45000.25);
    EXPECT_EQ(r.octetsReceived(), INT32_MIN);
    EXPECT_EQ(r.octetsSent(), -1);
    EXPECT_EQ(r.speed(), INT32_MAX);
    EXPECT_EQ(r.interfaceName(), std::string("e\0t\0h\0", 6));
    EXPECT_EQ(r.interfaceDescription(), "caf\xC3\xA9");
    EXPECT_EQ(r.lastChange(), 45000.25);
    // Neighbouring properties are untouched.
    EXPECT_EQ(r.unicastPacketsReceived(), 0);
    EXPECT_EQ(r.unicastPacketsSent(), 0);
    EXPECT_EQ(r.adapterAddress(), "");
}

TEST(InterfaceRecord, PublishesTheHelpTextOfEveryPropertyExactly)
{
    const auto& texts = InterfaceRecord::propertyHelpTexts();
    std::set<std::string_view> names;
    for (const auto& entry : texts) {
        names.insert(entry.property);
        EXPECT_FALSE(entry.helpText.empty()) << entry.property;
    }
    EXPECT_EQ(names.size(), 22u) << "every property once";
    EXPECT_EQ(texts.front().property, "InterfaceDescription");
    EXPECT_EQ(texts.back().property, "InterfaceName");

    // Trailing blanks are part of the published texts.
    EXPECT_EQ(InterfaceRecord::helpText("AdminStatus"),
              "Specifies the interface is administratively enabled or disabled. ");
    EXPECT_EQ(InterfaceRecord::helpText("InterfaceName"),
              "String that contains the name of the interface. ");
    EXPECT_EQ(InterfaceRecord::helpText("NonunicastPacketsSent"),
              "Specifies the number of non-unicast packets sent through this interface. Broadcast "
              "and multicast packets are included.");
    EXPECT_EQ(InterfaceRecord::helpText("MaximumTransmissionUnit"),
              "Specifies the Maximum Transmission Unit (MTU).");
    EXPECT_EQ(InterfaceRecord::helpText("LastChange"),
              "Specifies the last time the operational status changed.");
    EXPECT_EQ(InterfaceRecord::helpText("Bogus"), std::nullopt);
    EXPECT_EQ(InterfaceRecord::helpText("adminstatus"), std::nullopt) << "names are exact";
}

}  // namespace
}  // namespace kuvell
