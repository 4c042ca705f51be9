#pragma once
// The clip index as a list of (display name, file name) rows, for comparisons in tests.
#include <string>
#include <utility>
#include <vector>

#include "store/clip_index.h"

namespace tessera::testing {

using Rows = std::vector<std::pair<std::string, std::string>>;

inline Rows RowsOf(const ClipIndex& index) {
    Rows rows;
    for (int r = 0; r < index.RowCount(); ++r) rows.emplace_back(index.GetCell(0, r), index.GetCell(1, r));
    return rows;
}

}  // namespace tessera::testing
