// The one main window: its class, menu, start screen and the procedure that
// routes painting and every command.
#pragma once

#include <windows.h>

// The program module; set once the main window exists, and passed as the
// instance of every button the shell creates.
extern HINSTANCE instanceHandle;
// The menu "IDR_MENU": loaded in WM_CREATE, destroyed and cleared in WM_CLOSE.
extern HMENU menuHandle;
// The start-screen buttons, in the order of their ids, kept so that leaving
// the start screen can destroy them.
constexpr int kStartButtonCount = 4;
extern HWND startButtons[kStartButtonCount];

constexpr const wchar_t* kMainWindowClass = L"Default Class Name";
constexpr const wchar_t* kMainWindowTitle = L"tov - RC";
constexpr int kMainWindowWidth = 1000;
constexpr int kMainWindowHeight = 800;

// Where a window of windowSize starts so as to be centred on screenSize:
// negative on a small screen, never clamped, halved toward zero.
int centredPosition(int screenSize, int windowSize);

// Registers the class and creates the (hidden) main window; null on failure.
HWND createMainWindow(HINSTANCE instance);

// A plain push button child of parent with the given control id.
HWND createButton(HWND parent, int id, int x, int y, int width, int height, const wchar_t* caption);

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The whole run: main window, message loop, exit code (0, or 1 when the
// window could not be made).
int runProgram(HINSTANCE instance);
