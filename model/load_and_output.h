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

// 0 loaded; -1 a header or question line could not be read, what was read
// is in the set; kLoadUnopened the file could not be opened, the set is
// untouched.
// Every failure has been shown as code 1.
constexpr int kLoadUnopened = -2;
int loadQuestionSet();

// What a load reads from `path` into the set, without a box: whether the
// file opened, then the header and the question readers' results, each
// exactly as readHeaderLines and readQuestionLines give them.
struct SetFileRead {
    bool opened;
    int header;
    int questions;
};
SetFileRead readSetFile(const wchar_t* path);

// 0, or the code to show before writing (47, 49 or 50). May offer to delete
// badly entered questions; sets questionCount.
std::uint8_t checkQuestionSet();

enum OutputResult : std::int8_t { OutputWritten = 0, OutputCancelled = 1, OutputFailed = -1 };

// Asks for the form and the file name, then writes the set beside the
// target and puts it in place (ReplaceFileW for an existing file, keeping its
// properties); where no file may be made beside it, writes the target in
// place. On any failure the target keeps what it held and no file is left
// behind. Code 1 is shown only when the target cannot be opened at all;
// every failure returns OutputFailed.
OutputResult outputQuestionSet(HWND owner);

// The output without its box and dialog: writes the set in the given form
// to `path` and puts it in place, as outputQuestionSet does once asked.
OutputResult writeSetFile(HWND owner, const wchar_t* path, bool scrambled);
