// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include "support/ScriptedTableSource.h"
#include "support/TableWriter.h"

namespace kuvell::testsupport {

// One Ethernet-like row whose counters the test sets before each tick.
struct OneRowTable : ScriptedTableSource
{
    IfTableResult getIfTable(uint8_t* buffer, uint32_t& size, bool sort) override
    {
        ++calls;
        sizeResult = notSupported ? IfTableResult::NotSupported : IfTableResult::BufferTooSmall;
        TestTable rows;
        rows.addRow().physAddr({0x02}).inOctets(received).outOctets(sent).name(name);
        table = rows.bytes();
        return ScriptedTableSource::getIfTable(buffer, size, sort);
    }

    std::string name;
    bool notSupported = false;
    uint32_t received = 0;
    uint32_t sent = 0;
    int calls = 0;
};

}  // namespace kuvell::testsupport
