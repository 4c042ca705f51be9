#include "store/index_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tessera {

// Layout: a header "2,<rows>", one width line per column ("cw <column>,64"), then one line
// "<column>,<row>,<text>" per non-empty cell, row by row, column 0 first. Every line ends with
// CR LF. A cell holding a CR would end its line early, so such a text is written with TAB for CR
// and BS for LF; the reader undoes that only when it sees a BS, and keeps a cell to one line.

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendNumber(std::string& out, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void AppendCellText(std::string& out, const std::string& text) {
    if (text.find('\r') == std::string::npos) {
        out += text;
        return;
    }
    for (const char c : text) out += c == '\r' ? '\t' : c == '\n' ? '\b' : c;
}

// Reads a number at `at`: optional blanks, an optional sign, then digits up to the first other
// character. No digits read as 0; values beyond 32 bits are clamped.
int ParseNumber(const char*& at, const char* end) {
    const char* p = at;  // a local pointer keeps the loops in registers
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    while (p < end && *p == '0') ++p;
    // More than ten significant digits is past 32 bits whatever they are; fewer cannot overflow
    // 64 bits, so the loop needs no test of its own.
    const char* const first = p;
    std::uint64_t value = 0;
    for (; p < end && static_cast<unsigned char>(*p - '0') < 10; ++p)
        value = value * 10 + static_cast<unsigned char>(*p - '0');
    const std::uint64_t limit = negative ? std::uint64_t{INT32_MAX} + 1 : INT32_MAX;
    if (p - first > 10 || value > limit) value = limit;
    at = p;
    return negative ? static_cast<int>(-static_cast<std::int64_t>(value)) : static_cast<int>(value);
}

int ReadNumber(std::string_view field) {
    const char* p = field.data();
    return ParseNumber(p, p + field.size());
}

// Takes the number before the first comma off `rest`, comma included. Without a comma the
// number is 0 and `rest` stays whole. One pass: the digits are read on the way to the comma.
int TakeNumber(std::string_view& rest) {
    const char* p = rest.data();
    const char* const end = p + rest.size();
    // The writer's form first: at most nine digits (no overflow possible) right before the comma.
    unsigned fast = 0;
    const char* q = p;
    for (; q < end && q - p < 9 && static_cast<unsigned char>(*q - '0') < 10; ++q)
        fast = fast * 10 + static_cast<unsigned char>(*q - '0');
    if (q > p && q < end && *q == ',') {
        rest.remove_prefix(static_cast<std::size_t>(q + 1 - p));
        return static_cast<int>(fast);
    }
    const int value = ParseNumber(p, end);
    while (p < end && *p != ',') ++p;
    if (p == end) return 0;
    rest.remove_prefix(static_cast<std::size_t>(p + 1 - rest.data()));
    return value;
}

// Stores a cell line's text. A BS says the text was written with TAB for CR and BS for LF;
// the cell then keeps what comes before the first line break. `mayHoldBackspace` false says the
// whole file has none, which spares a search per line.
void StoreCellText(ClipIndex& index, int column, int row, std::string_view text, bool mayHoldBackspace = true) {
    if (!mayHoldBackspace || text.find('\b') == std::string_view::npos) {
        index.SetCell(column, row, text);
        return;
    }
    std::string decoded(text.substr(0, text.find('\t')));
    std::replace(decoded.begin(), decoded.end(), '\b', '\n');
    index.SetCell(column, row, decoded);
}

// Lines end at CR, and an LF right after it belongs to the line end; a lone LF is text.
bool NextLine(std::string_view& rest, std::string_view& line) {
    if (rest.empty()) return false;
    const char* const begin = rest.data();
    const char* const end = begin + rest.size();
    const void* cr = std::memchr(begin, '\r', rest.size());
    const char* p = cr ? static_cast<const char*>(cr) : end;
    line = std::string_view(begin, static_cast<std::size_t>(p - begin));
    if (p < end) ++p;
    if (p < end && *p == '\n') ++p;
    rest = std::string_view(p, static_cast<std::size_t>(end - p));
    return true;
}

struct CellWrite {
    int row;
    int column;
    std::string_view text;  // as in the file
};

// Rebuilds the table in row order from its rows and the waiting lines. A waiting line was read
// after every line that filled the table so far, so it goes in after the row's stored text, and
// waiting lines naming the same cell keep their order: the last line naming a cell wins, as if
// all lines had been stored as they came. The lines read after a waiting one name later rows
// than it, so they cannot be overwritten by it.
void MergeLateWrites(std::vector<CellWrite>& late, ClipIndex& index) {
    std::stable_sort(late.begin(), late.end(), [](const CellWrite& a, const CellWrite& b) { return a.row < b.row; });
    ClipIndex merged;
    merged.SetRowCount(index.RowCount());
    merged.Reserve(index.StoredRows().size() + late.size());
    auto next = late.begin();
    const auto writeLateUpTo = [&](int row) {
        for (; next != late.end() && next->row <= row; ++next)
            StoreCellText(merged, next->column, next->row, next->text);
    };
    for (const auto& stored : index.StoredRows()) {
        writeLateUpTo(stored.index - 1);
        for (int column = 0; column < ClipIndex::kColumns; ++column)
            merged.SetCell(column, stored.index, stored.cells[column]);
        writeLateUpTo(stored.index);
    }
    writeLateUpTo(index.RowCount());
    index = std::move(merged);
}

}  // namespace

std::string EncodeIndexFile(const ClipIndex& index) {
    const auto& rows = index.StoredRows();
    std::size_t size = 40;
    for (const auto& row : rows) size += 2 * 16 + row.cells[0].size() + row.cells[1].size();
    std::string out;
    out.reserve(size);

    out += "2,";
    AppendNumber(out, index.RowCount());
    out += kLineEnd;
    for (int column = 0; column < ClipIndex::kColumns; ++column) {
        out += "cw ";
        AppendNumber(out, column);
        out += ",64";
        out += kLineEnd;
    }
    // Rows never written are empty and have no lines.
    for (const auto& row : rows) {
        for (int column = 0; column < ClipIndex::kColumns; ++column) {
            if (row.cells[column].empty()) continue;
            AppendNumber(out, column);
            out += ',';
            AppendNumber(out, row.index);
            out += ',';
            AppendCellText(out, row.cells[column]);
            out += kLineEnd;
        }
    }
    return out;
}

// The reader is lenient: a byte 26 ends the file, missing commas read as 0, fields without
// digits as 0, and lines naming a cell outside the header's counts are skipped (so is a line
// with a negative column or row, which no writer produces). The header's column count serves
// only that range test: the table keeps its two columns. Cells no line names keep their text.
void DecodeIndexFile(std::string_view bytes, ClipIndex& index) {
    bytes = bytes.substr(0, bytes.find('\x1a'));

    std::string_view line;
    if (!NextLine(bytes, line)) return;
    int columnLimit = ClipIndex::kColumns;
    if (!line.empty()) {
        columnLimit = std::max(TakeNumber(line), 1);
        index.SetRowCount(ReadNumber(line));  // counts below 1 count as 1
    }
    columnLimit = std::min(columnLimit, ClipIndex::kColumns);
    const int rowLimit = index.RowCount();

    // The writer's files name each row in one or two lines, in row order: room for the rows is
    // made once (no more than the bytes could name: a header may claim billions), and in-order
    // lines go straight into the table. A line naming an earlier row waits (inserting it would
    // move every row after it), and the waiting lines are merged in at the end.
    index.Reserve(std::min(static_cast<std::size_t>(rowLimit), bytes.size() / 4 + 1));
    std::vector<CellWrite> late;
    const bool mayHoldBackspace = bytes.find('\b') != std::string_view::npos;
    int lastRow = 0;
    while (NextLine(bytes, line)) {
        if (line.starts_with("cw")) continue;  // column widths: the table has no use for them
        const int column = TakeNumber(line);
        const int row = TakeNumber(line);
        if (column < 0 || row < 0 || column >= columnLimit || row >= rowLimit) continue;
        if (row >= lastRow) {
            StoreCellText(index, column, row, line, mayHoldBackspace);
            lastRow = row;
        } else {
            late.push_back(CellWrite{row, column, line});
        }
    }
    if (!late.empty()) MergeLateWrites(late, index);
}

void SaveIndexFile(FileSystem& fs, const ClipIndex& index, const std::string& path) {
    if (!fs.ReplaceContents(path, EncodeIndexFile(index))) throw std::runtime_error("Cannot Create " + path);
}

// An index the user emptied (every item deleted, every row stale) leaves no file behind, as the
// clear command leaves none: an old file would bring its rows back at the next start.
void SaveIndex(FileSystem& fs, const ClipIndex& index, const std::string& path) {
    if (!index.IsEmpty())
        SaveIndexFile(fs, index, path);
    else if (!fs.RemoveFile(path))
        throw std::runtime_error("Cannot Create " + path);
}

void LoadIndexFile(FileSystem& fs, ClipIndex& index, const std::string& path) {
    const auto bytes = fs.ReadAll(path);
    if (!bytes) throw std::runtime_error("Cannot open file " + path);
    DecodeIndexFile(*bytes, index);
}

}  // namespace tessera
