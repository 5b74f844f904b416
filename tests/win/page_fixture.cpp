#include "tests/win/page_fixture.h"

#include "app/editor_state.h"
#include "app/main_window.h"
#include "model/question_set.h"

#include <cstring>

void resetEditor() {
    std::memset(&questionSet, 0, sizeof questionSet);
    onStartScreen = 1;
    onSettingsPage = 0;
    currentIndex = 0;
    course = Beginner;
    nextLocked = 0;
    prevButton = nextButton = outputButton = nullptr;
}

void PageTest::SetUp() {
    resetEditor();
    watchDialogs();
    window = createMainWindow(GetModuleHandleW(nullptr));
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    pumpMessages();
}

void PageTest::TearDown() {
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
    pumpMessages();
    UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr));
    unwatchDialogs();
    resetEditor();
}

void PageTest::startCourse(Course chosen) {
    sendCommand(window, IDC_BEGINNER + chosen);
    pumpMessages();
}

void PageTest::choose(int boxId, int item) {
    SendMessageW(GetDlgItem(window, boxId), CB_SETCURSEL, item, 0);
    sendCommand(window, boxId, CBN_SELCHANGE);
}

void PageTest::type(int id, const std::wstring& text) {
    const HWND field = GetDlgItem(window, id);
    for (wchar_t c : text) {
        SendMessageW(field, WM_CHAR, c, 0);
    }
}

namespace {

std::vector<CreatedChild> createdChildren;
HWND parentWatched = nullptr;
HHOOK creationHook = nullptr;

LRESULT CALLBACK recordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* creation = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (creation->hwndParent == parentWatched) {
            createdChildren.push_back({static_cast<int>(reinterpret_cast<INT_PTR>(creation->hMenu)),
                                       static_cast<DWORD>(creation->style)});
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void startRecordingChildren(HWND parent) {
    createdChildren.clear();
    parentWatched = parent;
    creationHook = SetWindowsHookExW(WH_CBT, recordCreation, nullptr, GetCurrentThreadId());
}

std::vector<CreatedChild> stopRecordingChildren() {
    UnhookWindowsHookEx(creationHook);
    creationHook = nullptr;
    parentWatched = nullptr;
    return createdChildren;
}

void putAnsi(char* field, const std::wstring& text) {
    const std::string ansi = toAnsi(text);
    std::strcpy(field, ansi.c_str());
}

void expectLabelInk(HWND window, const std::vector<POINT>& labels, bool inked) {
    for (const POINT& label : labels) {
        EXPECT_EQ(anyInkAround(window, label.x, label.y), inked) << label.x << ',' << label.y;
    }
}
