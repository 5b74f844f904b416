// The template's columns: a header row naming them, in Japanese or English,
// in any order; one question per row below it.
#include "tools/tovtool/import/sheet_rows.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

enum Column {
    Genre,
    Format,
    Text,
    Choice1,
    Choice5 = Choice1 + 4,
    Answer,
    Points,
    Explanation,
    Unknown
};

struct ColumnName {
    const char* name;
    Column column;
};

constexpr ColumnName kColumnNames[] = {
    {"ジャンル", Genre},
    {"genre", Genre},
    {"出題形式", Format},
    {"format", Format},
    {"問題文", Text},
    {"question", Text},
    {"選択肢1", Choice1},
    {"choice1", Choice1},
    {"選択肢2", Column(Choice1 + 1)},
    {"choice2", Column(Choice1 + 1)},
    {"選択肢3", Column(Choice1 + 2)},
    {"choice3", Column(Choice1 + 2)},
    {"選択肢4", Column(Choice1 + 3)},
    {"choice4", Column(Choice1 + 3)},
    {"選択肢5", Choice5},
    {"choice5", Choice5},
    {"正解", Answer},
    {"answer", Answer},
    {"配点", Points},
    {"points", Points},
    {"解説文", Explanation},
    {"explanation", Explanation},
};

// The formats by the names the question page shows, or their numbers.
constexpr const char* kFormatNames[] = {"複数選択", "2択問題", "3択問題", "4択問題"};

bool isSpaceAt(const std::string& s, std::size_t i, std::size_t& width) {
    if (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r') {
        width = 1;
        return true;
    }
    width = 3;
    return s.compare(i, 3, "\xE3\x80\x80") == 0; // ideographic space
}

std::string trimmed(const std::string& s) {
    std::size_t from = 0;
    std::size_t to = s.size();
    std::size_t width = 0;
    while (from < to && isSpaceAt(s, from, width)) {
        from += width;
    }
    while (to > from && (std::isspace(static_cast<unsigned char>(s[to - 1])) ||
                         (to - from >= 3 && s.compare(to - 3, 3, "\xE3\x80\x80") == 0))) {
        to -= std::isspace(static_cast<unsigned char>(s[to - 1])) ? 1 : 3;
    }
    return s.substr(from, to - from);
}

// Full-width digits and Latin letters as their ASCII forms, lower case, with
// no spaces: how a header or a code is compared.
std::string folded(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto byte = static_cast<unsigned char>(s[i]);
        // U+FF01 to U+FF5E are EF BC 81 … EF BD 9E.
        if (byte == 0xEF && i + 2 < s.size() &&
            (static_cast<unsigned char>(s[i + 1]) == 0xBC ||
             static_cast<unsigned char>(s[i + 1]) == 0xBD)) {
            const int code = (static_cast<unsigned char>(s[i + 1]) - 0xBC) * 64 +
                             static_cast<unsigned char>(s[i + 2]) - 0x80;
            if (code >= 1 && code <= 0x5E) {
                out += static_cast<char>(std::tolower(0x20 + code));
                i += 2;
                continue;
            }
        }
        if (byte != ' ') {
            out += static_cast<char>(std::tolower(byte));
        }
    }
    return out;
}

Column columnNamed(const std::string& header) {
    const std::string name = folded(trimmed(header));
    for (const ColumnName& c : kColumnNames) {
        if (name == c.name) {
            return c.column;
        }
    }
    return Unknown;
}

bool isBlankRow(const SheetRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const std::string& cell) { return trimmed(cell).empty(); });
}

const std::string& cellAt(const SheetRow& row, int index) {
    static const std::string kEmpty;
    return index >= 0 && static_cast<std::size_t>(index) < row.cells.size()
               ? row.cells[static_cast<std::size_t>(index)]
               : kEmpty;
}

// 0 for a name the format column does not take.
int formatNamed(const std::string& cell) {
    const std::string name = folded(cell);
    for (int format = 1; format <= 4; ++format) {
        if (name == kFormatNames[format - 1] || name == std::to_string(format)) {
            return format;
        }
    }
    return 0;
}

// The separators a teacher puts between several answers.
bool isAnswerSeparator(const std::string& s, std::size_t i, std::size_t& width) {
    width = 1;
    if (s[i] == ',' || s[i] == ' ' || s[i] == ';' || s[i] == '/') {
        return true;
    }
    width = 3;
    return s.compare(i, 3, "、") == 0 || s.compare(i, 3, "・") == 0 || s.compare(i, 3, "，") == 0 ||
           s.compare(i, 3, "\xE3\x80\x80") == 0;
}

// The choice numbers of 正解 ("1,3", "A C", "２・４"). False for a token that
// names no choice; a number past 5 is kept, for the step into tov to judge.
bool answerChoices(const std::string& cell, std::vector<int>& marks) {
    std::string token;
    const auto take = [&]() {
        if (token.empty()) {
            return true;
        }
        const std::string t = folded(token);
        token.clear();
        if (t.size() == 1 && t[0] >= 'a' && t[0] <= 'e') {
            marks.push_back(t[0] - 'a' + 1);
            return true;
        }
        if (t.empty() || t.size() > 3 ||
            !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return false;
        }
        const int number = std::atoi(t.c_str());
        if (number < 1) {
            return false;
        }
        marks.push_back(number);
        return true;
    };
    std::size_t width = 0;
    for (std::size_t i = 0; i < cell.size(); i += width) {
        if (isAnswerSeparator(cell, i, width)) {
            if (!take()) {
                return false;
            }
        } else {
            width = 1;
            token += cell[i];
        }
    }
    return take();
}

// A number as a spreadsheet writes one: "2", "1.5", full-width digits.
bool pointsNumber(const std::string& cell, double& points) {
    const std::string t = folded(trimmed(cell));
    if (t.empty() || t.size() > 12 || t.find_first_of("0123456789") == std::string::npos ||
        t.find_first_not_of("0123456789.+-") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    points = std::strtod(t.c_str(), &end);
    return end == t.c_str() + t.size();
}

struct Layout {
    int columns[Unknown]; // the cell index of each column, -1 when absent
};

Layout layoutOf(const SheetRow& header, const std::string& sheet, ImportBatch& batch) {
    Layout layout;
    std::fill(std::begin(layout.columns), std::end(layout.columns), -1);
    for (std::size_t i = 0; i < header.cells.size(); ++i) {
        const Column column = columnNamed(header.cells[i]);
        if (column != Unknown && layout.columns[column] < 0) {
            layout.columns[column] = static_cast<int>(i);
        } else if (!trimmed(header.cells[i]).empty()) {
            const std::string letters = columnLetters(static_cast<int>(i));
            batch.notes.push_back(
                {{header.line,
                  sheet.empty() ? "" : sheet + "!" + letters + std::to_string(header.line)},
                 Msg::UnknownColumn,
                 {trimmed(header.cells[i]), letters}});
        }
    }
    return layout;
}

ImportRecord recordOf(const SheetRow& row, const Layout& layout, const std::string& sheet) {
    const auto cell = [&](Column c) -> const std::string& {
        return cellAt(row, layout.columns[c]);
    };
    ImportRecord record;
    record.place.line = row.line;
    if (!sheet.empty()) {
        record.place.cell =
            sheet + "!" + columnLetters(layout.columns[Text]) + std::to_string(row.line);
    }
    record.genre = cell(Genre);
    record.text = cell(Text);
    record.explanation = cell(Explanation);
    for (int c = Choice1; c <= Choice5; ++c) {
        record.choices.push_back(cell(Column(c)));
    }
    const std::string format = trimmed(cell(Format));
    if (!format.empty() && (record.format = formatNamed(format)) == 0) {
        record.skip = Msg::SkipFormatUnknown;
        record.skipArgs = {format};
    }
    std::vector<int> marks;
    if (!answerChoices(trimmed(cell(Answer)), marks)) {
        record.skip = Msg::SkipAnswerUnreadable;
        record.skipArgs = {trimmed(cell(Answer))};
        marks.clear();
    }
    record.credit.assign(record.choices.size(), 0.0);
    for (const int mark : marks) {
        if (static_cast<std::size_t>(mark) > record.credit.size()) {
            record.credit.resize(static_cast<std::size_t>(mark), 0.0);
        }
        record.credit[static_cast<std::size_t>(mark - 1)] = 100;
    }
    const std::string points = trimmed(cell(Points));
    record.hasPoints = !points.empty();
    if (record.hasPoints && !pointsNumber(points, record.points)) {
        record.skip = Msg::SkipPointsUnreadable;
        record.skipArgs = {points};
    }
    return record;
}

} // namespace

std::string columnLetters(int index) {
    std::string letters;
    for (int n = index + 1; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters;
}

bool isTemplateHeader(const std::vector<std::string>& row) {
    bool text = false;
    bool answer = false;
    for (const std::string& cell : row) {
        text = text || columnNamed(cell) == Text;
        answer = answer || columnNamed(cell) == Answer;
    }
    return text && answer;
}

void recordsFromRows(const std::vector<SheetRow>& rows, const std::string& sheet,
                     ImportBatch& batch) {
    auto header = std::find_if(rows.begin(), rows.end(),
                               [](const SheetRow& row) { return !isBlankRow(row); });
    if (header == rows.end()) {
        batch.error = Msg::NoQuestionColumn;
        return;
    }
    const Layout layout = layoutOf(*header, sheet, batch);
    if (layout.columns[Text] < 0 || layout.columns[Answer] < 0) {
        batch.notes.clear();
        batch.error = layout.columns[Text] < 0 ? Msg::NoQuestionColumn : Msg::NoAnswerColumn;
        return;
    }
    for (auto row = header + 1; row != rows.end(); ++row) {
        if (!isBlankRow(*row)) {
            batch.records.push_back(recordOf(*row, layout, sheet));
        }
    }
}
