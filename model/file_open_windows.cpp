#include "model/file_open.h"

#include <windows.h>

std::FILE* openFile(const wchar_t* path, const char* mode) {
    if (path == nullptr) {
        return nullptr;
    }
    wchar_t wideMode[8];
    std::size_t n = 0;
    for (; mode[n] != '\0'; ++n) {
        if (n + 1 >= sizeof wideMode / sizeof wideMode[0]) {
            return nullptr;
        }
        wideMode[n] = static_cast<wchar_t>(static_cast<unsigned char>(mode[n]));
    }
    wideMode[n] = L'\0';
    return _wfopen(path, wideMode);
}

bool isLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != 0;
}
