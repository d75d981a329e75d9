// SPDX-License-Identifier: MIT
// Feeds raw bytes to InterfaceTable as the interface table, with the size report
// and both result codes drawn from the input as well.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "stats/core/IfTableSort.h"
#include "stats/core/InterfaceTable.h"
#include "support/ScriptedTableSource.h"

namespace {

// Result codes the fuzzer picks from: the meaningful ones and a stray one.
kuvell::IfTableResult resultCode(uint8_t choice)
{
    constexpr kuvell::IfTableResult kCodes[] = {
        kuvell::IfTableResult::Ok, kuvell::IfTableResult::NotSupported,
        kuvell::IfTableResult::BufferTooSmall, static_cast<kuvell::IfTableResult>(0xFFFFFFFFu)};
    return kCodes[choice % 4];
}

uint32_t take32(std::span<const uint8_t>& input)
{
    uint32_t value = 0;
    const std::size_t n = std::min<std::size_t>(4, input.size());
    std::memcpy(&value, input.data(), n);
    input = input.subspan(n);
    return value;
}

uint8_t take8(std::span<const uint8_t>& input)
{
    if (input.empty()) {
        return 0;
    }
    const uint8_t value = input.front();
    input = input.subspan(1);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::span<const uint8_t> input(data, size);
    // Small size reports are the interesting ones; the high bit opens the full range.
    const uint32_t raw = take32(input);
    const uint32_t reported = (raw & 0x80000000u) != 0 ? raw : raw % 70000;
    const kuvell::IfTableResult sizeResult = resultCode(take8(input));
    const kuvell::IfTableResult fillResult = resultCode(take8(input));
    const uint32_t sizeAfterFill = take32(input);

    auto source = std::make_shared<kuvell::testsupport::ScriptedTableSource>();
    source->reportedSize = reported;
    source->sizeResult = sizeResult;
    source->fillResult = fillResult;
    source->sizeWrittenOnFill = sizeAfterFill;  // a source may claim anything afterwards
    source->table.assign(input.begin(), input.end());
    int messages = 0;
    kuvell::InterfaceTable helper(source, [&messages](std::string_view) { ++messages; });
    const auto records = helper.interfaces();
    if (records->count() == 0 && (helper.bytesReceived() != 0 || helper.bytesSent() != 0)) {
        __builtin_trap();  // counters without a row to come from
    }
    if (messages > 1) {
        __builtin_trap();
    }

    std::vector<uint8_t> sortable(input.begin(), input.end());
    kuvell::sortIfTableByIndex(sortable);
    return 0;
}
