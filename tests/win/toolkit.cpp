#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Control ids of the common file dialog (dlgs.h): the file-name field is the
// combo box cmb13 in the Explorer-style dialog (Wine's too), the edit edt1
// in the old style; the file-type list is cmb1 in both.
constexpr int kFileNameEdit = 0x480;
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileTypeCombo = 0x470;
// The message text of a message box.
constexpr int kBoxText = 0xFFFF;

enum class Expected { Box, FilledFileDialog, CancelledFileDialog };

struct Expectation {
    Expected kind;
    int button;        // Box
    std::wstring name; // FilledFileDialog
    const char* file;
    int line;
};

struct Watch {
    UINT_PTR timer;
    HWND dialog;
    bool cancelled; // the first expiry asked it to cancel; the second ends it
    const char* file;
    int line;
};

HHOOK hook = nullptr;
UINT dialogTimeout = 5000;
std::deque<Expectation> expectations;
std::deque<SeenBox> seenBoxes;
std::deque<SeenFileDialog> seenFileDialogs;
std::vector<HWND> metDialogs;
std::vector<Watch> watches;
// The test's latest call into the toolkit: where an unexpected dialog is blamed.
const char* lastFile = "(no toolkit call)";
int lastLine = 0;

void noteCaller(const char* file, int line) {
    lastFile = file;
    lastLine = line;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    out.resize(size);
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

// Asked of the window itself: GetWindowTextW on another process's edit
// control sees only its empty caption, not the text the control holds.
std::wstring windowText(HWND window) {
    std::wstring text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
    text.resize(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

std::wstring windowClass(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

// The box itself may not be visible yet when it is met: look at the button's own style.
bool hasButton(HWND box, int id) {
    const HWND button = GetDlgItem(box, id);
    return button != nullptr && (GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE) != 0;
}

void pressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The button that dismisses a box without agreeing to anything.
int closingButton(HWND box) {
    for (int id : {IDCANCEL, IDNO, IDOK}) {
        if (hasButton(box, id)) {
            return id;
        }
    }
    return IDCANCEL;
}

UINT buttonStyle(HWND box) {
    const bool ok = hasButton(box, IDOK);
    const bool cancel = hasButton(box, IDCANCEL);
    if (hasButton(box, IDYES) || hasButton(box, IDNO)) {
        return cancel ? MB_YESNOCANCEL : MB_YESNO;
    }
    return ok && cancel ? MB_OKCANCEL : MB_OK;
}

BOOL CALLBACK findIconStatic(HWND child, LPARAM found) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (windowClass(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
        (style & WS_VISIBLE) != 0) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

// Wine and Windows both set the box's icon from LoadIconW(NULL, IDI_...),
// a shared handle, into a visible SS_ICON static.
UINT iconStyle(HWND box) {
    HWND iconStatic = nullptr;
    EnumChildWindows(box, findIconStatic, reinterpret_cast<LPARAM>(&iconStatic));
    if (iconStatic == nullptr) {
        return 0;
    }
    const auto icon = reinterpret_cast<HICON>(SendMessageW(iconStatic, STM_GETICON, 0, 0));
    const struct {
        const wchar_t* id;
        UINT style;
    } icons[] = {{IDI_QUESTION, MB_ICONQUESTION},
                 {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                 {IDI_HAND, MB_ICONHAND},
                 {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& known : icons) {
        if (icon != nullptr && icon == LoadIconW(nullptr, known.id)) {
            return known.style;
        }
    }
    return 0;
}

SeenBox readBox(HWND box) {
    SeenBox seen;
    seen.caption = windowText(box);
    seen.text = windowText(GetDlgItem(box, kBoxText));
    seen.style = buttonStyle(box) | iconStyle(box);
    seen.owner = GetWindow(box, GW_OWNER);
    return seen;
}

HWND fileNameField(HWND dialog) {
    const HWND edit = GetDlgItem(dialog, kFileNameEdit);
    return edit != nullptr ? edit : GetDlgItem(dialog, kFileNameCombo);
}

bool isFileDialog(HWND dialog) {
    return GetDlgItem(dialog, kFileTypeCombo) != nullptr && fileNameField(dialog) != nullptr;
}

SeenFileDialog readFileDialog(HWND dialog) {
    SeenFileDialog seen;
    seen.title = windowText(dialog);
    seen.initialName = windowText(fileNameField(dialog));
    const ControlInfo types = readControl(dialog, kFileTypeCombo);
    seen.filters = types.items;
    seen.filterIndex = types.selection;
    return seen;
}

std::string describe(HWND dialog) {
    const HWND text = GetDlgItem(dialog, kBoxText);
    std::string out = "\"" + narrow(windowText(dialog)) + "\"";
    if (text != nullptr) {
        out += ": \"" + narrow(windowText(text)) + "\"";
    }
    return out;
}

void closeUnwanted(HWND dialog) {
    pressButton(dialog, isFileDialog(dialog) ? IDCANCEL : closingButton(dialog));
}

VOID CALLBACK watchdogExpired(HWND, UINT, UINT_PTR timer, DWORD);

void startWatchdog(HWND dialog, const char* file, int line) {
    const UINT_PTR timer = SetTimer(nullptr, 0, dialogTimeout, watchdogExpired);
    watches.push_back({timer, dialog, false, file, line});
}

VOID CALLBACK watchdogExpired(HWND, UINT, UINT_PTR timer, DWORD) {
    for (auto it = watches.begin(); it != watches.end(); ++it) {
        if (it->timer != timer) {
            continue;
        }
        if (!IsWindow(it->dialog)) {
            KillTimer(nullptr, timer);
            watches.erase(it);
        } else if (!it->cancelled) {
            ADD_FAILURE_AT(it->file, it->line)
                << "dialog " << describe(it->dialog) << " still open after " << dialogTimeout
                << " ms: cancelled";
            it->cancelled = true;
            pressButton(it->dialog, IDCANCEL);
        } else {
            EndDialog(it->dialog, 0);
        }
        return;
    }
}

void meetBox(HWND box) {
    if (expectations.empty() || expectations.front().kind != Expected::Box) {
        const char* file = expectations.empty() ? lastFile : expectations.front().file;
        const int line = expectations.empty() ? lastLine : expectations.front().line;
        ADD_FAILURE_AT(file, line) << "unexpected message box " << describe(box) << ": closed";
        closeUnwanted(box);
        startWatchdog(box, file, line);
        return;
    }
    const Expectation expected = expectations.front();
    expectations.pop_front();
    SeenBox seen = readBox(box);
    seen.answer = expected.button;
    if (!hasButton(box, expected.button)) {
        ADD_FAILURE_AT(expected.file, expected.line)
            << "message box " << describe(box) << " has no button " << expected.button;
        seen.answer = closingButton(box);
    }
    pressButton(box, seen.answer);
    seenBoxes.push_back(seen);
    startWatchdog(box, expected.file, expected.line);
}

// The dialog fills its file-type list only after it is activated: deal
// with it once its modal loop is idle.
HWND pendingFileDialog = nullptr;
UINT_PTR pendingTimer = 0;
Expectation pendingExpectation;

void dropPendingFileDialog() {
    if (pendingTimer != 0) {
        KillTimer(nullptr, pendingTimer);
    }
    pendingTimer = 0;
    pendingFileDialog = nullptr;
}

VOID CALLBACK handlePendingFileDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = pendingFileDialog;
    KillTimer(nullptr, timer);
    pendingTimer = 0;
    pendingFileDialog = nullptr;
    if (!IsWindow(dialog)) {
        ADD_FAILURE_AT(pendingExpectation.file, pendingExpectation.line)
            << "the file dialog closed before it could be filled";
        return;
    }
    seenFileDialogs.push_back(readFileDialog(dialog));
    if (pendingExpectation.kind == Expected::FilledFileDialog) {
        SetWindowTextW(fileNameField(dialog), pendingExpectation.name.c_str());
        pressButton(dialog, IDOK);
    } else {
        pressButton(dialog, IDCANCEL);
    }
}

void meetFileDialog(HWND dialog) {
    if (expectations.empty() || expectations.front().kind == Expected::Box ||
        pendingFileDialog != nullptr) {
        const char* file = expectations.empty() ? lastFile : expectations.front().file;
        const int line = expectations.empty() ? lastLine : expectations.front().line;
        ADD_FAILURE_AT(file, line)
            << "unexpected file dialog " << describe(dialog) << ": cancelled";
        closeUnwanted(dialog);
        startWatchdog(dialog, file, line);
        return;
    }
    pendingExpectation = expectations.front();
    expectations.pop_front();
    pendingFileDialog = dialog;
    pendingTimer = SetTimer(nullptr, 0, 0, handlePendingFileDialog);
    startWatchdog(dialog, pendingExpectation.file, pendingExpectation.line);
}

void meetOtherDialog(HWND dialog) {
    ADD_FAILURE_AT(lastFile, lastLine) << "unexpected dialog " << describe(dialog) << ": cancelled";
    pressButton(dialog, IDCANCEL);
    startWatchdog(dialog, lastFile, lastLine);
}

bool metBefore(HWND dialog) {
    for (HWND met : metDialogs) {
        if (met == dialog) {
            return true;
        }
    }
    return false;
}

// Activation comes after WM_INITDIALOG, so a box shows its real contents; a
// dialog activated again (after a box of its own) is met once.
void meetDialog(HWND dialog) {
    if (windowClass(dialog) != L"#32770" || metBefore(dialog)) {
        return;
    }
    metDialogs.push_back(dialog);
    if (isFileDialog(dialog)) {
        meetFileDialog(dialog);
    } else if (GetDlgItem(dialog, kBoxText) != nullptr) {
        meetBox(dialog);
    } else {
        meetOtherDialog(dialog);
    }
}

// A dialog that is gone needs no watchdog, and its handle may come back.
void forgetDialog(HWND dialog) {
    for (auto it = watches.begin(); it != watches.end(); ++it) {
        if (it->dialog == dialog) {
            KillTimer(nullptr, it->timer);
            watches.erase(it);
            break;
        }
    }
    for (auto it = metDialogs.begin(); it != metDialogs.end(); ++it) {
        if (*it == dialog) {
            metDialogs.erase(it);
            break;
        }
    }
}

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        meetDialog(reinterpret_cast<HWND>(wParam));
    } else if (code == HCBT_DESTROYWND) {
        forgetDialog(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void stopWatchdogs() {
    for (const Watch& watch : watches) {
        KillTimer(nullptr, watch.timer);
    }
    watches.clear();
    dropPendingFileDialog();
}

} // namespace

void watchDialogs(const char* file, int line) {
    noteCaller(file, line);
    if (hook == nullptr) {
        hook = SetWindowsHookExW(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
    }
    if (hook == nullptr) {
        ADD_FAILURE_AT(file, line) << "cannot hook dialogs: " << GetLastError();
    }
    expectations.clear();
    seenBoxes.clear();
    seenFileDialogs.clear();
    metDialogs.clear();
    stopWatchdogs();
}

void unwatchDialogs(const char* file, int line) {
    if (hook != nullptr) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
    stopWatchdogs();
    for (const Expectation& expected : expectations) {
        ADD_FAILURE_AT(expected.file, expected.line)
            << (expected.kind == Expected::Box ? "the message box" : "the file dialog")
            << " expected here was never shown";
    }
    for (const SeenBox& box : seenBoxes) {
        ADD_FAILURE_AT(file, line) << "message box \"" << narrow(box.caption) << "\": \""
                                   << narrow(box.text) << "\" was shown but never taken";
    }
    for (const SeenFileDialog& dialog : seenFileDialogs) {
        ADD_FAILURE_AT(file, line)
            << "file dialog \"" << narrow(dialog.title) << "\" was shown but never taken";
    }
    expectations.clear();
    seenBoxes.clear();
    seenFileDialogs.clear();
    metDialogs.clear();
}

void setDialogTimeout(UINT milliseconds) {
    dialogTimeout = milliseconds;
}

void answerNextBox(int button, const char* file, int line) {
    noteCaller(file, line);
    expectations.push_back({Expected::Box, button, L"", file, line});
}

SeenBox takeBox(const char* file, int line) {
    noteCaller(file, line);
    if (seenBoxes.empty()) {
        ADD_FAILURE_AT(file, line) << "no message box was shown";
        return {};
    }
    SeenBox box = seenBoxes.front();
    seenBoxes.pop_front();
    return box;
}

void fillNextFileDialog(const std::wstring& name, const char* file, int line) {
    noteCaller(file, line);
    expectations.push_back({Expected::FilledFileDialog, 0, name, file, line});
}

void cancelNextFileDialog(const char* file, int line) {
    noteCaller(file, line);
    expectations.push_back({Expected::CancelledFileDialog, 0, L"", file, line});
}

SeenFileDialog takeFileDialog(const char* file, int line) {
    noteCaller(file, line);
    if (seenFileDialogs.empty()) {
        ADD_FAILURE_AT(file, line) << "no file dialog was shown";
        return {};
    }
    SeenFileDialog dialog = seenFileDialogs.front();
    seenFileDialogs.pop_front();
    return dialog;
}

ControlInfo readControl(HWND parent, int id) {
    ControlInfo info;
    const HWND control = GetDlgItem(parent, id);
    if (control == nullptr) {
        return info;
    }
    info.exists = true;
    info.className = windowClass(control);
    info.text = windowText(control);
    GetWindowRect(control, &info.rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&info.rect), 2);
    info.style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    info.enabled = IsWindowEnabled(control) != FALSE;
    info.visible = (info.style & WS_VISIBLE) != 0;
    if (_wcsicmp(info.className.c_str(), L"ComboBox") == 0) {
        info.selection = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(SendMessageW(control, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
            const LRESULT length =
                SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            item.resize(length > 0 ? length : 0);
            info.items.push_back(item);
        }
    }
    return info;
}

bool pumpMessages(WPARAM* quitCode) {
    bool quit = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            if (quitCode != nullptr) {
                *quitCode = message.wParam;
            }
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

void sendCommand(HWND window, int id, int notification) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, notification), 0);
}

std::string toAnsi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring fromAnsi(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::wstring windowsPath(const char* narrow) {
    std::wstring path;
    for (const char* c = narrow; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return path;
}

bool anyInkAround(HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    bool ink = false;
    for (int dy = 0; dy < 14 && !ink; ++dy) {
        for (int dx = 0; dx < 40 && !ink; ++dx) {
            ink = GetPixel(dc, x + dx, y + dy) != RGB(255, 255, 255);
        }
    }
    ReleaseDC(window, dc);
    return ink;
}

std::wstring temporaryFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"tov-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           name;
}

std::string readFileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(path.c_str(), std::ios::binary);
    file << bytes;
    return static_cast<bool>(file.flush());
}
