#include "pages/page_input.h"

#include "model/file_open.h"

#include <cstring>

namespace {

constexpr char kFullWidthComma[] = "\x81\x43"; // "，" in the ANSI code page
constexpr char kEscape[] = "\\r\\n";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// One step of the copy: what is written for the bytes at `in`, and how many
// of them it covers. Zero bytes written means the text ends here.
struct Piece {
    const char* bytes;
    std::size_t length;
    std::size_t consumed;
};

Piece nextPiece(const char* in, TextLines lines) {
    if (*in == ',') {
        return {kFullWidthComma, 2, 1};
    }
    if (*in == '\r' || *in == '\n') {
        const std::size_t consumed = (in[0] == '\r' && in[1] == '\n') ? 2 : 1;
        if (lines == TextLines::Escaped) {
            return {kEscape, kLineBreakEscapeLength, consumed};
        }
        return {" ", 1, consumed};
    }
    if (isLeadByte(static_cast<unsigned char>(*in))) {
        // A lead byte without its second byte is dropped with the rest.
        return in[1] == '\0' ? Piece{in, 0, 1} : Piece{in, 2, 2};
    }
    return {in, 1, 1};
}

} // namespace

std::int32_t readNumber(const char* text) {
    while (isSpace(*text)) {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; isDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > limit) {
            value = limit;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

void storeFieldText(const char* text, char* field, std::size_t fieldSize, TextLines lines) {
    std::memset(field, 0, fieldSize);
    std::size_t used = 0;
    while (*text != '\0') {
        const Piece piece = nextPiece(text, lines);
        if (piece.length == 0 || used + piece.length >= fieldSize) {
            break;
        }
        std::memcpy(field + used, piece.bytes, piece.length);
        used += piece.length;
        text += piece.consumed;
    }
}
