#include "tools/tovtool/text_convert.h"

#include <cstdlib>
#include <cstring>

#include <iconv.h>

namespace {

// Opened once for the run; (iconv_t)-1 when the C library lacks CP932.
iconv_t fromCp932 = reinterpret_cast<iconv_t>(-1);
iconv_t fromUtf8 = reinterpret_cast<iconv_t>(-1);
iconv_t toCp932 = reinterpret_cast<iconv_t>(-1);
bool opened = false;

void openConverters() {
    if (!opened) {
        fromCp932 = iconv_open("UTF-8", "CP932");
        fromUtf8 = iconv_open("WCHAR_T", "UTF-8");
        toCp932 = iconv_open("CP932", "UTF-32LE");
        opened = true;
    }
}

bool isOpen(iconv_t converter) {
    return converter != reinterpret_cast<iconv_t>(-1);
}

// Appends the conversion of the `length` bytes at `in` (one character);
// false, appending nothing, when the converter cannot take all of them.
bool convertWhole(iconv_t converter, char* in, std::size_t length, std::string& out) {
    if (!isOpen(converter)) {
        return false;
    }
    char converted[8];
    char* outPointer = converted;
    std::size_t inLeft = length;
    std::size_t outLeft = sizeof converted;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
        return false;
    }
    out.append(converted, static_cast<std::size_t>(outPointer - converted));
    return true;
}

} // namespace

bool appendCharacterUtf8(const char* character, std::size_t length, std::string& out) {
    char in[2] = {character[0], length > 1 ? character[1] : '\0'};
    openConverters();
    return convertWhole(fromCp932, in, length, out);
}

bool appendCharacterCp932(char32_t c, std::string& out) {
    char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8 & 0xFF),
                  static_cast<char>(c >> 16 & 0xFF), static_cast<char>(c >> 24 & 0xFF)};
    openConverters();
    return convertWhole(toCp932, in, sizeof in, out);
}

std::wstring pathFromArgument(const char* argument) {
    openConverters();
    std::string bytes(argument);
    std::wstring path(bytes.size() + 1, L'\0');
    char* inPointer = bytes.data();
    char* outPointer = reinterpret_cast<char*>(path.data());
    std::size_t inLeft = bytes.size();
    std::size_t outLeft = path.size() * sizeof(wchar_t);
    iconv(fromUtf8, nullptr, nullptr, nullptr, nullptr);
    if (!isOpen(fromUtf8) || iconv(fromUtf8, &inPointer, &inLeft, &outPointer, &outLeft) ==
                                 static_cast<std::size_t>(-1)) {
        // Not UTF-8: each byte as it is, which openFile gives back unchanged.
        path.assign(bytes.begin(), bytes.end());
        return path;
    }
    path.resize(static_cast<std::size_t>(reinterpret_cast<wchar_t*>(outPointer) - path.data()));
    return path;
}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

Lang userLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return std::strncmp(value, "ja", 2) == 0 ? Lang::Ja : Lang::En;
        }
    }
    return Lang::En;
}

void writeOutput(std::FILE* stream, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

bool ownsConsole() {
    return false;
}

void waitForEnter() {
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
}
