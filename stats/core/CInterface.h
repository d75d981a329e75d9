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
#define KUVELL_RECORD_PROPERTY(Type, Name, Param)         \
  public:                                                 \
    Type Name() const { return Name##_; }                 \
    void Name(Type Param) { Name##_ = std::move(Param); } \
                                                          \
  private:                                                \
    Type Name##_{};

class CInterface
{
    KUVELL_RECORD_PROPERTY(std::string, InterfaceDescription, strNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, OutputQueueLength, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, OutgoingErrors, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, DiscardedOutgoingPackets, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, NonunicastPacketsSent, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, UnicastPacketsSent, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, OctetsSent, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, UnknownProtocolPackets, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, IncomingErrors, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, DiscardedIncomingPackets, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, NonunicastPacketsReceived, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, MaximumTransmissionUnit, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, UnicastPacketsReceived, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, OctetsReceived, lngNewValue)
    KUVELL_RECORD_PROPERTY(DateTime, LastChange, datNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, OperationalStatus, NewValue)
    KUVELL_RECORD_PROPERTY(int32_t, AdminStatus, NewValue)
    KUVELL_RECORD_PROPERTY(std::string, AdapterAddress, strNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, Speed, lngNewValue)
    KUVELL_RECORD_PROPERTY(int32_t, InterfaceType, NewValue)
    KUVELL_RECORD_PROPERTY(int32_t, InterfaceIndex, lngNewValue)
    KUVELL_RECORD_PROPERTY(std::string, InterfaceName, strNewValue)

  public:
    struct PropertyHelp
    {
        std::string_view property;
        std::string_view helpText;
    };
    // The help text published with each property, in the order of the properties.
    static const std::array<PropertyHelp, 22>& PropertyHelpTexts();
    // nullopt for a name that is not one of the 22 properties.
    static std::optional<std::string_view> HelpText(std::string_view property);
};

#undef KUVELL_RECORD_PROPERTY

}  // namespace kuvell
