// One command at a time. The program's boxes have no owner window, so
// without this the main window would take clicks while a box waits and
// start a second command in the middle of the first.
#pragma once

#include <windows.h>

// True while a command runs, boxes and dialogs included.
extern bool commandRunning;

// Runs `command` with the main window disabled, so that neither its
// controls, its menu nor its close box take input meanwhile; a command that
// arrives during another returns at once. Focus goes back where it was.
void runCommand(HWND window, void (*command)(HWND window));
