// The commands that move the user through the editor: the course buttons,
// Prev and Next, and the guarded leave of each page that they share with
// the output.
#pragma once

#include "app/control_ids.h"

#include <windows.h>

// A course button: leaves the start screen for the settings page.
void commandCourse(HWND window, Course chosen);
void commandPrev(HWND window);
void commandNext(HWND window);

// Checks the page and stores it unless the user answers Stop to what the
// check found; false when the user stays.
bool leaveSettingsPage(HWND window);
bool leaveQuestionPage(HWND window);

// The start screen's buttons destroyed, Prev and Next created.
void leaveStartScreen(HWND window);
// Created on the first entry to the questions, kept afterwards.
void createOutputButton(HWND window);
