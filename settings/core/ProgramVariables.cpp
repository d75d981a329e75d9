// SPDX-License-Identifier: MIT
#include "settings/core/ProgramVariables.h"

namespace kuvell {

std::optional<int16_t> transparencyAlpha(int32_t level)
{
    if (level < 0 || level >= static_cast<int32_t>(kTransparencyAlpha.size())) return std::nullopt;
    return kTransparencyAlpha[static_cast<std::size_t>(level)];
}

}  // namespace kuvell
