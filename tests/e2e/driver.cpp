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

BOOL CALLBACK countDialog(HWND window, LPARAM parameter) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == tov.dwProcessId && IsWindowVisible(window) &&
        windowClass(window) == L"#32770") {
        ++*reinterpret_cast<int*>(parameter);
    }
    return TRUE;
}

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

// WM_GETTEXT, as GetWindowText does not ask a control of another process.
std::wstring windowText(HWND window) {
    wchar_t text[1024] = L"";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &copied);
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

void typeInto(HWND window, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void typeQuestion(HWND window, const std::wstring& points, const std::wstring& text,
                  const std::wstring& explanation, const std::vector<std::wstring>& choices) {
    // The question page's points, text and explanation, then choices 1 to 5.
    typeInto(window, 48, points);
    typeInto(window, 49, text);
    typeInto(window, 50, explanation);
    for (std::size_t k = 0; k < choices.size(); ++k) {
        typeInto(window, 51 + static_cast<int>(k), choices[k]);
    }
}

void chooseItem(HWND window, int boxId, int item) {
    const HWND box = GetDlgItem(window, boxId);
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(boxId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

bool waitForText(HWND window, int id, const std::wstring& text, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const HWND control = GetDlgItem(window, id);
        if (control != nullptr && windowText(control) == text) {
            settle(window);
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(20);
    }
}

void settle(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

int visibleTovDialogs() {
    int count = 0;
    EnumWindows(countDialog, reinterpret_cast<LPARAM>(&count));
    return count;
}

void chooseFile(HWND dialog, const std::wstring& path) {
    HWND field = GetDlgItem(dialog, 0x480);
    if (field == nullptr) {
        field = GetDlgItem(dialog, 0x47c);
    }
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    pressButton(dialog, IDOK);
}

void clickAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::wstring answerTovBox(const std::wstring& caption, int button, DWORD timeoutMs) {
    const HWND box = findTovBox(caption, timeoutMs);
    if (box == nullptr) {
        return std::wstring();
    }
    const std::wstring text = boxText(box);
    pressButton(box, button);
    waitForWindowGone(box);
    return text;
}

void clickControl(HWND window, int id) {
    const HWND control = GetDlgItem(window, id);
    const HWND root = GetAncestor(control, GA_ROOT);
    SetForegroundWindow(root);
    for (int i = 0; i < 50 && GetForegroundWindow() != root; ++i) {
        Sleep(10);
    }
    RECT rect;
    GetWindowRect(control, &rect);
    const POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    // The cursor reaches the point through the X server; a click sent before
    // it has may land where the cursor was.
    SetCursorPos(middle.x, middle.y);
    POINT cursor = {};
    for (int i = 0;
         i < 50 && GetCursorPos(&cursor) && (cursor.x != middle.x || cursor.y != middle.y); ++i) {
        Sleep(10);
    }
    clickAt(middle);
}

bool clickStartButton(HWND window, int id) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        clickControl(window, id);
        const ULONGLONG deadline = GetTickCount64() + 1500;
        while (GetTickCount64() < deadline) {
            if (GetDlgItem(window, id) == nullptr || visibleTovDialogs() > 0) {
                return true;
            }
            Sleep(20);
        }
    }
    return false;
}
