#include "app/navigation.h"

#include "app/editor_state.h"
#include "app/main_window.h"
#include "pages/settings/settings_page.h"

namespace {

void destroyStartButtons() {
    for (HWND& button : startButtons) {
        if (button != nullptr) {
            DestroyWindow(button);
            button = nullptr;
        }
    }
}

void createPrevAndNext(HWND window) {
    prevButton = createButton(window, IDC_PREV, 30, 700, 100, 40, L"前へ");
    nextButton = createButton(window, IDC_NEXT, 130, 700, 100, 40, L"次へ");
}

} // namespace

void commandCourse(HWND window, Course chosen) {
    // The start screen is left once; a late click on its buttons does nothing.
    if (onStartScreen != 1) {
        return;
    }
    onSettingsPage = 1;
    currentIndex = 0;
    course = chosen;
    destroyStartButtons();
    createPrevAndNext(window);
    buildSettingsPage(window);
    onStartScreen = 0;
}
