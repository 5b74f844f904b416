#include "model/file_open.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>

namespace {

// Longer paths than the system accepts fail here instead of in fopen.
constexpr std::size_t kUtf8PathSize = 4096;
char utf8Path[kUtf8PathSize];

std::size_t utf8Length(std::uint32_t code) {
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

bool isEncodable(std::uint32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

void putUtf8(std::uint32_t code, std::size_t length, char* out) {
    static const unsigned char leadMarks[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (std::size_t i = length - 1; i > 0; --i) {
        out[i] = static_cast<char>(0x80 | (code & 0x3F));
        code >>= 6;
    }
    out[0] = static_cast<char>(length == 1 ? code : (leadMarks[length] | code));
}

// wchar_t holds UTF-32 here; the file system takes UTF-8.
bool toUtf8(const wchar_t* path) {
    std::size_t used = 0;
    for (; *path != L'\0'; ++path) {
        const auto code = static_cast<std::uint32_t>(*path);
        if (!isEncodable(code)) {
            errno = EILSEQ;
            return false;
        }
        const std::size_t length = utf8Length(code);
        if (used + length >= kUtf8PathSize) {
            errno = ENAMETOOLONG;
            return false;
        }
        putUtf8(code, length, utf8Path + used);
        used += length;
    }
    utf8Path[used] = '\0';
    return true;
}

} // namespace

std::FILE* openFile(const wchar_t* path, const char* mode) {
    return path != nullptr && toUtf8(path) ? std::fopen(utf8Path, mode) : nullptr;
}

// Shift_JIS, the code page the files are written in.
bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
