// Helpers for the tests that drive tov's windows in-process under Wine.
//
// Message boxes and file dialogs are modal: the code under test blocks in
// MessageBoxW or GetOpenFileNameW until they close. A thread-local CBT hook
// meets each dialog (class #32770) as it is activated and deals with it from
// an ordered queue of expectations that the test sets up beforehand:
//
//     watchDialogs();                  // in SetUp: from now on every box is checked
//     answerNextBox(IDYES);            // the next dialog must be a message box
//     EXPECT_EQ(showMessage(7), Proceed);
//     SeenBox box = takeBox();         // what that box showed
//     EXPECT_EQ(box.caption, L"警告");
//     unwatchDialogs();                // in TearDown: fails if an expectation was not met
//
// A dialog that nobody expected fails the test and is closed (Cancel, No or
// OK, whichever it has). A dialog still open after the timeout is ended and
// fails the test, so no test hangs. Failures name the file and line of the
// test's own call (the helpers take them as defaulted arguments).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// ---- Dialogs: set-up --------------------------------------------------------

// Installs the hook for the calling thread and clears every queue.
void watchDialogs(const char* file = __builtin_FILE(), int line = __builtin_LINE());

// Removes the hook and stops the timers. Fails if an expected dialog never
// came, or if a box or file dialog was recorded but never taken.
void unwatchDialogs(const char* file = __builtin_FILE(), int line = __builtin_LINE());

// How long a dialog may stay open before it is ended and the test fails.
// 5000 ms unless changed; applies to dialogs activated after the call.
void setDialogTimeout(UINT milliseconds);

// ---- Message boxes ----------------------------------------------------------

// What a message box showed, read from the real box when it appeared.
struct SeenBox {
    std::wstring caption;
    std::wstring text; // the static control 0xFFFF, line breaks as shown ("\r\n")
    // MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL from the buttons the box
    // has (IDOK, IDYES, IDNO, IDCANCEL), plus MB_ICONQUESTION,
    // MB_ICONEXCLAMATION, MB_ICONHAND or MB_ICONASTERISK when its icon is
    // that system icon.
    UINT style = 0;
    HWND owner = nullptr; // null for a box without owner window
    int answer = 0;       // the button it was answered with
};

// The next dialog must be a message box; answer it with button (IDOK, IDYES,
// IDNO, IDCANCEL). A box without that button fails the test and is closed.
void answerNextBox(int button, const char* file = __builtin_FILE(), int line = __builtin_LINE());

// The oldest expected box not yet taken; fails (and returns an empty record)
// if no box was shown.
SeenBox takeBox(const char* file = __builtin_FILE(), int line = __builtin_LINE());

// ---- Open and save dialogs --------------------------------------------------
//
// Found by their controls: the file-name field (edt1 0x480 on Windows' old
// style, cmb13 0x47c, a ComboBoxEx32, on Wine's and the explorer style) and
// the file-type list (cmb1 0x470). Wine activates the dialog before it has
// filled them, so it is read and answered from its own message loop, right
// after it is shown.

// What an open or save dialog showed on arrival.
struct SeenFileDialog {
    std::wstring title;
    std::wstring initialName;          // the file-name field as it opened
    std::vector<std::wstring> filters; // the file-type list, in order
    int filterIndex = -1;              // the type selected on arrival, 0-based
};

// The next dialog must be an open or save dialog: type name into its
// file-name field and press its OK button. Boxes it raises in turn (such as
// the question whether to replace a file) go through the queue as usual.
void fillNextFileDialog(const std::wstring& name, const char* file = __builtin_FILE(),
                        int line = __builtin_LINE());

// The next dialog must be an open or save dialog: cancel it.
void cancelNextFileDialog(const char* file = __builtin_FILE(), int line = __builtin_LINE());

// The oldest expected file dialog not yet taken; fails if none was shown.
SeenFileDialog takeFileDialog(const char* file = __builtin_FILE(), int line = __builtin_LINE());

// ---- Controls ---------------------------------------------------------------

// A child control as the user would see it.
struct ControlInfo {
    bool exists = false;
    std::wstring className; // as registered: "Button", "Edit", "ComboBox", ...
    std::wstring text;
    RECT rect = {};  // in the parent's client coordinates
    DWORD style = 0; // GWL_STYLE
    bool enabled = false;
    bool visible = false;            // its own WS_VISIBLE, whatever the parent's
    int selection = -1;              // combo boxes: CB_GETCURSEL; others -1
    std::vector<std::wstring> items; // combo boxes: the list, in order
};

// Reads the child of parent with this control id; exists is false if there
// is none. Works on windows of another process too.
ControlInfo readControl(HWND parent, int id);

// Any pixel that is not white in the 40 × 14 cell at x, y of the window's
// client area: whether a label is painted there.
bool anyInkAround(HWND window, int x, int y);

// ---- Messages ---------------------------------------------------------------

// Dispatches every message pending for the calling thread. Returns true if
// a WM_QUIT was among them (taken from the queue; its code in *quitCode).
bool pumpMessages(WPARAM* quitCode = nullptr);

// What a menu item or a button of that id sends to its window.
void sendCommand(HWND window, int id, int notification = 0);

// ---- Files ------------------------------------------------------------------

// A path in the temporary folder that no other test program uses.
std::wstring temporaryFile(const std::wstring& name);

// A file's bytes as they are; empty when it cannot be read.
std::string readFileBytes(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, const std::string& bytes);

// ---- Text -------------------------------------------------------------------

// UTF-16 to the ANSI code page (932 under the test runner) and back, to
// compare with the bytes the model holds.
std::string toAnsi(const std::wstring& text);
// A path as the build gives it (Z:/...), with the separators a dialog takes.
std::wstring windowsPath(const char* narrow);
std::wstring fromAnsi(const std::string& text);
