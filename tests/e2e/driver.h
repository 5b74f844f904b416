// Drives the real tov.exe from outside, as a user would: starts it as its
// own process, finds its windows and boxes, presses their buttons, and waits
// for it to end. One program at a time. Controls of its windows are read
// with readControl (tests/win/toolkit.h), which works across processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Starts tov.exe: the path in the environment variable TOV_EXE if set, else
// the one the build compiled in. False if the process could not be created.
bool startTov();

// Ends the program if it still runs and releases its handles.
void stopTov();

// The program's main window, waiting up to the timeout; null if none came.
HWND findTovWindow(DWORD timeoutMs = 15000);

// A visible dialog (class #32770) of the program with this caption, waiting
// up to the timeout; null if none came.
HWND findTovBox(const std::wstring& caption, DWORD timeoutMs = 5000);

// The message of a message box (its static control 0xFFFF).
std::wstring boxText(HWND box);

std::wstring windowText(HWND window);

// Clicks a button of a dialog (IDOK, IDYES, ...).
void pressButton(HWND dialog, int id);

// Posts what a menu item or button with this id sends to its window.
void postCommand(HWND window, int id);

// True once the window no longer exists, waiting up to the timeout.
bool waitForWindowGone(HWND window, DWORD timeoutMs = 5000);

// The program's exit code once it ends, waiting up to the timeout;
// STILL_ACTIVE if it runs on.
DWORD waitForTovExit(DWORD timeoutMs = 10000);

// ---- Acting on the program's controls, as the user's typing and choosing
// would.

// Replaces the text of the window's child control with this id.
void typeInto(HWND window, int id, const std::wstring& text);

// Types a question page's points, text, explanation and choices from the
// first on; the choices not given are left as they are.
void typeQuestion(HWND window, const std::wstring& points, const std::wstring& text,
                  const std::wstring& explanation, const std::vector<std::wstring>& choices);

// Selects an item of a combo box and tells its window, as a click does.
void chooseItem(HWND window, int boxId, int item);

// True once the child control shows this text, waiting up to the timeout.
bool waitForText(HWND window, int id, const std::wstring& text, DWORD timeoutMs = 5000);

// Returns once the program has dealt with everything sent before.
void settle(HWND window);

// How many dialogs (class #32770) of the program are visible.
int visibleTovDialogs();

// Types a path into an open or save dialog's file-name field and presses OK.
void chooseFile(HWND dialog, const std::wstring& path);

// A real left click at a point of the screen, through the input queue.
void clickAt(POINT screen);

// ---- Stories: the program's boxes, real clicks and the files a story uses.

// Answers the program's box with this caption once it comes, by its button,
// and waits until it has gone. The text it showed; empty when none came.
std::wstring answerTovBox(const std::wstring& caption, int button, DWORD timeoutMs = 5000);

// A real click on the middle of the window's child control with this id,
// the window brought to the front first.
void clickControl(HWND window, int id);

// A real click on a start-screen button, repeated while it has no effect yet
// (the first click on a new window may only bring it to the front). True
// once the button has gone or a dialog of the program has come.
bool clickStartButton(HWND window, int id);
