// SPDX-License-Identifier: MIT
#include "stats/windows/GetIfTableCall.h"

// winsock2.h must come before the headers that include windows.h.
// clang-format off
#include <winsock2.h>
#include <iphlpapi.h>
// clang-format on

#include <cstddef>

#include "stats/core/IfTableLayout.h"

namespace kuvell {

static_assert(sizeof(MIB_IFROW) == kIfRowSize);
static_assert(offsetof(MIB_IFTABLE, table) == kIfTableCountSize);
static_assert(offsetof(MIB_IFROW, dwInOctets) == static_cast<std::size_t>(IfRowField::InOctets));
static_assert(offsetof(MIB_IFROW, bDescr) == kIfRowDescrOffset);

IfTableResult GetIfTableCall::getIfTable(uint8_t* table, uint32_t& size, bool sort)
{
    ULONG windowsSize = size;
    const DWORD result =
        ::GetIfTable(reinterpret_cast<MIB_IFTABLE*>(table), &windowsSize, sort ? TRUE : FALSE);
    size = windowsSize;
    return static_cast<IfTableResult>(result);
}

}  // namespace kuvell
