// The settings page: the set's title, presentation mode, ranks and genres,
// as controls created straight on the main window.
#pragma once

#include "app/message_catalogue.h"

#include <windows.h>

constexpr int kSettingsControlCount = 28;

// The page's controls by id (17 to 44); all null while the page is absent.
extern HWND settingsControls[kSettingsControlCount];

// Creates the page for the editor's course and shows the stored settings.
void buildSettingsPage(HWND window);
void paintSettingsLabels(HWND window);
void teardownSettingsPage(HWND window);

// The user's choice in the rank-count and genre-count boxes.
void onRankCountChanged(HWND window);
void onGenreCountChanged(HWND window);

// The first problem of the page as a message code, 0 when it passes.
MessageCode validateSettingsPage(HWND window);
// Copies the page into the question set.
void storeSettingsPage(HWND window);
