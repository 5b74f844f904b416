// What the tests of the editing pages share: the main window as the program
// starts, the user's typing and choosing, the styles children are created
// with, and whether a label's ink is on the window.
#pragma once

#include "app/control_ids.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

// The editor and the set as the program starts.
void resetEditor();

class PageTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // What a click on the course button does.
    void startCourse(Course chosen);
    // The user picks an item of a box: the box tells the window.
    void choose(int boxId, int item);
    void type(int id, const std::wstring& text);
    std::wstring text(int id) { return readControl(window, id).text; }
    bool enabled(int id) { return readControl(window, id).enabled; }

    HWND window = nullptr;
};

// The style each child of `parent` is created with, as the program passed
// it: an edit control takes WS_BORDER out of its style and draws the border
// itself.
struct CreatedChild {
    int id;
    DWORD style;
};
void startRecordingChildren(HWND parent);
std::vector<CreatedChild> stopRecordingChildren();

// Writes text into a model field in the ANSI code page.
void putAnsi(char* field, const std::wstring& text);

// Every label's cell inked, or every one blank.
void expectLabelInk(HWND window, const std::vector<POINT>& labels, bool inked);
