// SPDX-License-Identifier: MIT
#include "stats/SystemIfTableSource.h"

#include "stats/core/RetryingIfTableSource.h"
#include "stats/windows/GetIfTableCall.h"

namespace kuvell {

std::shared_ptr<IfTableSource> makeSystemIfTableSource()
{
    return std::make_shared<RetryingIfTableSource>(std::make_shared<GetIfTableCall>());
}

}  // namespace kuvell
