// Loading the question set from the file the user picked, checking it
// before output, and writing it to the file the user names (Windows side:
// message boxes, the save dialog and wide paths).
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int kPathSize = 260;

// Zero at start and kept for the run: the open dialog fills the load path;
// each save dialog starts from the previous output's path.
extern wchar_t loadPath[kPathSize];
extern wchar_t outputPath[kPathSize];
extern wchar_t outputFileTitle[kPathSize];

// 0 loaded; -1 a line could not be read, the lines before it are in the
// set; kLoadUnopened the file could not be opened, the set is untouched.
// Every failure has been shown as code 1.
constexpr int kLoadUnopened = -2;
int loadQuestionSet();

// 0, or the code to show before writing (47, 49 or 50). May offer to delete
// badly entered questions; sets questionCount.
std::uint8_t checkQuestionSet();

enum OutputResult : std::int8_t { OutputWritten = 0, OutputCancelled = 1, OutputFailed = -1 };

// Asks for the form and the file name, then writes the set. An existing
// file is replaced only once the new content is wholly written: on any
// failure it keeps what it held, and no temporary file is left behind.
OutputResult outputQuestionSet(HWND owner);
