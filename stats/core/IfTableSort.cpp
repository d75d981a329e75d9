// SPDX-License-Identifier: MIT
#include "stats/core/IfTableSort.h"

#include <algorithm>
#include <array>
#include <vector>

#include "stats/core/IfTableView.h"

namespace kuvell {

void sortIfTableByIndex(std::span<uint8_t> table)
{
    using Row = std::array<uint8_t, kIfRowSize>;
    const IfTableView view(table);
    std::vector<Row> rows(view.rowCount());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::ranges::copy(view.Row(i).bytes(), rows[i].begin());
    }
    const auto index = [](const Row& row) {
        return IfRowView(std::span<const uint8_t, kIfRowSize>(row))
            .unsignedField(IfRowField::Index);
    };
    std::ranges::stable_sort(rows, {}, index);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::ranges::copy(rows[i], table.begin() + kIfTableCountSize + i * kIfRowSize);
    }
}

}  // namespace kuvell
