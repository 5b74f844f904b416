#include "app/command_guard.h"

bool commandRunning = false;

namespace {

// A dialog owned by the main window keeps it disabled when it was disabled
// before; after an ownerless box the main window is made active again.
void restoreInput(HWND window, HWND focus) {
    EnableWindow(window, TRUE);
    if (GetActiveWindow() != window) {
        SetActiveWindow(window);
    }
    if (focus != nullptr && IsWindow(focus) && IsChild(window, focus)) {
        SetFocus(focus);
    }
}

} // namespace

void runCommand(HWND window, void (*command)(HWND window)) {
    if (commandRunning) {
        return;
    }
    commandRunning = true;
    const HWND focus = GetFocus();
    const bool wasEnabled = IsWindowEnabled(window) != FALSE;
    EnableWindow(window, FALSE);
    command(window);
    if (wasEnabled) {
        restoreInput(window, focus);
    }
    commandRunning = false;
}
