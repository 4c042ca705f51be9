#pragma once
// The clip index: the chooser's hidden two-column table `grid` (display name, file name) per item.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

// Rows nobody wrote cost nothing: a table may claim two billion rows and hold only a few.
class ClipIndex {
public:
    static constexpr int kColumns = 2;
    // Column 0 holds the display name, column 1 the file name.
    using RowPredicate = std::function<bool(const std::string& displayName, const std::string& fileName)>;

    static constexpr int kDisplayNameColumn = 0;
    static constexpr int kFileNameColumn = 1;

    // The cell's text; empty for a cell never written or outside the table.
    const std::string& GetCell(int column, int row) const;
    // What the chooser's list shows for the item, and its file's bare name.
    const std::string& DisplayName(int row) const { return GetCell(kDisplayNameColumn, row); }
    const std::string& FileName(int row) const { return GetCell(kFileNameColumn, row); }
    // Throws std::out_of_range for a cell outside the table.
    void SetCell(int column, int row, std::string_view text);
    int RowCount() const noexcept { return rowCount_; }
    // n below 1 counts as 1; rows added are empty, rows beyond n are dropped.
    void SetRowCount(int n);
    // Later rows move up; removing the only row leaves the empty index. Throws std::out_of_range.
    void RemoveRow(int row);
    // Empties every cell; the row count stays.
    void Clear() noexcept;
    // Into row 0 when the index is empty, else into a new last row.
    void AppendItem(std::string_view displayName, std::string_view fileName);
    // Makes room for `rows` written rows ahead of a bulk load; a hint only.
    void Reserve(std::size_t rows) { rows_.reserve(rows); }
    // One row whose file name is empty.
    bool IsEmpty() const noexcept;
    // Removes the rows that "remove the first matching row, while the index is not empty" would,
    // in one pass; returns how many removals that makes. `stale` must depend on the cells only.
    int RemoveRowsWhere(const RowPredicate& stale);

    // Rows holding at least one written cell, in row order (what a writer needs to visit).
    struct StoredRow {
        int index;
        std::string cells[kColumns];
    };
    const std::vector<StoredRow>& StoredRows() const noexcept { return rows_; }

private:
    // Position in rows_ of the stored row `row`, or the position where it would go.
    std::size_t Find(int row) const noexcept;

    std::vector<StoredRow> rows_;  // sorted by index, all indexes below rowCount_
    int rowCount_ = 1;
};

}  // namespace tessera
