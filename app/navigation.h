// The commands that move the user through the editor.
#pragma once

#include "app/control_ids.h"

#include <windows.h>

// A course button: leaves the start screen for the settings page.
void commandCourse(HWND window, Course chosen);
