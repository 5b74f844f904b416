// Command and control ids of the main window and its children. Plain macros,
// because the menu resource includes this file too.
#pragma once

// Menu commands.
#define IDM_EXIT 1
#define IDM_HELP 2
#define IDM_VERSION 3

// Start-screen buttons.
#define IDC_BEGINNER 10
#define IDC_INTERMEDIATE 11
#define IDC_ADVANCED 12
#define IDC_LOAD 13

// Navigation buttons.
#define IDC_OUTPUT 14
#define IDC_PREV 15
#define IDC_NEXT 16

// The pages' controls; the three combo boxes whose selection changes the page.
#define IDC_SETTINGS_FIRST 17
#define IDC_RANK_COUNT 19
#define IDC_GENRE_COUNT 34
#define IDC_SETTINGS_LAST 44
#define IDC_QUESTION_FIRST 45
#define IDC_QUESTION_FORMAT 46
#define IDC_QUESTION_LAST 61

// Every id the program gives out lies in 1 to 61; 4 to 9 are unused.
#define ID_FIRST 1
#define ID_LAST 61

#ifndef RC_INVOKED
// The course buttons, in the order of their ids.
enum Course : int { Beginner = 0, Intermediate = 1, Advanced = 2 };
#endif
