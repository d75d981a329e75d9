// SPDX-License-Identifier: MIT
#pragma once
// One row of the interface table: identity, status and traffic counters. A plain
// record: every property reads back exactly what was assigned.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kuvell {

// A date-time as a count of days since 30 December 1899 00:00.
using DateTime = double;

// Declares the read and the assignment of one property plus its storage, which
// starts value-initialised (0, empty text, the zero date).
#define KUVELL_RECORD_PROPERTY(type, name, Param)         \
  public:                                                 \
    type name() const { return name##_; }                 \
    void name(type Param) { name##_ = std::move(Param); } \
                                                          \
  private:                                                \
    type name##_{};

class InterfaceRecord
{
    KUVELL_RECORD_PROPERTY(std::string, interfaceDescription, value)
    KUVELL_RECORD_PROPERTY(int32_t, outputQueueLength, value)
    KUVELL_RECORD_PROPERTY(int32_t, outgoingErrors, value)
    KUVELL_RECORD_PROPERTY(int32_t, discardedOutgoingPackets, value)
    KUVELL_RECORD_PROPERTY(int32_t, nonunicastPacketsSent, value)
    KUVELL_RECORD_PROPERTY(int32_t, unicastPacketsSent, value)
    KUVELL_RECORD_PROPERTY(int32_t, octetsSent, value)
    KUVELL_RECORD_PROPERTY(int32_t, unknownProtocolPackets, value)
    KUVELL_RECORD_PROPERTY(int32_t, incomingErrors, value)
    KUVELL_RECORD_PROPERTY(int32_t, discardedIncomingPackets, value)
    KUVELL_RECORD_PROPERTY(int32_t, nonunicastPacketsReceived, value)
    KUVELL_RECORD_PROPERTY(int32_t, maximumTransmissionUnit, value)
    KUVELL_RECORD_PROPERTY(int32_t, unicastPacketsReceived, value)
    KUVELL_RECORD_PROPERTY(int32_t, octetsReceived, value)
    KUVELL_RECORD_PROPERTY(DateTime, lastChange, value)
    KUVELL_RECORD_PROPERTY(int32_t, operationalStatus, value)
    KUVELL_RECORD_PROPERTY(int32_t, adminStatus, value)
    KUVELL_RECORD_PROPERTY(std::string, adapterAddress, value)
    KUVELL_RECORD_PROPERTY(int32_t, speed, value)
    KUVELL_RECORD_PROPERTY(int32_t, interfaceType, value)
    KUVELL_RECORD_PROPERTY(int32_t, interfaceIndex, value)
    KUVELL_RECORD_PROPERTY(std::string, interfaceName, value)

  public:
    struct PropertyHelp
    {
        std::string_view property;
        std::string_view helpText;
    };
    // The help text published with each property, in the order of the properties.
    static const std::array<PropertyHelp, 22>& propertyHelpTexts();
    // nullopt for a name that is not one of the 22 properties.
    static std::optional<std::string_view> helpText(std::string_view property);
};

#undef KUVELL_RECORD_PROPERTY

}  // namespace kuvell
