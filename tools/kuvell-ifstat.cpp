// kuvell-ifstat: Kuvell's view of the interface table for terminals and
// servers, built from the same statistics code as the window.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stats/core/CIpHelper.h"
#include "stats/core/IfTableParser.h"
#include "stats/core/TextCodec.h"
#include "stats/linux/NetlinkIfTableSource.h"

namespace kuvell {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage: kuvell-ifstat [--help]\n"
    "\n"
    "Prints the network interfaces as Kuvell sees them: one line a row of one\n"
    "snapshot of the interface table, tab-separated under a heading line, then the\n"
    "received and sent byte counters Kuvell takes from it (those of the last row\n"
    "that has a hardware address).\n"
    "\n"
    "Columns: index, name, description, type (IANA ifType), MTU, speed (bit/s),\n"
    "hardware address (\"-\" for none), admin status, operational status, octets\n"
    "received, octets sent.\n"
    "\n"
    "  --help   show this text and exit\n";

struct Options
{
    bool help = false;
};

// nullopt (after a message on stderr) for an argument Kuvell does not know.
std::optional<Options> ParseArguments(std::span<char*> arguments)
{
    Options options;
    for (const std::string_view argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else {
            std::cerr << "kuvell-ifstat: unknown argument \"" << argument
                      << "\"\nTry 'kuvell-ifstat --help'.\n";
            return std::nullopt;
        }
    }
    return options;
}

// Interface names and aliases are outside data: control characters would act on
// the terminal, and tabs or line breaks would break the columns.
std::string Printable(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1Control =
            byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
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

    uint32_t GetIfTable(uint8_t* table, uint32_t& size, bool sort) override
    {
        const uint32_t result = source_->GetIfTable(table, size, sort);
        if (table != nullptr && result == kIfTableOk) {
            recorded_.assign(table, table + size);
        }
        return result;
    }

    std::span<const uint8_t> Recorded() const { return recorded_; }

  private:
    std::shared_ptr<IfTableSource> source_;
    std::vector<uint8_t> recorded_;
};

void PrintRow(const IfRowView& row)
{
    const std::string description = DescriptionText(row);
    const std::string address = AdapterAddressText(PhysicalAddress(row));
    std::cout << row.Unsigned(IfRowField::Index) << '\t' << Printable(Utf16LeToUtf8(row.Name()))
              << '\t' << Printable(description.substr(0, description.find('\0'))) << '\t'
              << row.Unsigned(IfRowField::Type) << '\t' << row.Unsigned(IfRowField::Mtu) << '\t'
              << row.Unsigned(IfRowField::Speed) << '\t' << (address.empty() ? "-" : address)
              << '\t' << row.Unsigned(IfRowField::AdminStatus) << '\t'
              << row.Unsigned(IfRowField::OperStatus) << '\t' << row.Unsigned(IfRowField::InOctets)
              << '\t' << row.Unsigned(IfRowField::OutOctets) << '\n';
}

int PrintSnapshot()
{
    const auto source = std::make_shared<RecordingSource>(std::make_shared<NetlinkIfTableSource>());
    bool failed = false;
    CIpHelper helper(source, [&failed](std::string_view message) {
        std::cerr << "kuvell-ifstat: " << message << '\n';
        failed = true;
    });
    helper.Interfaces();
    if (failed) {
        return kExitFailure;
    }
    std::cout << "index\tname\tdescription\ttype\tmtu\tspeed\taddress\tadmin\toper\tin-octets"
                 "\tout-octets\n";
    const IfTableView table(source->Recorded());
    for (std::size_t i = 0; i < table.RowCount(); ++i) {
        PrintRow(table.Row(i));
    }
    std::cout << "BytesReceived " << helper.BytesReceived() << " BytesSent " << helper.BytesSent()
              << '\n';
    std::cout.flush();
    return std::cout ? kExitOk : kExitFailure;
}

}  // namespace
}  // namespace kuvell

int main(int argc, char** argv)
{
    // argv[0] is the program, when there is one at all.
    const std::span<char*> all(argv, argc > 0 ? static_cast<std::size_t>(argc) : 0);
    const auto options = kuvell::ParseArguments(all.empty() ? all : all.subspan(1));
    if (!options) {
        return kuvell::kExitUsage;
    }
    if (options->help) {
        std::cout << kuvell::kUsage;
        return kuvell::kExitOk;
    }
    return kuvell::PrintSnapshot();
}
