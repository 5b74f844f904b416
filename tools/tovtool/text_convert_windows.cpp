#include "tools/tovtool/text_convert.h"

#include <windows.h>

#include <shellapi.h>

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

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(utf8Of(wide[i], -1).c_str());
    }
    LocalFree(wide);
    return arguments;
}

std::wstring pathFromArgument(const char* argument) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, argument, -1, nullptr, 0);
    std::wstring path(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_UTF8, 0, argument, -1, path.data(), size);
    }
    path.resize(path.size() - 1);
    return path;
}

void prepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
}
