// SPDX-License-Identifier: MIT
#pragma once
// iphlpapi's GetIfTable as a table source: every call goes to Windows, which
// fills the table in the very layout the parser reads.
#include <cstdint>

#include "stats/core/IfTableSource.h"

namespace kuvell {

class GetIfTableCall : public IfTableSource
{
  public:
    IfTableResult getIfTable(uint8_t* table, uint32_t& size, bool sort) override;
};

}  // namespace kuvell
