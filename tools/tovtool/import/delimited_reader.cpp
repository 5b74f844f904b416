// A spreadsheet saved as text: comma- or tab-separated, quoted as RFC 4180
// has it. Decoded first, so that a second byte of CP932 never splits a cell.
#include "tools/tovtool/import/import_record.h"
#include "tools/tovtool/import/sheet_rows.h"
#include "tools/tovtool/import/text_encoding.h"

namespace {

struct Cursor {
    std::string_view text;
    std::size_t at;
    int line; // of the character at `at`
};

bool atLineEnd(const Cursor& c) {
    return c.text[c.at] == '\n' || c.text[c.at] == '\r';
}

void skipLineEnd(Cursor& c) {
    if (c.text[c.at] == '\r' && c.at + 1 < c.text.size() && c.text[c.at + 1] == '\n') {
        ++c.at;
    }
    ++c.at;
    ++c.line;
}

// A quoted cell from its opening quote; "" inside stands for one quote, and
// line breaks inside are kept (as LF). Text after the closing quote up to
// the delimiter is kept too, as spreadsheets do.
std::string quotedCell(Cursor& c, char delimiter) {
    std::string cell;
    ++c.at;
    while (c.at < c.text.size()) {
        const char ch = c.text[c.at];
        if (ch == '"') {
            if (c.at + 1 < c.text.size() && c.text[c.at + 1] == '"') {
                cell += '"';
                c.at += 2;
                continue;
            }
            ++c.at;
            break;
        }
        if (atLineEnd(c)) {
            skipLineEnd(c);
            cell += '\n';
            continue;
        }
        cell += ch;
        ++c.at;
    }
    while (c.at < c.text.size() && c.text[c.at] != delimiter && !atLineEnd(c)) {
        cell += c.text[c.at++];
    }
    return cell;
}

std::string plainCell(Cursor& c, char delimiter) {
    const std::size_t from = c.at;
    while (c.at < c.text.size() && c.text[c.at] != delimiter && !atLineEnd(c)) {
        ++c.at;
    }
    return std::string(c.text.substr(from, c.at - from));
}

SheetRow nextRow(Cursor& c, char delimiter) {
    SheetRow row{c.line, {}};
    for (;;) {
        const bool quoted = c.at < c.text.size() && c.text[c.at] == '"';
        row.cells.push_back(quoted ? quotedCell(c, delimiter) : plainCell(c, delimiter));
        if (c.at < c.text.size() && c.text[c.at] == delimiter) {
            ++c.at;
            continue;
        }
        if (c.at < c.text.size()) {
            skipLineEnd(c);
        }
        return row;
    }
}

} // namespace

void readDelimited(std::string_view bytes, char delimiter, ImportBatch& batch) {
    const std::string text = decodeText(bytes);
    Cursor cursor{text, 0, 1};
    std::vector<SheetRow> rows;
    while (cursor.at < text.size()) {
        rows.push_back(nextRow(cursor, delimiter));
    }
    recordsFromRows(rows, "", batch);
}
