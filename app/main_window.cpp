#include "app/main_window.h"

#include "app/control_ids.h"
#include "app/editor_state.h"
#include "app/command_guard.h"
#include "app/file_commands.h"
#include "app/navigation.h"
#include "app/system_dialogs.h"
#include "pages/question/question_page.h"
#include "pages/settings/settings_page.h"

HINSTANCE instanceHandle = nullptr;
HMENU menuHandle = nullptr;
HWND startButtons[kStartButtonCount] = {};

namespace {

struct ButtonPlace {
    int id;
    int x;
    int y;
    int width;
    int height;
    const wchar_t* caption;
};

constexpr ButtonPlace startButtonPlaces[kStartButtonCount] = {
    {IDC_BEGINNER, 400, 100, 200, 100, L"初級コース"},
    {IDC_INTERMEDIATE, 400, 250, 200, 100, L"中級コース"},
    {IDC_ADVANCED, 400, 400, 200, 100, L"上級コース"},
    {IDC_LOAD, 400, 550, 200, 100, L"問題集読み込み"},
};

bool registerMainWindowClass(HINSTANCE instance) {
    const auto icon = static_cast<HICON>(
        LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = static_cast<HCURSOR>(
        LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

void createStartButtons(HWND window) {
    for (int i = 0; i < kStartButtonCount; ++i) {
        const ButtonPlace& place = startButtonPlaces[i];
        startButtons[i] = createButton(window, place.id, place.x, place.y, place.width,
                                       place.height, place.caption);
    }
}

void commandExit(HWND window) {
    SendMessageW(window, WM_CLOSE, 0, 0);
}

// A missing help file is not reported.
void commandHelp() {
    openWithShell(L"open", L"tov.chm", SW_SHOWNORMAL);
}

void commandVersion(HWND window) {
    MessageBoxW(window, L"TOV version0.80", L"バージョン情報", MB_OK);
}

void warnUnknownCommand(HWND window) {
    MessageBoxW(window, L"不明なコマンドですよ", L"注意", MB_OK);
}

LRESULT onCreate(HWND window, const CREATESTRUCTW* creation) {
    menuHandle = LoadMenuW(creation->hInstance, L"IDR_MENU");
    SetMenu(window, menuHandle);
    createStartButtons(window);
    return 0;
}

// The pages' captions are painted straight onto the window, after the
// default processing has erased the background under them.
LRESULT onPaint(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcW(window, WM_PAINT, wParam, lParam);
    if (onSettingsPage == 1) {
        paintSettingsLabels(window);
    } else if (onStartScreen != 1) {
        paintQuestionLabels(window);
    }
    return result;
}

// Closing never asks anything: the set in memory is simply dropped. While a
// command waits in a box, the close box does nothing.
LRESULT onClose(HWND window, WPARAM wParam, LPARAM lParam) {
    if (commandRunning) {
        return 0;
    }
    SetMenu(window, nullptr);
    DestroyMenu(menuHandle);
    menuHandle = nullptr;
    return DefWindowProcW(window, WM_CLOSE, wParam, lParam);
}

LRESULT onDestroy() {
    PostQuitMessage(0);
    return 0;
}

// Ids 10 to 61 belong to the start screen, the navigation buttons and the
// pages; an id without a command here does nothing.
LRESULT onCommand(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    // What arrives while a command waits in a box would act on a page that
    // is half left; it is dropped.
    if (commandRunning) {
        return 0;
    }
    switch (id) {
    case IDM_EXIT:
        commandExit(window);
        break;
    case IDM_HELP:
        commandHelp();
        break;
    case IDM_VERSION:
        runCommand(window, commandVersion);
        break;
    case IDC_BEGINNER:
        runCommand(window, [](HWND w) { commandCourse(w, Beginner); });
        break;
    case IDC_INTERMEDIATE:
        runCommand(window, [](HWND w) { commandCourse(w, Intermediate); });
        break;
    case IDC_ADVANCED:
        runCommand(window, [](HWND w) { commandCourse(w, Advanced); });
        break;
    case IDC_LOAD:
        runCommand(window, commandLoad);
        break;
    case IDC_OUTPUT:
        runCommand(window, commandOutput);
        break;
    case IDC_PREV:
        runCommand(window, commandPrev);
        break;
    case IDC_NEXT:
        runCommand(window, commandNext);
        break;
    case IDC_RANK_COUNT:
        if (notification == CBN_SELCHANGE) {
            onRankCountChanged(window);
        }
        break;
    case IDC_GENRE_COUNT:
        if (notification == CBN_SELCHANGE) {
            onGenreCountChanged(window);
        }
        break;
    case IDC_QUESTION_FORMAT:
        if (notification == CBN_SELCHANGE) {
            onQuestionFormatChanged(window);
        }
        break;
    case 0:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        warnUnknownCommand(window);
        break;
    default:
        if (id > ID_LAST) {
            warnUnknownCommand(window);
        }
        break;
    }
    return 0;
}

void runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int centredPosition(int screenSize, int windowSize) {
    return (screenSize - windowSize) / 2;
}

HWND createMainWindow(HINSTANCE instance) {
    if (!registerMainWindowClass(instance)) {
        return nullptr;
    }
    const int x = centredPosition(GetSystemMetrics(SM_CXSCREEN), kMainWindowWidth);
    const int y = centredPosition(GetSystemMetrics(SM_CYSCREEN), kMainWindowHeight);
    return CreateWindowExW(0, kMainWindowClass, kMainWindowTitle,
                           WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, kMainWindowWidth,
                           kMainWindowHeight, nullptr, nullptr, instance, nullptr);
}

HWND createButton(HWND parent, int id, int x, int y, int width, int height,
                  const wchar_t* caption) {
    return CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           instanceHandle, nullptr);
}

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_PAINT:
        return onPaint(window, wParam, lParam);
    case WM_CLOSE:
        return onClose(window, wParam, lParam);
    case WM_DESTROY:
        return onDestroy();
    case WM_COMMAND:
        return onCommand(window, wParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int runProgram(HINSTANCE instance) {
    const HWND window = createMainWindow(instance);
    if (window == nullptr) {
        MessageBoxW(nullptr, L"ウィンドウの作成に失敗しました", L"エラー", MB_OK);
        return 1;
    }
    instanceHandle = instance;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    runMessageLoop();
    return 0;
}
