// SPDX-License-Identifier: MIT
#include "monitor/core/InterfaceMenu.h"

#include <algorithm>

#include "settings/core/TextConversions.h"
#include "stats/core/IfTableParser.h"
#include "stats/core/TextCodec.h"

namespace kuvell {
namespace {

// A name or a description may hold anything (an alias is free text); a
// caption is one line of a readable length.
constexpr std::size_t kLongestCaptionText = 60;

std::string oneShortLine(std::string_view text)
{
    std::string line;
    const std::string_view kept = utf8Prefix(text, kLongestCaptionText);
    for (const char byte : kept) {
        const auto code = static_cast<unsigned char>(byte);
        line.push_back(code < 0x20 || code == 0x7F ? ' ' : byte);
    }
    if (kept.size() < text.size()) line.append("…");
    return line;
}

// Windows reports "connected" (4) or "operational" (5); Linux gives 5 to a
// running interface.
bool isUp(const IfRowView& row)
{
    const int32_t status = row.signedField(IfRowField::OperStatus);
    return status == 4 || status == 5;
}

InterfaceMenuEntry rowEntry(const IfRowView& row, bool ticked)
{
    const std::string name = interfaceNameText(row);
    const std::string description = shownDescriptionText(row);
    // The description first: on Windows the name is a device path.
    std::string caption = oneShortLine(description.empty() ? name : description);
    if (!description.empty() && !name.empty() && description != name) {
        caption.append(" (").append(oneShortLine(name)).append(")");
    }
    caption.append(isUp(row) ? " – uppe" : " – nere");
    // A row without a name has nothing to store that would find it again.
    return {std::move(caption), ticked,
            name.empty() ? std::nullopt : std::optional<std::string>(name)};
}

}  // namespace

std::vector<InterfaceMenuEntry> interfaceMenu(const IfTableView& table, std::string_view chosen,
                                              std::size_t rows)
{
    rows = std::max<std::size_t>(rows, 1);
    std::vector<InterfaceMenuEntry> entries;
    entries.push_back({std::string(kAutomaticInterfaceCaption), chosen.empty(), std::string()});
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    const std::size_t chosenRow =
        chosen.empty() ? kNone : counterRowIndex(table, chosen).value_or(kNone);
    const std::size_t count = table.rowCount();
    // Past the limit the chosen row takes the last place, wherever it lies.
    const bool chosenBeyond = chosenRow != kNone && chosenRow >= rows && count > rows;
    const std::size_t leading = count <= rows ? count : rows - (chosenBeyond ? 1 : 0);
    for (std::size_t i = 0; i < leading; ++i) {
        entries.push_back(rowEntry(table.Row(i), chosenRow == i));
    }
    if (chosenBeyond) {
        entries.push_back(rowEntry(table.Row(chosenRow), true));
    }
    if (!chosen.empty() && chosenRow == kNone) {
        entries.push_back({oneShortLine(chosen) + " – saknas", true, std::string(chosen)});
    }
    if (count > rows) {
        entries.push_back(
            {"Ytterligare " + integerToText(static_cast<int64_t>(count - rows)) + " visas inte",
             false, std::nullopt});
    }
    return entries;
}

}  // namespace kuvell
