// The commands that connect the editor with files: loading a set from the
// start screen, and writing the set from a question page.
#pragma once

#include <windows.h>

#include <commdlg.h>

// Filled anew on each use of the open dialog.
extern OPENFILENAMEW loadDialog;
extern wchar_t loadFileTitle[260];

void commandLoad(HWND window);
void commandOutput(HWND window);
