#include "tools/tovtool/text_convert.h"

#include <windows.h>

#include <cstdio>

namespace {

std::string utf8Of(const wchar_t* wide, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), size, nullptr, nullptr);
    }
    return out;
}

} // namespace

bool appendCharacterUtf8(const char* character, std::size_t length, std::string& out) {
    wchar_t wide[2];
    const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, character,
                                          static_cast<int>(length), wide, 2);
    if (count <= 0) {
        return false;
    }
    out += utf8Of(wide, count);
    return true;
}

std::wstring pathFromArgument(const char* argument) {
    const int size = MultiByteToWideChar(CP_ACP, 0, argument, -1, nullptr, 0);
    std::wstring path(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_ACP, 0, argument, -1, path.data(), size);
    }
    path.resize(path.size() - 1);
    return path;
}

std::string argumentAsUtf8(const char* argument) {
    const std::wstring wide = pathFromArgument(argument);
    return utf8Of(wide.c_str(), static_cast<int>(wide.size()));
}

void prepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
}
