// SPDX-License-Identifier: MIT
#pragma once
// A table call whose answers a test (or the fuzzer) scripts, and which records
// how it was called.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "stats/core/IfTableSource.h"

namespace kuvell::testsupport {

struct ScriptedTableSource : IfTableSource
{
    IfTableResult sizeResult = IfTableResult::BufferTooSmall;
    std::optional<uint32_t> reportedSize;  // default: the table's size
    IfTableResult fillResult = IfTableResult::Ok;
    std::optional<uint32_t> sizeWrittenOnFill;
    std::vector<uint8_t> table;

    int sizeQueries = 0;
    int fills = 0;
    std::vector<uint32_t> sizesPassed;
    bool sortRequested = false;

    IfTableResult getIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        sortRequested = sortRequested || sort;
        sizesPassed.push_back(size);
        if (buffer == nullptr) {
            ++sizeQueries;
            size = reportedSize.value_or(static_cast<uint32_t>(table.size()));
            return sizeResult;
        }
        ++fills;
        // Writes only what the caller says its buffer holds.
        std::copy_n(table.begin(), std::min<std::size_t>(size, table.size()), buffer);
        size = sizeWrittenOnFill.value_or(size);
        return fillResult;
    }
};

}  // namespace kuvell::testsupport
