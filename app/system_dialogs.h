// The file dialogs and the help viewer, from libraries loaded when first
// needed: linked at start, comdlg32 and shell32 bring a chain of libraries
// of their own into every start, for commands most runs never use.
#pragma once

#include <windows.h>

#include <commdlg.h>

// GetOpenFileNameW and GetSaveFileNameW; FALSE, as for a cancelled dialog,
// when comdlg32 cannot be loaded.
BOOL showOpenDialog(OPENFILENAMEW* dialog);
BOOL showSaveDialog(OPENFILENAMEW* dialog);

// ShellExecuteW with no owner, parameters or folder; does nothing when
// shell32 cannot be loaded.
void openWithShell(const wchar_t* verb, const wchar_t* file, int show);
