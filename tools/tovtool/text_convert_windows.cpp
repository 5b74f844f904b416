#include "tools/tovtool/text_convert.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

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

bool appendCharacterCp932(char32_t c, std::string& out) {
    wchar_t wide[2];
    int units = 1;
    if (c >= 0x10000) {
        wide[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        units = 2;
    } else {
        wide[0] = static_cast<wchar_t>(c);
    }
    char bytes[4];
    BOOL usedDefault = FALSE;
    const int count = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                          sizeof bytes, nullptr, &usedDefault);
    if (count <= 0 || usedDefault) {
        return false;
    }
    out.append(bytes, static_cast<std::size_t>(count));
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

Lang userLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE || GetACP() == 932 ? Lang::Ja
                                                                                         : Lang::En;
}

// A console shows any text right only as UTF-16, whatever its code page;
// a pipe or a file takes the UTF-8 as it is.
void writeOutput(std::FILE* stream, const std::string& utf8) {
    std::fflush(stream);
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) {
        std::fwrite(utf8.data(), 1, utf8.size(), stream);
        std::fflush(stream);
        return;
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            size);
    }
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

bool ownsConsole() {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

void waitForEnter() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    wchar_t typed[64];
    DWORD count = 0;
    while (ReadConsoleW(input, typed, 64, &count, nullptr) && count > 0) {
        if (std::wmemchr(typed, L'\n', count) != nullptr || std::wmemchr(typed, L'\r', count)) {
            return;
        }
    }
}
