#include "app/editor_state.h"

std::int32_t onStartScreen = 1;
std::int32_t onSettingsPage = 0;
std::int32_t currentIndex = 0;
std::int32_t course = Beginner;
std::int32_t nextLocked = 0;

HWND prevButton = nullptr;
HWND nextButton = nullptr;
HWND outputButton = nullptr;
