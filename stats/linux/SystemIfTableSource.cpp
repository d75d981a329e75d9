// SPDX-License-Identifier: MIT
#include "stats/SystemIfTableSource.h"

#include "stats/linux/NetlinkIfTableSource.h"

namespace kuvell {

std::shared_ptr<IfTableSource> makeSystemIfTableSource()
{
    return std::make_shared<NetlinkIfTableSource>();
}

}  // namespace kuvell
