#include "pages/page_controls.h"

#include "app/main_window.h"
#include "model/question_set.h"
#include "model/text_codes.h"
#include "pages/page_input.h"

#include <cwchar>

namespace {

// Room for any stored text in UTF-16: never more units than bytes.
constexpr int kWideTextSize = kLongTextSize + 1;

void toWide(const char* text, int maxUnits, wchar_t (&wide)[kWideTextSize]) {
    const int written = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kWideTextSize);
    const int length = written > 0 ? written - 1 : 0;
    wide[length < maxUnits ? length : maxUnits] = L'\0';
}

} // namespace

HWND pageControl(const PageControls& page, int id) {
    const int index = id - page.firstId;
    return index >= 0 && index < page.count ? page.handles[index] : nullptr;
}

void createControls(HWND window, const ControlPlace* places, const PageControls& page) {
    for (int i = 0; i < page.count; ++i) {
        const ControlPlace& place = places[i];
        page.handles[place.id - page.firstId] = CreateWindowExW(
            0, place.className, place.text, place.style, place.x, place.y, place.width,
            place.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)),
            instanceHandle, nullptr);
    }
}

void destroyControls(const PageControls& page) {
    for (int i = 0; i < page.count; ++i) {
        destroyControl(page, page.firstId + i);
    }
}

void destroyControl(const PageControls& page, int id) {
    const int index = id - page.firstId;
    if (index >= 0 && index < page.count && page.handles[index] != nullptr) {
        DestroyWindow(page.handles[index]);
        page.handles[index] = nullptr;
    }
}

void paintLabels(HWND window, const LabelPlace* labels, int count) {
    const HDC context = GetDC(window);
    for (int i = 0; i < count; ++i) {
        TextOutW(context, labels[i].x, labels[i].y, labels[i].text,
                 static_cast<int>(wcslen(labels[i].text)));
    }
    ReleaseDC(window, context);
}

void blankLabels(HWND window) {
    LOGFONTW description = {};
    description.lfHeight = 800;
    const HFONT font = CreateFontIndirectW(&description);
    const HDC context = GetDC(window);
    const HGDIOBJ previous = SelectObject(context, font);
    TextOutW(context, 0, 0, L"\x3000\x3000", 2);
    SelectObject(context, previous);
    DeleteObject(font);
    ReleaseDC(window, context);
}

void readControlText(HWND control, int maxUnits, char* out, std::size_t outSize) {
    wchar_t wide[kWideTextSize] = {};
    const int units = maxUnits < kWideTextSize - 1 ? maxUnits : kWideTextSize - 1;
    GetWindowTextW(control, wide, units + 1);
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, out, static_cast<int>(outSize), nullptr,
                            nullptr) == 0) {
        out[0] = '\0';
    }
}

void setControlText(HWND control, const char* text, int maxUnits) {
    wchar_t wide[kWideTextSize];
    toWide(text, maxUnits, wide);
    SetWindowTextW(control, wide);
}

void setControlNumber(HWND control, std::int32_t value) {
    wchar_t digits[16];
    wsprintfW(digits, L"%d", value);
    SetWindowTextW(control, digits);
}

void showEscapedText(HWND control, const char* text, int maxUnits) {
    wchar_t wide[kWideTextSize];
    toWide(text, maxUnits, wide);
    // Set whole: appending line by line makes the edit control lay out the
    // whole text again each time, seconds for a text of hundreds of lines.
    wchar_t shown[kWideTextSize];
    restoreLineBreaks(wide, shown, kWideTextSize);
    SetWindowTextW(control, shown);
}

void scrollLines(HWND control, int lines) {
    SendMessageW(control, EM_LINESCROLL, 0, lines);
}

void enableRow(const PageControls& page, const ControlRow& row, bool enabled) {
    for (int i = 0; i < row.count; ++i) {
        EnableWindow(pageControl(page, row.ids[i]), enabled ? TRUE : FALSE);
    }
}

void fillComboBox(HWND box, const wchar_t* const* items, int count) {
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        SendMessageW(box, CB_INSERTSTRING, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(items[i]));
    }
}

void insertComboText(HWND box, int position, const char* text, int maxUnits) {
    wchar_t wide[kWideTextSize];
    toWide(text, maxUnits, wide);
    SendMessageW(box, CB_INSERTSTRING, static_cast<WPARAM>(position),
                 reinterpret_cast<LPARAM>(wide));
}

int comboSelection(HWND box) {
    if (box == nullptr) {
        return -1;
    }
    return static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
}

void selectComboItem(HWND box, int item) {
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

bool isChecked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void setChecked(HWND box, bool checked) {
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
