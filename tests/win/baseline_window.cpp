// The least Win32 can do for what tov shows, built beside it for make
// timing. Without an argument: tov's window class, window and four start
// buttons, no menu. With a set file: the question page's controls and the
// navigation buttons (same classes, styles and rectangles), whose Next and
// Prev only set each control's string, selection and check for the slot,
// from strings made beforehand.
#include "app/control_ids.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "model/text_codes.h"
#include "pages/question/question_format.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kClass = L"Default Class Name";

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kReadOnly = kShown | WS_BORDER | ES_READONLY;
constexpr DWORD kList = kShown | CBS_DROPDOWNLIST | CBS_SORT;
constexpr DWORD kDigits = kShown | WS_BORDER | ES_NUMBER | ES_WANTRETURN;
constexpr DWORD kMultiLine = kShown | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN;
constexpr DWORD kChoiceLine = kShown | WS_BORDER | ES_AUTOHSCROLL | ES_WANTRETURN;
constexpr DWORD kCheckBox = kShown | BS_AUTOCHECKBOX;

struct Child {
    int id;
    const wchar_t* className;
    DWORD style;
    RECT place; // left, top, width, height
    const wchar_t* text;
};

constexpr Child kStartScreen[] = {
    {IDC_BEGINNER, L"BUTTON", kShown, {400, 100, 200, 100}, L"初級コース"},
    {IDC_INTERMEDIATE, L"BUTTON", kShown, {400, 250, 200, 100}, L"中級コース"},
    {IDC_ADVANCED, L"BUTTON", kShown, {400, 400, 200, 100}, L"上級コース"},
    {IDC_LOAD, L"BUTTON", kShown, {400, 550, 200, 100}, L"問題集読み込み"},
};

// In tov's order of creation after a load.
constexpr Child kQuestionPage[] = {
    {IDC_PREV, L"BUTTON", kShown, {30, 700, 100, 40}, L"前へ"},
    {IDC_NEXT, L"BUTTON", kShown, {130, 700, 100, 40}, L"次へ"},
    {IDC_OUTPUT, L"BUTTON", kShown, {30, 660, 200, 40}, L"出力"},
    {45, L"EDIT", kReadOnly, {90, 40, 140, 22}, L""},
    {46, L"COMBOBOX", kList, {90, 120, 140, 300}, L""},
    {47, L"COMBOBOX", kList, {90, 200, 140, 300}, L""},
    {48, L"EDIT", kDigits, {90, 280, 140, 22}, L""},
    {49, L"EDIT", kMultiLine, {300, 40, 650, 250}, L"問題文"},
    {51, L"EDIT", kChoiceLine, {380, 310, 300, 22}, L""},
    {52, L"EDIT", kChoiceLine, {380, 350, 300, 22}, L""},
    {53, L"EDIT", kChoiceLine, {380, 390, 300, 22}, L""},
    {54, L"EDIT", kChoiceLine, {380, 430, 300, 22}, L""},
    {55, L"EDIT", kChoiceLine, {380, 470, 300, 22}, L""},
    {56, L"BUTTON", kCheckBox, {700, 310, 22, 22}, L""},
    {57, L"BUTTON", kCheckBox, {700, 350, 22, 22}, L""},
    {58, L"BUTTON", kCheckBox, {700, 390, 22, 22}, L""},
    {59, L"BUTTON", kCheckBox, {700, 430, 22, 22}, L""},
    {60, L"BUTTON", kCheckBox, {700, 470, 22, 22}, L""},
    {61, L"COMBOBOX", kList, {750, 310, 140, 300}, L""},
    {50, L"EDIT", kMultiLine, {300, 500, 650, 250}, L"解説文"},
};

constexpr const wchar_t* kFormatItems[] = {L"複数選択", L"2択問題", L"3択問題", L"4択問題"};
constexpr const wchar_t* kAnswerItems[] = {L"選択肢1", L"選択肢2", L"選択肢3", L"選択肢4"};

// What the page shows of one slot.
struct SlotView {
    std::wstring id, points, text, explanation, choices[kMaxChoices];
    int format, genre, answer;
    bool correct[kMaxChoices];
};

std::vector<SlotView> slots;
int shownSlot = 0;

std::wstring wide(const char* text, int maxUnits) {
    std::wstring out(kLongTextSize + 1, L'\0');
    const int written =
        MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), static_cast<int>(out.size()));
    out.resize(written > 0 && written - 1 < maxUnits ? written - 1 : written > 0 ? maxUnits : 0);
    return out;
}

std::wstring withLineBreaks(const char* text) {
    const std::wstring escaped = wide(text, kLongTextSize - 1);
    std::wstring out(kLongTextSize + 1, L'\0');
    out.resize(restoreLineBreaks(escaped.c_str(), out.data(), out.size()));
    return out;
}

SlotView viewOf(const Question& q) {
    SlotView view = {};
    view.id = std::to_wstring(q.questionId);
    view.points = std::to_wstring(q.points);
    view.text = withLineBreaks(q.text);
    view.explanation = withLineBreaks(q.explanation);
    view.format = itemOfValue(q.format, kFormatItemCount);
    view.genre = itemOfValue(q.genre, genreItemCount(questionSet.genreCount));
    const int choices = choiceCountOf(view.format);
    for (int k = 0; k < choices; ++k) {
        view.choices[k] = wide(q.choices[k], 255);
    }
    view.answer = choices == kMaxChoices ? -1 : itemOfValue(q.answer, answerItemCount(choices));
    if (choices == kMaxChoices) {
        correctChoicesFromCode(q.answer, view.correct);
    }
    return view;
}

HWND createChild(HWND window, const Child& child) {
    return CreateWindowExW(0, child.className, child.text, child.style, child.place.left,
                           child.place.top, child.place.right, child.place.bottom, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void fillList(HWND box, const wchar_t* const* items, int count) {
    for (int i = 0; i < count; ++i) {
        SendMessageW(box, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(items[i]));
    }
}

void createQuestionPage(HWND window) {
    for (const Child& child : kQuestionPage) {
        createChild(window, child);
    }
    fillList(GetDlgItem(window, 46), kFormatItems, kFormatItemCount);
    fillList(GetDlgItem(window, 61), kAnswerItems, kAnswerLabelCount);
    for (int i = 0; i < genreItemCount(questionSet.genreCount); ++i) {
        const std::wstring name = wide(questionSet.genreNames[i], 255);
        SendMessageW(GetDlgItem(window, 47), CB_INSERTSTRING, i,
                     reinterpret_cast<LPARAM>(name.c_str()));
    }
    // Every slot of a timing set has the first's format.
    const int choices = choiceCountOf(slots.empty() ? -1 : slots[0].format);
    for (int k = 1; k <= kMaxChoices; ++k) {
        EnableWindow(GetDlgItem(window, 50 + k), k <= choices);
        EnableWindow(GetDlgItem(window, 55 + k), choices == kMaxChoices);
    }
    EnableWindow(GetDlgItem(window, 61), choices != kMaxChoices);
}

void setText(HWND window, int id, const std::wstring& text) {
    SetWindowTextW(GetDlgItem(window, id), text.c_str());
}

void select(HWND window, int id, int item) {
    SendMessageW(GetDlgItem(window, id), CB_SETCURSEL, item, 0);
}

// Each string, selection and check set once.
void refill(HWND window) {
    const SlotView& view = slots[shownSlot];
    setText(window, 45, view.id);
    select(window, 46, view.format);
    select(window, 47, view.genre);
    setText(window, 48, view.points);
    setText(window, 49, view.text);
    setText(window, 50, view.explanation);
    for (int k = 1; k <= kMaxChoices; ++k) {
        setText(window, 50 + k, view.choices[k - 1]);
        SendMessageW(GetDlgItem(window, 55 + k), BM_SETCHECK,
                     view.correct[k - 1] ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    select(window, 61, view.answer);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_COMMAND && !slots.empty()) {
        const int step = LOWORD(wParam) == IDC_NEXT ? 1 : LOWORD(wParam) == IDC_PREV ? -1 : 0;
        if (step != 0 && shownSlot + step >= 0 &&
            shownSlot + step < static_cast<int>(slots.size())) {
            shownSlot += step;
            refill(window);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createWindow(HINSTANCE instance) {
    const auto icon = static_cast<HICON>(
        LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = static_cast<HCURSOR>(
        LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClass;
    RegisterClassExW(&windowClass);
    return CreateWindowExW(0, kClass, L"tov - RC", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           (GetSystemMetrics(SM_CXSCREEN) - 1000) / 2,
                           (GetSystemMetrics(SM_CYSCREEN) - 800) / 2, 1000, 800, nullptr, nullptr,
                           instance, nullptr);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR argument, int) {
    // The path, without the quotes it may come in.
    std::wstring setFile = argument[0] == L'"' ? argument + 1 : argument;
    setFile = setFile.substr(0, setFile.find(L'"'));
    if (!setFile.empty()) {
        readHeaderLines(setFile.c_str());
        readQuestionLines(setFile.c_str());
        for (int slot = 0; slot < kMaxQuestions && questionSet.questions[slot].questionId != 0;
             ++slot) {
            slots.push_back(viewOf(questionSet.questions[slot]));
        }
    }
    const HWND window = createWindow(instance);
    if (slots.empty()) {
        for (const Child& child : kStartScreen) {
            createChild(window, child);
        }
    } else {
        createQuestionPage(window);
        refill(window);
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
