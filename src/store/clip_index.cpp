#include "store/clip_index.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>

namespace tessera {

// The table keeps only the rows that were written, sorted by row number, plus the row count.
// Everything else reads as empty. A row's position in rows_ is never above its number, so a
// table written densely from row 0 finds row r at position r at once; sparse tables fall back to
// a binary search.

namespace {
const std::string kEmpty;

bool InTable(int column, int row, int rowCount) {
    return column >= 0 && column < ClipIndex::kColumns && row >= 0 && row < rowCount;
}
}  // namespace

std::size_t ClipIndex::Find(int row) const noexcept {
    const auto r = static_cast<std::size_t>(row);
    if (r < rows_.size() && rows_[r].index == row) return r;
    const auto end = rows_.begin() + static_cast<std::ptrdiff_t>(std::min(r, rows_.size()));
    const auto it =
        std::lower_bound(rows_.begin(), end, row, [](const StoredRow& s, int value) { return s.index < value; });
    return static_cast<std::size_t>(it - rows_.begin());
}

const std::string& ClipIndex::GetCell(int column, int row) const {
    if (!InTable(column, row, rowCount_)) return kEmpty;
    const std::size_t at = Find(row);
    return at < rows_.size() && rows_[at].index == row ? rows_[at].cells[column] : kEmpty;
}

void ClipIndex::SetCell(int column, int row, std::string_view text) {
    if (!InTable(column, row, rowCount_)) throw std::out_of_range("clip index cell outside the table");
    // Rows are mostly written in order, so appending is the common case.
    if (rows_.empty() || rows_.back().index < row) {
        if (text.empty()) return;
        StoredRow& added = rows_.emplace_back();
        added.index = row;
        added.cells[column] = text;
        return;
    }
    if (rows_.back().index == row) {  // the other cell of the row just added
        rows_.back().cells[column] = text;
        return;
    }
    const std::size_t at = Find(row);
    if (rows_[at].index == row) {
        rows_[at].cells[column] = text;
    } else if (!text.empty()) {
        const auto it = rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), StoredRow{row, {}});
        it->cells[column] = text;
    }
}

void ClipIndex::SetRowCount(int n) {
    rowCount_ = std::max(n, 1);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(Find(rowCount_)), rows_.end());
}

void ClipIndex::RemoveRow(int row) {
    if (!InTable(0, row, rowCount_)) throw std::out_of_range("clip index row outside the table");
    if (rowCount_ == 1) {
        rows_.clear();
        return;
    }
    std::size_t at = Find(row);
    if (at < rows_.size() && rows_[at].index == row) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
    for (; at < rows_.size(); ++at) --rows_[at].index;
    --rowCount_;
}

void ClipIndex::Clear() noexcept { rows_.clear(); }

void ClipIndex::AppendItem(std::string_view displayName, std::string_view fileName) {
    int row = 0;
    if (!IsEmpty()) {
        if (rowCount_ == INT_MAX) throw std::length_error("clip index full");
        row = rowCount_++;
    }
    SetCell(1, row, fileName);
    SetCell(0, row, displayName);
}

bool ClipIndex::IsEmpty() const noexcept { return rowCount_ == 1 && GetCell(1, 0).empty(); }

// The loop this replaces finds the first stale row from the top, removes it and looks again.
// Rows above a removed one were already found fresh, so one pass from the top removes the same
// rows, with one exception: the loop stops once the table is the empty index. That can only
// happen when a single row is left, that is when nothing above was kept and the pass reaches
// the last row: if that row's file name is empty it stays as it is, else it is tested like the
// others (and removing it leaves the empty index).
//
// Rows never written are all alike, so the predicate sees an empty row once and whole runs of
// them are kept or removed at a time: a huge claimed row count costs nothing.
int ClipIndex::RemoveRowsWhere(const RowPredicate& stale) {
    const std::int64_t lastRow = rowCount_ - 1;
    const bool blankIsStale = stale(kEmpty, kEmpty);
    std::int64_t removed = 0;
    std::int64_t kept = 0;
    std::int64_t next = 0;  // first row not looked at yet

    // A run of never-written rows [next, end).
    auto passBlankRun = [&](std::int64_t end) {
        if (end <= next) return;
        std::int64_t count = end - next;
        if (!blankIsStale) {
            kept += count;
        } else {
            if (kept == 0 && end - 1 == lastRow) --count;  // the last row stays, see above
            removed += count;
        }
        next = end;
    };

    std::size_t out = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        StoredRow& row = rows_[i];
        passBlankRun(row.index);
        const bool onlyRowLeft = kept == 0 && row.index == lastRow;
        const bool remove = !(onlyRowLeft && row.cells[1].empty()) && stale(row.cells[0], row.cells[1]);
        next = std::int64_t{row.index} + 1;
        if (remove) {
            ++removed;
            continue;
        }
        ++kept;
        row.index = static_cast<int>(row.index - removed);
        if (out != i) rows_[out] = std::move(row);
        ++out;
    }
    passBlankRun(std::int64_t{rowCount_});
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(out), rows_.end());
    // Removing every row leaves the empty index: one row, no text.
    rowCount_ = static_cast<int>(std::max<std::int64_t>(rowCount_ - removed, 1));
    return static_cast<int>(removed);
}

}  // namespace tessera
