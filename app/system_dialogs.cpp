#include "app/system_dialogs.h"

namespace {

using FileDialog = BOOL(WINAPI*)(OPENFILENAMEW*);
using ShellExecute = HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                        const wchar_t*, int);

// Both are known system libraries, always taken from the system folder, as
// the import table took them. Loaded once, they stay for the run.
template <typename Function> Function systemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryW(library);
    if (module == nullptr) {
        return nullptr;
    }
    // Through void (*)(), which converts to any function type without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

BOOL showOpenDialog(OPENFILENAMEW* dialog) {
    static const auto open = systemFunction<FileDialog>(L"comdlg32.dll", "GetOpenFileNameW");
    return open != nullptr ? open(dialog) : FALSE;
}

BOOL showSaveDialog(OPENFILENAMEW* dialog) {
    static const auto save = systemFunction<FileDialog>(L"comdlg32.dll", "GetSaveFileNameW");
    return save != nullptr ? save(dialog) : FALSE;
}

void openWithShell(const wchar_t* verb, const wchar_t* file, int show) {
    static const auto execute = systemFunction<ShellExecute>(L"shell32.dll", "ShellExecuteW");
    if (execute != nullptr) {
        execute(nullptr, verb, file, nullptr, nullptr, show);
    }
}
