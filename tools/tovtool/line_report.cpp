#include "tools/tovtool/line_report.h"

#include "model/file_open.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The file the readers are reading, for quoting, and where its problems go.
struct Watched {
    const char* bytes;
    std::size_t size;
    Problems* problems;
};

Watched watched;

bool isSkipped(char byte) {
    return byte == '\r' || byte == '\0';
}

// What a field holds from `offset` up to its comma, as the readers see it
// (CR and zero bytes skipped): 40 bytes at most, never half a character.
std::string quoted(std::size_t offset) {
    constexpr std::size_t kQuoteBytes = 40;
    std::string bytes;
    std::size_t at = offset;
    bool more = false;
    for (; at < watched.size && watched.bytes[at] != ',' && watched.bytes[at] != '\n'; ++at) {
        if (isSkipped(watched.bytes[at])) {
            continue;
        }
        if (bytes.size() == kQuoteBytes) {
            more = true;
            break;
        }
        bytes += watched.bytes[at];
    }
    std::size_t whole = 0;
    while (whole < bytes.size()) {
        const std::size_t size = isLeadByte(static_cast<unsigned char>(bytes[whole])) ? 2 : 1;
        if (whole + size > bytes.size()) {
            break;
        }
        whole += size;
    }
    std::string out = "\"";
    appendUtf8(bytes.data(), whole, out);
    out += more || whole < bytes.size() ? "...\"" : "\"";
    return out;
}

std::string labelOf(const LineNote& note) {
    return fieldLabel(fieldName(note.line, note.field));
}

void add(const LineNote& note, const char* kind, std::string detail) {
    watched.problems->push_back(
        {note.line, kind, fieldName(note.line, note.field), std::move(detail)});
}

bool textBefore(int line, int field) {
    for (int i = 0; i < field; ++i) {
        if (!isNumberField(line, i)) {
            return true;
        }
    }
    return false;
}

void stoppedEarly(const LineNote& note) {
    const bool leadingNumber = note.event == LineEvent::MoreThanANumber;
    std::string detail =
        say(leadingNumber ? Msg::LineStoppedMoreThanNumber : Msg::LineStoppedNotNumber,
            {labelOf(note), quoted(note.offset)});
    if (textBefore(note.line, note.field)) {
        detail += say(Msg::LineStoppedHint);
    }
    add(note, "stopped-early", std::move(detail));
}

void reportNote(const LineNote& note) {
    const std::string name = labelOf(note);
    switch (note.event) {
    case LineEvent::Cut:
        add(note, "cut",
            say(Msg::LineCut, {name, std::to_string(note.length), std::to_string(note.kept)}));
        break;
    case LineEvent::NotANumber:
    case LineEvent::MoreThanANumber:
        stoppedEarly(note);
        break;
    case LineEvent::EndsBefore:
        add(note, "short-line", say(Msg::LineShort, {name}));
        break;
    case LineEvent::Unreadable:
        add(note, "unreadable-line", say(Msg::LineUnreadable, {quoted(note.offset), name}));
        break;
    case LineEvent::ExtraFields:
        add(note, "extra-fields", say(Msg::LineExtraFields, {std::to_string(note.field)}));
        break;
    }
}

// Without its LF, a rest of CR and zero bytes is no line.
bool holdsALine(const char* at, const char* end) {
    return std::find_if_not(at, end, isSkipped) != end;
}

} // namespace

LineCounts countLines(const char* bytes, std::size_t size, Problems& problems) {
    int lines = 0;
    const char* at = bytes;
    const char* end = bytes + size;
    while (at < end) {
        const void* lineFeed = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        if (lineFeed == nullptr) {
            lines += holdsALine(at, end) ? 1 : 0;
            break;
        }
        ++lines;
        at = static_cast<const char*>(lineFeed) + 1;
    }
    LineCounts counts{lines, std::max(lines - kHeaderLines, 0), 0};
    counts.slotsRead = std::min(counts.questionLines, kMaxQuestions);
    const int lastReadLine = kHeaderLines + kMaxQuestions;
    if (lines > lastReadLine) {
        problems.push_back(
            {lastReadLine + 1, "too-many-lines", "",
             say(Msg::TooManyLines, {std::to_string(kMaxQuestions),
                                     std::to_string(lastReadLine + 1), std::to_string(lines)})});
    }
    return counts;
}

void reportLines(const char* bytes, std::size_t size, Problems& problems) {
    watched = {bytes, size, &problems};
    watchLines(reportNote);
}

void stopReportingLines() {
    watchLines(nullptr);
    watched = {nullptr, 0, nullptr};
}
