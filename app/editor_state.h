// What the main window shows and what is being edited, shared by the
// commands, the pages and painting. One instance each, on the GUI thread.
#pragma once

#include "app/control_ids.h"

#include <windows.h>

#include <cstdint>

// 1 while the start screen is shown; never set back once left.
extern std::int32_t onStartScreen;
// 1 while the settings page is shown; still 1 during the first build of a
// question page, which creates its controls only then.
extern std::int32_t onSettingsPage;
// 0-based slot of the question edited; 0 on the settings page.
extern std::int32_t currentIndex;
// The chosen Course.
extern std::int32_t course;
// 1 while the Beginner limit keeps Next disabled.
extern std::int32_t nextLocked;

// Navigation buttons: null until created, never destroyed.
extern HWND prevButton;
extern HWND nextButton;
extern HWND outputButton;
