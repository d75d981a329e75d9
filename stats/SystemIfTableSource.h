// SPDX-License-Identifier: MIT
#pragma once
// The interface table of the system Kuvell runs on.
#include <memory>

#include "stats/core/IfTableSource.h"

namespace kuvell {

std::shared_ptr<IfTableSource> makeSystemIfTableSource();

}  // namespace kuvell
