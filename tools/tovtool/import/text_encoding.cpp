#include "tools/tovtool/import/text_encoding.h"

#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char kGeta[] = "\x81\xAC"; // 〓, where CP932 has no such character

// The code point at `at`, which moves past it; U+FFFD for a malformed
// sequence, which costs one byte.
char32_t nextUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || lead >= 0xF5 || at + static_cast<std::size_t>(extra) > text.size()) {
        return kReplacement;
    }
    char32_t c = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = c << 6 | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        return kReplacement;
    }
    at += static_cast<std::size_t>(extra);
    return c;
}

std::string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? a << 8 | b : b << 8 | a);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        appendUtf8Char(c, out);
    }
    return out;
}

// Characters other systems write for the JIS characters CP932 holds under
// another code, and the yen sign, which must never become the byte 0x5C
// that the line-break escape is made of.
struct Exception {
    char32_t from;
    const char* to;
};

constexpr Exception kSameCharacter[] = {
    {0x00A2, "\x81\x91"}, // ¢ → ￠
    {0x00A3, "\x81\x92"}, // £ → ￡
    {0x00A5, "\x81\x8F"}, // ¥ → ￥
    {0x00AC, "\x81\xCA"}, // ¬ → ￢
    {0x2014, "\x81\x5C"}, // EM DASH → ―
    {0x2016, "\x81\x61"}, // ‖ → ∥
    {0x203E, "\x81\x50"}, // OVERLINE → ￣
    {0x2212, "\x81\x7C"}, // MINUS SIGN → －
    {0x301C, "\x81\x60"}, // WAVE DASH → ～
};

bool isUnicodeSpace(char32_t c) {
    return c == 0x00A0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F;
}

// Latin letters with marks, U+00C0 to U+017F, as the letters Windows' own
// conversion falls back to; "" where there is none.
constexpr const char* kLatinBase[] = {
    "A", "A", "A",  "A",  "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",  // C0
    "D", "N", "O",  "O",  "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "",  "ss", // D0
    "a", "a", "a",  "a",  "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  // E0
    "d", "n", "o",  "o",  "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "",  "y",  // F0
    "A", "a", "A",  "a",  "A", "a", "C",  "c", "C", "c", "C", "c", "C", "c", "D", "d",  // 100
    "D", "d", "E",  "e",  "E", "e", "E",  "e", "E", "e", "E", "e", "G", "g", "G", "g",  // 110
    "G", "g", "G",  "g",  "H", "h", "H",  "h", "I", "i", "I", "i", "I", "i", "I", "i",  // 120
    "I", "i", "IJ", "ij", "J", "j", "K",  "k", "k", "L", "l", "L", "l", "L", "l", "L",  // 130
    "l", "L", "l",  "N",  "n", "N", "n",  "N", "n", "n", "N", "n", "O", "o", "O", "o",  // 140
    "O", "o", "OE", "oe", "R", "r", "R",  "r", "R", "r", "S", "s", "S", "s", "S", "s",  // 150
    "S", "s", "T",  "t",  "T", "t", "T",  "t", "U", "u", "U", "u", "U", "u", "U", "u",  // 160
    "U", "u", "U",  "u",  "W", "w", "Y",  "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s",  // 170
};

// The fallback for `c`, "" when it has none.
const char* approximation(char32_t c) {
    if (c >= 0xC0 && c <= 0x17F) {
        return kLatinBase[c - 0xC0];
    }
    switch (c) {
    case 0x2013: // EN DASH
        return "-";
    default:
        return "";
    }
}

void noteUnrepresented(std::string_view utf8, std::string& list) {
    if (list.find(utf8) == std::string::npos) {
        list += utf8;
    }
}

} // namespace

void appendUtf8Char(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t from = at;
        if (nextUtf8(bytes, at) == kReplacement &&
            bytes.substr(from, 3) != std::string_view("\xEF\xBF\xBD")) {
            return false;
        }
    }
    return true;
}

std::string decodeText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    } else if (bytes.substr(0, 2) == "\xFF\xFE") {
        return fromUtf16(bytes.substr(2), false);
    } else if (bytes.substr(0, 2) == "\xFE\xFF") {
        return fromUtf16(bytes.substr(2), true);
    } else if (!isUtf8(bytes)) {
        std::string out;
        appendUtf8(bytes.data(), bytes.size(), out);
        return out;
    }
    // Well-formed from here on, whatever the input held after its BOM.
    std::string out;
    for (std::size_t at = 0; at < bytes.size();) {
        appendUtf8Char(nextUtf8(bytes, at), out);
    }
    return out;
}

Cp932Text cp932FromUtf8(std::string_view utf8) {
    Cp932Text result{{}, false, {}};
    std::string& out = result.bytes;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t from = at;
        const char32_t c = nextUtf8(utf8, at);
        const auto same = std::find_if(std::begin(kSameCharacter), std::end(kSameCharacter),
                                       [c](const Exception& e) { return e.from == c; });
        if (same != std::end(kSameCharacter)) {
            out += same->to;
        } else if (isUnicodeSpace(c)) {
            out += ' ';
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c != kReplacement && appendCharacterCp932(c, out)) {
            continue;
        } else if (*approximation(c) != '\0') {
            out += approximation(c);
            result.approximated = true;
        } else {
            out += kGeta;
            noteUnrepresented(utf8.substr(from, at - from), result.unrepresented);
        }
    }
    return result;
}
