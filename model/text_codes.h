// Small codes the pages and the file share: the digit-position code of a
// multiple-selection answer, the choice count of a format, and the
// line-break escape of multi-line texts.
#pragma once

#include <cstddef>
#include <cstdint>

// Choice k (1 to 5) marked correct adds k * 10^(5 - k): 10000, 2000, 300, 40, 5.
std::int32_t digitPositionCode(const bool correct[5]);

// Choice k is correct when the digit of weight 10^(5 - k) is not zero.
void correctChoicesFromCode(std::int32_t code, bool correct[5]);

// 5, 2, 3 and 4 choices for formats 1 to 4; 0 for any other format.
int choiceCount(std::int32_t format);

// Writes `in` to `out` with every line break (CR LF, or a lone CR or LF)
// turned into the four characters \r\n (backslash, r, backslash, n).
// Never writes past `outCount` units, always terminates, and never cuts an
// escape or a surrogate pair in half. Returns the length written.
std::size_t escapeLineBreaks(const wchar_t* in, wchar_t* out, std::size_t outCount);

// The reverse: each \r\n escape becomes CR LF; any other backslash stays.
std::size_t restoreLineBreaks(const wchar_t* in, wchar_t* out, std::size_t outCount);
