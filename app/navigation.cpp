#include "app/navigation.h"

#include "app/editor_state.h"
#include "app/main_window.h"
#include "app/message_catalogue.h"
#include "model/question_set.h"
#include "pages/question/question_page.h"
#include "pages/settings/settings_page.h"

namespace {

constexpr int kBeginnerLastIndex = 9;
constexpr int kLastIndex = kMaxQuestions - 1;

void destroyStartButtons() {
    for (HWND& button : startButtons) {
        if (button != nullptr) {
            DestroyWindow(button);
            button = nullptr;
        }
    }
}

bool onQuestionPage() {
    return onStartScreen != 1 && onSettingsPage != 1;
}

void enterQuestions(HWND window) {
    currentIndex = 0;
    teardownSettingsPage(window);
    buildQuestionPage(window);
    onSettingsPage = 0;
    createOutputButton(window);
    paintQuestionLabels(window);
}

void backToSettings(HWND window) {
    onSettingsPage = 1;
    currentIndex = 0;
    teardownQuestionPage(window);
    buildSettingsPage(window);
    paintSettingsLabels(window);
}

// The beginner's tenth question and the set's last slot keep Next disabled
// until Prev.
void applyNextLimit() {
    const bool limit =
        (course == Beginner && currentIndex == kBeginnerLastIndex) || currentIndex >= kLastIndex;
    if (limit) {
        nextLocked = 1;
    }
    if (nextLocked == 1) {
        EnableWindow(nextButton, FALSE);
    }
}

} // namespace

bool leaveSettingsPage(HWND window) {
    const MessageCode code = validateSettingsPage(window);
    if (code != 0 && showMessage(code) == Stop) {
        return false;
    }
    storeSettingsPage(window);
    return true;
}

bool leaveQuestionPage(HWND window) {
    const MessageCode code = validateQuestionPage();
    if (code != 0 && showMessage(code) == Stop) {
        return false;
    }
    storeQuestionPage(window);
    return true;
}

void leaveStartScreen(HWND window) {
    destroyStartButtons();
    prevButton = createButton(window, IDC_PREV, 30, 700, 100, 40, L"前へ");
    nextButton = createButton(window, IDC_NEXT, 130, 700, 100, 40, L"次へ");
}

void createOutputButton(HWND window) {
    if (outputButton == nullptr) {
        outputButton = createButton(window, IDC_OUTPUT, 30, 660, 200, 40, L"出力");
    }
}

void commandCourse(HWND window, Course chosen) {
    // The start screen is left once; a late click on its buttons does nothing.
    if (onStartScreen != 1) {
        return;
    }
    onSettingsPage = 1;
    currentIndex = 0;
    course = chosen;
    leaveStartScreen(window);
    buildSettingsPage(window);
    onStartScreen = 0;
}

void commandPrev(HWND window) {
    if (!onQuestionPage() || !leaveQuestionPage(window)) {
        return;
    }
    currentIndex = currentIndex - 1;
    if (currentIndex == -1) {
        backToSettings(window);
    } else {
        buildQuestionPage(window);
    }
    if (nextLocked == 1) {
        nextLocked = 0;
        EnableWindow(nextButton, TRUE);
    }
}

void commandNext(HWND window) {
    if (onStartScreen == 1) {
        return;
    }
    if (onSettingsPage == 1) {
        if (!leaveSettingsPage(window)) {
            return;
        }
        enterQuestions(window);
    } else {
        // Next is disabled there; a click that still arrives does nothing.
        if (nextLocked == 1 || currentIndex >= kLastIndex || !leaveQuestionPage(window)) {
            return;
        }
        currentIndex = currentIndex + 1;
        buildQuestionPage(window);
    }
    applyNextLimit();
}
