// SPDX-License-Identifier: MIT
// kuvell-ifstat: Kuvell's view of the interface table for terminals and
// servers, built from the same statistics code as the window.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/core/CommandLine.h"
#include "monitor/core/TrafficTick.h"
#include "platform/StopSignals.h"
#include "stats/SystemIfTableSource.h"
#include "stats/core/IfTableParser.h"
#include "stats/core/InterfaceTable.h"
#include "stats/core/TextCodec.h"

namespace kuvell {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage: kuvell-ifstat [--interface NAME]\n"
    "       kuvell-ifstat --watch [--count N] [--interface NAME] [--jump-limit N]\n"
    "       kuvell-ifstat --help | --version\n"
    "\n"
    "Without --watch, prints the network interfaces as Kuvell sees them: one line\n"
    "a row of one snapshot of the interface table, tab-separated under a heading\n"
    "line, then the received and sent byte counters Kuvell takes from it (those of\n"
    "the last row that has a hardware address, unless --interface names another).\n"
    "\n"
    "Columns: index, name, description, type (IANA ifType), MTU, speed (bit/s),\n"
    "hardware address (\"-\" for none), admin status, operational status, octets\n"
    "received, octets sent, and \"taken\" on the row whose counters are taken\n"
    "(\"-\" on the others).\n"
    "\n"
    "  --watch     print, once a second, the rate line Kuvell's window shows,\n"
    "              \"DL: <rate> kb/s - UL: <rate> kb/s\", with the decimal separator\n"
    "              of your locale; the first line comes after one second and\n"
    "              shows 0, as the window's first tick does: it only takes the\n"
    "              counters to start from. Ends on Ctrl+C or SIGTERM.\n"
    "  --count N   with --watch: stop after N lines\n"
    "  --interface NAME\n"
    "              take the counters of the interface with this name or\n"
    "              description, as Kuvell does with interface=NAME under [options]\n"
    "              in its settings; a name not in the table is an error\n"
    "  --jump-limit N\n"
    "              with --watch: count up to N bytes a second (1 to 2147483647)\n"
    "              instead of 200000, as Kuvell does with jumplimit=N\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "Kuvell's settings and running totals are never read or written.\n";

struct Options
{
    bool help = false;
    bool version = false;
    bool watch = false;
    std::optional<uint64_t> count;
    std::string interfaceChoice;  // empty: the last row with a hardware address
    std::optional<int32_t> jumpLimit;
};

void complainAbout(std::string_view problem)
{
    std::cerr << "kuvell-ifstat: " << problem << "\nTry 'kuvell-ifstat --help'.\n";
}

std::optional<uint64_t> positiveCount(std::string_view text)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value == 0) {
        return std::nullopt;
    }
    return value;
}

// The value of "--option VALUE" or "--option=VALUE" at arguments[i], empty when
// it is missing; i moves past a separate value. nullopt when arguments[i] is not
// this option.
std::optional<std::string_view> optionValue(std::string_view option, std::span<char*> arguments,
                                            std::size_t& i)
{
    const std::string_view argument = arguments[i];
    if (argument == option) {
        return i + 1 < arguments.size() ? std::string_view(arguments[++i]) : std::string_view();
    }
    if (argument.starts_with(option) && argument.substr(option.size()).starts_with('=')) {
        return argument.substr(option.size() + 1);
    }
    return std::nullopt;
}

// nullopt (after a message on stderr) for an argument Kuvell does not know.
std::optional<Options> parseArguments(std::span<char*> arguments)
{
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--watch") {
            options.watch = true;
        } else if (const auto value = optionValue("--count", arguments, i)) {
            options.count = positiveCount(*value);
            if (!options.count) {
                complainAbout("--count needs a whole number of lines, 1 or more, not \"" +
                              std::string(*value) + "\"");
                return std::nullopt;
            }
        } else if (const auto value = optionValue("--interface", arguments, i)) {
            options.interfaceChoice = *value;
            if (options.interfaceChoice.empty()) {
                complainAbout("--interface needs the name or description of an interface");
                return std::nullopt;
            }
        } else if (const auto value = optionValue("--jump-limit", arguments, i)) {
            options.jumpLimit = jumpLimitFromText(*value);
            if (!options.jumpLimit) {
                complainAbout(
                    "--jump-limit needs a whole number of bytes from 1 to 2147483647, not \"" +
                    std::string(*value) + "\"");
                return std::nullopt;
            }
        } else {
            complainAbout("unknown argument \"" + std::string(argument) + "\"");
            return std::nullopt;
        }
    }
    if (options.count && !options.watch) {
        complainAbout("--count counts the lines of --watch; add --watch");
        return std::nullopt;
    }
    if (options.jumpLimit && !options.watch) {
        complainAbout("--jump-limit filters the rates of --watch; add --watch");
        return std::nullopt;
    }
    return options;
}

// Interface names and aliases are outside data: control characters would act on
// the terminal, and tabs or line breaks would break the columns.
std::string printable(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // U+0080..U+009F, whose UTF-8 form is C2 80..C2 9F.
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const bool c1Control = byte == 0xC2 && next >= 0x80 && next < 0xA0;
        if (byte < 0x20 || byte == 0x7F || c1Control) {
            out += '?';
            i += c1Control ? 1 : 0;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Keeps a copy of the table the snapshot was filled with, so the rows shown are
// exactly the ones the counters were picked from.
class RecordingSource : public IfTableSource
{
  public:
    explicit RecordingSource(std::shared_ptr<IfTableSource> source) : source_(std::move(source)) {}

    IfTableResult getIfTable(uint8_t* table, uint32_t& size, bool sort) override
    {
        const uint32_t capacity = size;
        const IfTableResult result = source_->getIfTable(table, size, sort);
        if (table != nullptr && result == IfTableResult::Ok) {
            recorded_.assign(table, table + std::min(size, capacity));
        }
        return result;
    }

    std::span<const uint8_t> recorded() const { return recorded_; }

  private:
    std::shared_ptr<IfTableSource> source_;
    std::vector<uint8_t> recorded_;
};

void printRow(const IfRowView& row, bool taken)
{
    const std::string address = adapterAddressText(physicalAddress(row));
    std::cout << row.unsignedField(IfRowField::Index) << '\t' << printable(interfaceNameText(row))
              << '\t' << printable(shownDescriptionText(row)) << '\t'
              << row.unsignedField(IfRowField::Type) << '\t' << row.unsignedField(IfRowField::Mtu)
              << '\t' << row.unsignedField(IfRowField::Speed) << '\t'
              << (address.empty() ? "-" : address) << '\t'
              << row.unsignedField(IfRowField::AdminStatus) << '\t'
              << row.unsignedField(IfRowField::OperStatus) << '\t'
              << row.unsignedField(IfRowField::InOctets) << '\t'
              << row.unsignedField(IfRowField::OutOctets) << '\t' << (taken ? "taken" : "-")
              << '\n';
}

void reportToStderr(std::string_view message) { std::cerr << "kuvell-ifstat: " << message << '\n'; }

// False, after a message that lists the names there are, when an interface is
// chosen that the table lacks.
bool chosenInterfaceIsThere(const IfTableView& table, std::string_view choice)
{
    if (choice.empty() || counterRowIndex(table, choice)) {
        return true;
    }
    std::string names;
    for (std::size_t i = 0; i < table.rowCount(); ++i) {
        names += (names.empty() ? "" : ", ") + printable(interfaceNameText(table.Row(i)));
    }
    reportToStderr("no interface has the name or description \"" + printable(choice) +
                   "\"; the interfaces are: " + (names.empty() ? "none" : names));
    return false;
}

int printSnapshot(std::string_view choice)
{
    const auto source = std::make_shared<RecordingSource>(makeSystemIfTableSource());
    bool failed = false;
    InterfaceTable helper(source, [&failed](std::string_view message) {
        reportToStderr(message);
        failed = true;
    });
    helper.chooseInterface(std::string(choice));
    helper.interfaces();
    if (failed) {
        return kExitFailure;
    }
    const IfTableView table(source->recorded());
    if (!chosenInterfaceIsThere(table, choice)) {
        return kExitUsage;
    }
    const auto taken = counterRowIndex(table, choice);
    std::cout << "index\tname\tdescription\ttype\tmtu\tspeed\taddress\tadmin\toper\tin-octets"
                 "\tout-octets\tcounters\n";
    for (std::size_t i = 0; i < table.rowCount(); ++i) {
        printRow(table.Row(i), i == taken);
    }
    std::cout << "BytesReceived " << helper.bytesReceived() << " BytesSent " << helper.bytesSent()
              << '\n';
    std::cout.flush();
    return std::cout ? kExitOk : kExitFailure;
}

std::string localeDecimalSeparator()
{
    std::setlocale(LC_ALL, "");
    const char* separator = std::localeconv()->decimal_point;
    return (separator != nullptr && *separator != '\0') ? separator : ".";
}

int watch(const Options& options)
{
    const std::string separator = localeDecimalSeparator();
    StopSignals stopSignals;

    const auto source = std::make_shared<RecordingSource>(makeSystemIfTableSource());
    InterfaceTable helper(source, reportToStderr);
    helper.chooseInterface(options.interfaceChoice);
    if (!options.interfaceChoice.empty()) {
        // A mistyped name would only ever print zeros: say so at once instead.
        helper.interfaces();
        if (!chosenInterfaceIsThere(IfTableView(source->recorded()), options.interfaceChoice)) {
            return kExitUsage;
        }
    }
    TrafficTick tick(options.jumpLimit.value_or(kDefaultJumpLimit));
    // Our own totals, from 0: Kuvell's stored ones are never touched.
    int32_t receivedTotal = 0;
    int32_t sentTotal = 0;
    constexpr auto kTick = std::chrono::seconds(1);
    auto next = std::chrono::steady_clock::now();
    const std::optional<uint64_t> count = options.count;
    for (uint64_t lines = 0; !count || lines < *count; ++lines) {
        next += kTick;
        if (!stopSignals.waitUntil(next)) {
            return kExitOk;
        }
        // Like a timer, a late tick is not made up for by a burst of ticks.
        next = std::max(next, std::chrono::steady_clock::now() - kTick);
        helper.interfaces();
        const TickTexts texts = tick.sample(helper.counters(), receivedTotal, sentTotal, separator);
        std::cout << texts.label << '\n';
        std::cout.flush();
        if (!std::cout) {
            return kExitFailure;
        }
    }
    return kExitOk;
}

}  // namespace
}  // namespace kuvell

int main(int argc, char** argv)
{
    // argv[0] is the program, when there is one at all.
    const std::span<char*> all(argv, argc > 0 ? static_cast<std::size_t>(argc) : 0);
    const auto options = kuvell::parseArguments(all.empty() ? all : all.subspan(1));
    if (!options) {
        return kuvell::kExitUsage;
    }
    if (options->help) {
        std::cout << kuvell::kUsage;
        return kuvell::kExitOk;
    }
    if (options->version) {
        std::cout << kuvell::versionText("kuvell-ifstat");
        return kuvell::kExitOk;
    }
    return options->watch ? kuvell::watch(*options)
                          : kuvell::printSnapshot(options->interfaceChoice);
}
