// Text between the encodings teachers' files come in and tov's: any input
// to UTF-8, and UTF-8 to the ANSI code page as Windows writes it.
#pragma once

#include <string>
#include <string_view>

// The bytes of a text file as UTF-8: by its BOM (UTF-8, UTF-16LE, UTF-16BE),
// else as they are when they are valid UTF-8, else as CP932. The BOM is
// dropped.
std::string decodeText(std::string_view bytes);

// Code point `c` appended to `out` as UTF-8.
void appendUtf8Char(char32_t c, std::string& out);

// True when `bytes` is well-formed UTF-8.
bool isUtf8(std::string_view bytes);

struct Cp932Text {
    std::string bytes;         // in the ANSI code page (932)
    bool approximated;         // an accented letter or the like became its base letter
    std::string unrepresented; // the characters that became 〓, UTF-8, each once
};

// UTF-8 to CP932 as Windows writes it: where CP932 holds a character twice,
// Windows' choice; the characters other systems use for the same JIS
// characters (WAVE DASH, MINUS SIGN …) to their CP932 codes; ¥ to the
// full-width ￥, never the byte 0x5C; Unicode spaces to a plain space; an
// accented Latin letter to its base letter; anything else to 〓.
Cp932Text cp932FromUtf8(std::string_view utf8);
