#include "tools/tovtool/line_scan.h"

#include "model/file_open.h"
#include "model/question_set.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

enum class Kind { Number, Text, RestOfLine };

struct FieldLayout {
    const char* name;
    Kind kind;
    std::size_t size; // of the model field, terminator included
};

constexpr FieldLayout number(const char* name) {
    return {name, Kind::Number, 0};
}
constexpr FieldLayout name(const char* name) {
    return {name, Kind::Text, kNameSize};
}
constexpr FieldLayout longText(const char* name) {
    return {name, Kind::Text, kLongTextSize};
}

constexpr FieldLayout kLine1[] = {name("title"), number("presentationMode"),
                                  number("presentedCount"), number("rankCount"),
                                  number("genreCount")};
constexpr FieldLayout kLine2[] = {name("genre name 1"), name("genre name 2"), name("genre name 3"),
                                  name("genre name 4"), name("genre name 5")};
constexpr FieldLayout kLine3[] = {number("genre quota 1"), number("genre quota 2"),
                                  number("genre quota 3"), number("genre quota 4"),
                                  number("genre quota 5")};
constexpr FieldLayout kLine4[] = {name("rank name 1"), name("rank name 2"), name("rank name 3"),
                                  name("rank name 4"), name("rank name 5")};
constexpr FieldLayout kLine5[] = {number("threshold 1"), number("threshold 2"),
                                  number("threshold 3"), number("threshold 4")};
constexpr FieldLayout kLine6[] = {longText("rank comment 1"), longText("rank comment 2"),
                                  longText("rank comment 3"), longText("rank comment 4"),
                                  longText("rank comment 5")};
constexpr FieldLayout kQuestionLine[] = {
    number("questionId"),    number("format"), number("genre"),
    longText("text"),        number("answer"), number("points"),
    longText("explanation"), name("choice 1"), name("choice 2"),
    name("choice 3"),        name("choice 4"), {"choice 5", Kind::RestOfLine, kNameSize}};

struct LineLayout {
    const FieldLayout* fields;
    int count;
    int extraNumbers; // further numbers the reader's scan format takes and ignores
};

template <std::size_t N>
constexpr LineLayout lineLayout(const FieldLayout (&fields)[N], int extra = 0) {
    return {fields, static_cast<int>(N), extra};
}

LineLayout layoutOf(int line) {
    switch (line) {
    case 1:
        return lineLayout(kLine1);
    case 2:
        return lineLayout(kLine2);
    case 3:
        return lineLayout(kLine3);
    case 4:
        return lineLayout(kLine4);
    case 5:
        return lineLayout(kLine5, 1);
    case 6:
        return lineLayout(kLine6);
    default:
        return lineLayout(kQuestionLine);
    }
}

// A line without its LF. CR and zero bytes are skipped wherever they are,
// as the readers skip them.
struct Cursor {
    const char* at;
    const char* end;
};

int peek(Cursor& c) {
    while (c.at < c.end && (*c.at == '\r' || *c.at == '\0')) {
        ++c.at;
    }
    return c.at < c.end ? static_cast<unsigned char>(*c.at) : -1;
}

bool isBlank(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f';
}

bool isDigit(int byte) {
    return byte >= '0' && byte <= '9';
}

// What a field holds, up to its comma, for quoting: 40 bytes at most, never
// half a character.
std::string quoted(Cursor c) {
    constexpr std::size_t kQuoteBytes = 40;
    std::string bytes;
    for (int byte; (byte = peek(c)) != -1 && byte != ',' && bytes.size() < kQuoteBytes; ++c.at) {
        bytes += static_cast<char>(byte);
    }
    std::size_t whole = 0;
    while (whole < bytes.size()) {
        const std::size_t size = isLeadByte(static_cast<unsigned char>(bytes[whole])) ? 2 : 1;
        if (whole + size > bytes.size()) {
            break;
        }
        whole += size;
    }
    const bool more = whole < bytes.size() || (peek(c) != -1 && peek(c) != ',');
    std::string out = "\"";
    appendUtf8(bytes.data(), whole, out);
    out += more ? "...\"" : "\"";
    return out;
}

// Bytes of a text field up to its comma (or the line end), skipped bytes
// not counted. Whole runs at a time: texts are most of a file.
std::size_t measureText(Cursor& c, bool toLineEnd) {
    const char* stop =
        toLineEnd ? nullptr : static_cast<const char*>(std::memchr(c.at, ',', c.end - c.at));
    const char* end = stop ? stop : c.end;
    const auto size = static_cast<std::size_t>(end - c.at);
    const bool clean = !std::memchr(c.at, '\r', size) && !std::memchr(c.at, '\0', size);
    const auto skipped =
        clean ? 0 : std::count_if(c.at, end, [](char b) { return b == '\r' || b == '\0'; });
    const auto length = static_cast<std::size_t>(end - c.at - skipped);
    c.at = end;
    return length;
}

struct LineScan {
    int line;
    const LineLayout& layout;
    Problems& problems;
};

void add(const LineScan& s, const char* kind, const char* field, std::string detail) {
    s.problems.push_back({s.line, kind, field, std::move(detail)});
}

bool textBefore(const LineLayout& layout, int index) {
    for (int i = 0; i < index; ++i) {
        if (layout.fields[i].kind != Kind::Number) {
            return true;
        }
    }
    return false;
}

// `leadingNumber`: the field begins with a number, which is taken, and
// only the fields after it are lost.
void stoppedAt(const LineScan& s, int index, const std::string& holds, bool leadingNumber) {
    const FieldLayout& field = s.layout.fields[index];
    std::string detail = std::string(field.name) + " holds " + holds +
                         (leadingNumber ? ", more than a number: reading of the line stops after "
                                          "its leading number and the fields after it are not read"
                                        : ", which is no number: reading of the line stops there "
                                          "and the fields from it on are not read");
    if (textBefore(s.layout, index)) {
        detail += " (most often a comma typed inside a text before it, which split the text)";
    }
    add(s, "stopped-early", field.name, std::move(detail));
}

void endsBefore(const LineScan& s, int index) {
    const char* name = s.layout.fields[index].name;
    add(s, "short-line", name,
        std::string("the line ends before ") + name + ": it and the fields after it are not read");
}

// Skips the numbers the reader would still take after the last field.
void skipExtraNumbers(Cursor& c, int count) {
    for (int i = 0; i < count && peek(c) == ','; ++i) {
        Cursor probe = c;
        ++probe.at;
        while (isBlank(peek(probe))) {
            ++probe.at;
        }
        if (peek(probe) == '-' || peek(probe) == '+') {
            ++probe.at;
        }
        if (!isDigit(peek(probe))) {
            return;
        }
        while (isDigit(peek(probe))) {
            ++probe.at;
        }
        c = probe;
    }
}

// The reader's walk over one line: stops where it stops.
void scanLine(const LineScan& s, Cursor c) {
    const LineLayout& layout = s.layout;
    for (int i = 0; i < layout.count; ++i) {
        const FieldLayout& field = layout.fields[i];
        if (i > 0) {
            const int byte = peek(c);
            if (byte == -1) {
                endsBefore(s, i);
                return;
            }
            if (byte != ',') {
                return; // a number followed by more than digits, reported with it
            }
            ++c.at;
        }
        if (field.kind != Kind::Number) {
            const std::size_t length = measureText(c, field.kind == Kind::RestOfLine);
            if (length > field.size - 1) {
                add(s, "cut", field.name,
                    std::string(field.name) + " holds " + std::to_string(length) +
                        " bytes and is cut to the " + std::to_string(field.size - 1) +
                        " that tov keeps");
            }
            continue;
        }
        const Cursor start = c;
        while (isBlank(peek(c))) {
            ++c.at;
        }
        if (peek(c) == -1) {
            if (i > 0) {
                endsBefore(s, i);
            }
            return; // a line of white space only reads as nothing, which is no failure
        }
        if (peek(c) == '-' || peek(c) == '+') {
            ++c.at;
        }
        if (!isDigit(peek(c))) {
            if (i == 0) {
                add(s, "unreadable-line", field.name,
                    "the line begins with " + quoted(start) + " where " + field.name +
                        " is due, so nothing of it is read");
            } else {
                stoppedAt(s, i, quoted(start), false);
            }
            return;
        }
        while (isDigit(peek(c))) {
            ++c.at;
        }
        const int next = peek(c);
        if (next != -1 && next != ',') {
            stoppedAt(s, i, quoted(start), true);
            return;
        }
    }
    skipExtraNumbers(c, layout.extraNumbers);
    if (peek(c) == ',') {
        add(s, "extra-fields", "",
            "the line holds more than its " + std::to_string(layout.count) +
                " fields and the rest is not read (a comma typed inside a text splits it)");
    }
}

} // namespace

const char* questionFieldName(int index) {
    return index >= 0 && index < 12 ? kQuestionLine[index].name : "";
}

LineCounts scanLines(const char* bytes, std::size_t size, Problems& problems) {
    LineCounts counts{0, 0, 0};
    const char* at = bytes;
    const char* end = bytes + size;
    const int lastReadLine = kHeaderLines + kMaxQuestions;
    while (at < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', end - at));
        Cursor c{at, lineEnd ? lineEnd : end};
        // Without its LF, a rest of CR and zero bytes is no line.
        if (lineEnd == nullptr && peek(c) == -1) {
            break;
        }
        ++counts.lines;
        if (counts.lines <= lastReadLine) {
            const LineLayout layout = layoutOf(counts.lines);
            scanLine({counts.lines, layout, problems}, Cursor{at, c.end});
        }
        at = lineEnd ? lineEnd + 1 : end;
    }
    counts.questionLines = std::max(counts.lines - kHeaderLines, 0);
    counts.slotsRead = std::min(counts.questionLines, kMaxQuestions);
    if (counts.lines > lastReadLine) {
        problems.push_back({lastReadLine + 1, "too-many-lines", "",
                            "more than " + std::to_string(kMaxQuestions) +
                                " question lines: lines " + std::to_string(lastReadLine + 1) +
                                " to " + std::to_string(counts.lines) + " are not read"});
    }
    return counts;
}
