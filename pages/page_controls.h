// The Win32 half that both editing pages share: creating a table of
// controls, moving texts between controls and the ANSI code page, rows,
// combo boxes and the painted labels.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One child control as the page creates it, with an empty window text
// unless `text` is given.
struct ControlPlace {
    int id;
    const wchar_t* className;
    DWORD style;
    int x;
    int y;
    int width;
    int height;
    const wchar_t* text = L"";
};

// One caption painted onto the main window.
struct LabelPlace {
    const wchar_t* text;
    int x;
    int y;
};

// Controls that are enabled and disabled together, by their ids.
struct ControlRow {
    int count;
    int ids[3];
};

// A page's controls have the consecutive ids firstId, firstId + 1, ...; its
// handles are kept by id, handles[id - firstId].
struct PageControls {
    int firstId;
    int count;
    HWND* handles;
};

HWND pageControl(const PageControls& page, int id);

// Creates the table's controls in its order; a failed one stays null.
void createControls(HWND window, const ControlPlace* places, const PageControls& page);
void destroyControls(const PageControls& page);
// Destroys one control of the page, for pages whose teardown has an order of its own.
void destroyControl(const PageControls& page, int id);

void paintLabels(HWND window, const LabelPlace* labels, int count);
// Covers every painted label with the white cell of one huge character.
void blankLabels(HWND window);

// At most `maxUnits` characters of the control's text, in the ANSI code page.
void readControlText(HWND control, int maxUnits, char* out, std::size_t outSize);
template <std::size_t Size> void readControlText(HWND control, int maxUnits, char (&out)[Size]) {
    readControlText(control, maxUnits, out, Size);
}

// Shows at most `maxUnits` characters of an ANSI text.
void setControlText(HWND control, const char* text, int maxUnits);
void setControlNumber(HWND control, std::int32_t value);
// As setControlText, each line-break escape shown as a line break.
void showEscapedText(HWND control, const char* text, int maxUnits);

// Scrolls a multi-line field's view by `lines` (negative: up).
void scrollLines(HWND control, int lines);

void enableRow(const PageControls& page, const ControlRow& row, bool enabled);

void fillComboBox(HWND box, const wchar_t* const* items, int count);
// Inserts an ANSI text, at most `maxUnits` characters, as item `position`.
void insertComboText(HWND box, int position, const char* text, int maxUnits);
// The selected item, -1 when none.
int comboSelection(HWND box);
void selectComboItem(HWND box, int item);

bool isChecked(HWND box);
void setChecked(HWND box, bool checked);
