#include "model/text_codes.h"

#include <cwchar>

namespace {

constexpr std::int32_t kDigitWeights[5] = {10000, 1000, 100, 10, 1};
constexpr wchar_t kEscape[] = L"\\r\\n";
constexpr std::size_t kEscapeLength = 4;

bool isHighSurrogate(wchar_t unit) {
    return static_cast<std::uint32_t>(unit) >= 0xD800 && static_cast<std::uint32_t>(unit) <= 0xDBFF;
}

bool isLowSurrogate(wchar_t unit) {
    return static_cast<std::uint32_t>(unit) >= 0xDC00 && static_cast<std::uint32_t>(unit) <= 0xDFFF;
}

// Units of `in` that belong together: a surrogate pair is one piece.
std::size_t pieceLength(const wchar_t* in) {
    return isHighSurrogate(in[0]) && isLowSurrogate(in[1]) ? 2 : 1;
}

// Appends `count` units when they all fit before the terminator.
bool append(const wchar_t* units, std::size_t count, wchar_t* out, std::size_t outCount,
            std::size_t& used) {
    if (used + count >= outCount) {
        return false;
    }
    std::wmemcpy(out + used, units, count);
    used += count;
    return true;
}

// What one step of a copy writes, and how many units of the input it covers.
struct Piece {
    const wchar_t* text;
    std::size_t length;
    std::size_t consumed;
};

Piece unchanged(const wchar_t* in) {
    const std::size_t length = pieceLength(in);
    return {in, length, length};
}

// CR LF, or a lone CR or LF, becomes the escape.
Piece lineBreakAsEscape(const wchar_t* in) {
    if (*in != L'\r' && *in != L'\n') {
        return unchanged(in);
    }
    return {kEscape, kEscapeLength, (in[0] == L'\r' && in[1] == L'\n') ? 2u : 1u};
}

Piece escapeAsLineBreak(const wchar_t* in) {
    if (std::wcsncmp(in, kEscape, kEscapeLength) != 0) {
        return unchanged(in);
    }
    return {L"\r\n", 2, kEscapeLength};
}

// Copies `in` piece by piece while whole pieces fit, and terminates `out`.
std::size_t copyPieces(const wchar_t* in, wchar_t* out, std::size_t outCount,
                       Piece (*next)(const wchar_t*)) {
    if (outCount == 0) {
        return 0;
    }
    std::size_t used = 0;
    while (*in != L'\0') {
        const Piece piece = next(in);
        if (!append(piece.text, piece.length, out, outCount, used)) {
            break;
        }
        in += piece.consumed;
    }
    out[used] = L'\0';
    return used;
}

} // namespace

std::int32_t digitPositionCode(const bool correct[5]) {
    std::int32_t code = 0;
    for (int k = 0; k < 5; ++k) {
        if (correct[k]) {
            code += (k + 1) * kDigitWeights[k];
        }
    }
    return code;
}

void correctChoicesFromCode(std::int32_t code, bool correct[5]) {
    for (int k = 0; k < 5; ++k) {
        correct[k] = (code / kDigitWeights[k]) % 10 != 0;
    }
}

int choiceCount(std::int32_t format) {
    switch (format) {
    case 1:
        return 5;
    case 2:
        return 2;
    case 3:
        return 3;
    case 4:
        return 4;
    default:
        return 0;
    }
}

std::size_t escapeLineBreaks(const wchar_t* in, wchar_t* out, std::size_t outCount) {
    return copyPieces(in, out, outCount, lineBreakAsEscape);
}

std::size_t restoreLineBreaks(const wchar_t* in, wchar_t* out, std::size_t outCount) {
    return copyPieces(in, out, outCount, escapeAsLineBreak);
}
