// What both editing pages do with the texts and numbers they hold, in the
// ANSI code page and without a window: reading a number, storing a text into
// a fixed field, finding the line-break escape.
#pragma once

#include <cstddef>
#include <cstdint>

// Characters read from a control: a name field, a long text field.
constexpr int kShortReadUnits = 255;
constexpr int kLongReadUnits = 5159;
// Room for what those characters become in the ANSI code page (two bytes
// each at most) and the terminator.
constexpr int kShortInputSize = 2 * kShortReadUnits + 1;
constexpr int kLongInputSize = 2 * kLongReadUnits + 1;

// A signed decimal after leading white space, digits up to the first
// non-digit; no digits give 0; beyond 32 bits the value saturates.
std::int32_t readNumber(const char* text);

// How a line break typed into a field is kept.
enum class TextLines {
    Single,  // a single-line field: a stray line break becomes a space
    Escaped, // a multi-line field: each line break becomes the four bytes \r\n
};

// Zero-fills `field` and copies `text` into it with the line breaks as
// `lines` says and each comma as the full-width comma, which cannot end a
// field of the file. Copies whole pieces only (a double-byte character, an
// escape) and stops at the first that does not fit before the terminator.
void storeFieldText(const char* text, char* field, std::size_t fieldSize, TextLines lines);

template <std::size_t Size>
void storeFieldText(const char* text, char (&field)[Size], TextLines lines) {
    storeFieldText(text, field, Size, lines);
}

// The four characters backslash, r, backslash, n, shown as a line break.
constexpr std::size_t kLineBreakEscapeLength = 4;
