#include "tests/e2e/driver.h"

#include <cstdlib>
#include <string>

namespace {

PROCESS_INFORMATION tov = {};

std::wstring tovPath() {
    const wchar_t* fromEnvironment = _wgetenv(L"TOV_EXE");
    std::wstring path = fromEnvironment != nullptr ? fromEnvironment : TOV_EXE;
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

std::wstring windowClass(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

struct WindowSearch {
    const wchar_t* windowClass;
    const wchar_t* caption; // null: any
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == tov.dwProcessId && IsWindowVisible(window) &&
        windowClass(window) == search.windowClass &&
        (search.caption == nullptr || windowText(window) == search.caption)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitForWindow(const wchar_t* windowClass, const wchar_t* caption, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        WindowSearch search = {windowClass, caption, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount64() >= deadline) {
            return search.found;
        }
        Sleep(20);
    }
}

} // namespace

bool startTov() {
    stopTov();
    const std::wstring path = tovPath();
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    return CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &tov) != FALSE;
}

void stopTov() {
    if (tov.hProcess == nullptr) {
        return;
    }
    if (WaitForSingleObject(tov.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(tov.hProcess, 99);
        WaitForSingleObject(tov.hProcess, 5000);
    }
    CloseHandle(tov.hThread);
    CloseHandle(tov.hProcess);
    tov = {};
}

HWND findTovWindow(DWORD timeoutMs) {
    return waitForWindow(L"Default Class Name", L"tov - RC", timeoutMs);
}

HWND findTovBox(const std::wstring& caption, DWORD timeoutMs) {
    return waitForWindow(L"#32770", caption.c_str(), timeoutMs);
}

std::wstring boxText(HWND box) {
    return windowText(GetDlgItem(box, 0xFFFF));
}

std::wstring windowText(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

void pressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void postCommand(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool waitForWindowGone(HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (IsWindow(window)) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

DWORD waitForTovExit(DWORD timeoutMs) {
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(tov.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(tov.hProcess, &exitCode);
    }
    return exitCode;
}
