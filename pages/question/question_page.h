// The question page: one question of the set, as controls created straight
// on the main window, with labels painted beside them.
#pragma once

#include "app/message_catalogue.h"

#include <windows.h>

constexpr int kQuestionControlCount = 17;

// The page's controls by id (45 to 61); all null while the page is absent.
extern HWND questionControls[kQuestionControlCount];

// Shows questions[currentIndex]; creates the controls first when entered
// from the settings page (onSettingsPage 1).
void buildQuestionPage(HWND window);
void paintQuestionLabels(HWND window);
void teardownQuestionPage(HWND window);

// The user's choice in the format box.
void onQuestionFormatChanged(HWND window);

// The first problem of the page as a message code, 0 when it passes.
MessageCode validateQuestionPage();
// Copies the page into questions[currentIndex].
void storeQuestionPage(HWND window);
