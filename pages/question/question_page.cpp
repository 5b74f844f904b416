#include "pages/question/question_page.h"

#include "app/control_ids.h"
#include "app/editor_state.h"
#include "model/question_set.h"
#include "model/text_codes.h"
#include "pages/page_controls.h"
#include "pages/question/question_format.h"
#include "pages/question/question_rules.h"

HWND questionControls[kQuestionControlCount] = {};

namespace {

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kReadOnly = kShown | WS_BORDER | ES_READONLY;
constexpr DWORD kList = kShown | CBS_DROPDOWNLIST | CBS_SORT;
constexpr DWORD kDigits = kShown | WS_BORDER | ES_NUMBER | ES_WANTRETURN;
constexpr DWORD kMultiLine = kShown | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN;
constexpr DWORD kChoiceLine = kShown | WS_BORDER | ES_AUTOHSCROLL | ES_WANTRETURN;
constexpr DWORD kCheckBox = kShown | BS_AUTOCHECKBOX;

constexpr int kQuestionId = 45;
constexpr int kFormat = IDC_QUESTION_FORMAT;
constexpr int kGenre = 47;
constexpr int kPoints = 48;
constexpr int kText = 49;
constexpr int kExplanation = 50;
// Choice field and correct-choice box k (1-based) have the id base + k.
constexpr int kChoiceBase = 50;
constexpr int kCorrectBase = 55;
constexpr int kAnswer = 61;

constexpr PageControls kPage = {IDC_QUESTION_FIRST, kQuestionControlCount, questionControls};

constexpr const wchar_t* kTextPlaceholder = L"問題文";
constexpr const wchar_t* kExplanationPlaceholder = L"解説文";

// In the order of creation.
constexpr ControlPlace kControls[kQuestionControlCount] = {
    {kQuestionId, L"EDIT", kReadOnly, 90, 40, 140, 22},
    {kFormat, L"COMBOBOX", kList, 90, 120, 140, 300},
    {kGenre, L"COMBOBOX", kList, 90, 200, 140, 300},
    {kPoints, L"EDIT", kDigits, 90, 280, 140, 22},
    {kText, L"EDIT", kMultiLine, 300, 40, 650, 250, kTextPlaceholder},
    {51, L"EDIT", kChoiceLine, 380, 310, 300, 22},
    {52, L"EDIT", kChoiceLine, 380, 350, 300, 22},
    {53, L"EDIT", kChoiceLine, 380, 390, 300, 22},
    {54, L"EDIT", kChoiceLine, 380, 430, 300, 22},
    {55, L"EDIT", kChoiceLine, 380, 470, 300, 22},
    {56, L"BUTTON", kCheckBox, 700, 310, 22, 22},
    {57, L"BUTTON", kCheckBox, 700, 350, 22, 22},
    {58, L"BUTTON", kCheckBox, 700, 390, 22, 22},
    {59, L"BUTTON", kCheckBox, 700, 430, 22, 22},
    {60, L"BUTTON", kCheckBox, 700, 470, 22, 22},
    {kAnswer, L"COMBOBOX", kList, 750, 310, 140, 300},
    {kExplanation, L"EDIT", kMultiLine, 300, 500, 650, 250, kExplanationPlaceholder},
};

constexpr int kTeardownOrder[kQuestionControlCount] = {
    kText, kExplanation, kQuestionId, kFormat, kGenre, kPoints, 51, 52,      53,
    54,    55,           56,          57,      58,     59,      60, kAnswer,
};

constexpr const wchar_t* kFormatItems[kFormatItemCount] = {
    L"複数選択",
    L"2択問題",
    L"3択問題",
    L"4択問題",
};
constexpr const wchar_t* kAnswerLabels[kAnswerLabelCount] = {
    L"選択肢1",
    L"選択肢2",
    L"選択肢3",
    L"選択肢4",
};

constexpr LabelPlace kLabels[] = {
    {L"問題ID", 20, 40},    {L"出題形式", 20, 120}, {L"ジャンル", 20, 200}, {L"配点", 20, 280},
    {L"選択肢1", 300, 310}, {L"選択肢2", 300, 350}, {L"選択肢3", 300, 390}, {L"選択肢4", 300, 430},
    {L"選択肢5", 300, 470}, {L"正解", 650, 310},
};

// The reset page is the four-choice page.
constexpr int kResetFormatItem = 3;
// Filling a long text leaves its end in view; its start is what the user reads.
constexpr int kFillScrollLines = 10;

HWND control(int id) {
    return pageControl(kPage, id);
}

void enable(int id, bool enabled) {
    EnableWindow(control(id), enabled ? TRUE : FALSE);
}

// Each change redraws the button, which the entering build relies on.
void enterNavigationButtons() {
    EnableWindow(nextButton, FALSE);
    EnableWindow(nextButton, TRUE);
    if (outputButton != nullptr) {
        EnableWindow(outputButton, FALSE);
        EnableWindow(outputButton, TRUE);
    }
    EnableWindow(prevButton, TRUE);
}

void fillGenreBox() {
    const HWND box = control(kGenre);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    const int count = genreItemCount(questionSet.genreCount);
    for (int i = 0; i < count; ++i) {
        insertComboText(box, i, questionSet.genreNames[i], kShortReadUnits);
    }
}

void fillAnswerBox(int items) {
    fillComboBox(control(kAnswer), kAnswerLabels, items);
}

void createPage(HWND window) {
    createControls(window, kControls, kPage);
    fillComboBox(control(kFormat), kFormatItems, kFormatItemCount);
    fillGenreBox();
    fillAnswerBox(kAnswerLabelCount);
    selectComboItem(control(kAnswer), 0);
}

// Texts and check marks stay, greyed while their control is disabled.
void enableForRule(const FormatRule& rule) {
    for (int k = 1; k <= kMaxChoices; ++k) {
        enable(kChoiceBase + k, k <= rule.choiceCount);
        enable(kCorrectBase + k, rule.correctBoxesEnabled);
    }
    enable(kAnswer, rule.answerItems > 0);
}

void applyFormatRule(int selection) {
    const FormatRule& rule = formatRule(selection);
    enableForRule(rule);
    if (rule.answerItems > 0) {
        fillAnswerBox(rule.answerItems);
        selectComboItem(control(kAnswer), 0);
    }
}

void resetPage() {
    setControlNumber(control(kQuestionId), currentIndex + 1);
    setControlNumber(control(kPoints), 0);
    selectComboItem(control(kGenre), 0);
    selectComboItem(control(kFormat), kResetFormatItem);
    for (int k = 1; k <= kMaxChoices; ++k) {
        SetWindowTextW(control(kChoiceBase + k), L"");
        setChecked(control(kCorrectBase + k), false);
    }
    applyFormatRule(kResetFormatItem);
    SetWindowTextW(control(kText), kTextPlaceholder);
    SetWindowTextW(control(kExplanation), kExplanationPlaceholder);
}

void showLongText(int id, const char* text) {
    showEscapedText(control(id), text, kLongReadUnits);
    scrollLines(control(id), -kFillScrollLines);
}

// A stored question shows what the reset page overwritten by the slot's
// values would, each control set once: every change repaints the control,
// and a long text is laid out anew each time it is set. A stored format
// outside the list shows no choices and keeps the reset's (four-choice)
// enabled state; an answer or genre outside its list selects nothing.
void fillFromSlot(const Question& slot) {
    const int selection = itemOfValue(slot.format, kFormatItemCount);
    const int choiceCount = choiceCountOf(selection);
    const int answerItems = answerItemCount(choiceCount);
    setControlNumber(control(kQuestionId), slot.questionId);
    selectComboItem(control(kFormat), selection);
    selectComboItem(control(kGenre),
                    itemOfValue(slot.genre, genreItemCount(questionSet.genreCount)));
    setControlNumber(control(kPoints), slot.points);
    showLongText(kText, slot.text);
    showLongText(kExplanation, slot.explanation);
    enableForRule(formatRule(selection));
    fillAnswerBox(answerItems);
    bool correct[kMaxChoices] = {};
    if (choiceCount == kMaxChoices) {
        correctChoicesFromCode(slot.answer, correct);
    } else {
        selectComboItem(control(kAnswer), itemOfValue(slot.answer, answerItems));
    }
    for (int k = 1; k <= kMaxChoices; ++k) {
        setControlText(control(kChoiceBase + k), k <= choiceCount ? slot.choices[k - 1] : "",
                       kShortReadUnits);
        setChecked(control(kCorrectBase + k), correct[k - 1]);
    }
}

bool isSlotIndex(std::int32_t index) {
    return index >= 0 && index < kMaxQuestions;
}

void readQuestionInput(QuestionPageInput& input) {
    readControlText(control(kPoints), kShortReadUnits, input.points);
    readControlText(control(kText), kLongReadUnits, input.text);
    readControlText(control(kExplanation), kLongReadUnits, input.explanation);
    for (int k = 1; k <= kMaxChoices; ++k) {
        readControlText(control(kChoiceBase + k), kShortReadUnits, input.choices[k - 1]);
        input.correct[k - 1] = isChecked(control(kCorrectBase + k));
    }
    input.formatSelection = comboSelection(control(kFormat));
    input.genreSelection = comboSelection(control(kGenre));
    input.answerSelection = comboSelection(control(kAnswer));
}

} // namespace

void buildQuestionPage(HWND window) {
    if (onSettingsPage == 1) {
        enterNavigationButtons();
        createPage(window);
    }
    if (isSlotIndex(currentIndex) && questionSet.questions[currentIndex].questionId != 0) {
        fillFromSlot(questionSet.questions[currentIndex]);
    } else {
        resetPage();
    }
}

void paintQuestionLabels(HWND window) {
    paintLabels(window, kLabels, static_cast<int>(sizeof kLabels / sizeof kLabels[0]));
}

void teardownQuestionPage(HWND window) {
    for (int id : kTeardownOrder) {
        destroyControl(kPage, id);
    }
    blankLabels(window);
}

void onQuestionFormatChanged(HWND) {
    applyFormatRule(comboSelection(control(kFormat)));
}

MessageCode validateQuestionPage() {
    readQuestionInput(questionPageInput);
    return checkQuestionInput(questionPageInput);
}

// A slot index outside the set has no slot to write.
void storeQuestionPage(HWND) {
    if (!isSlotIndex(currentIndex)) {
        return;
    }
    readQuestionInput(questionPageInput);
    storeQuestionInput(questionPageInput, currentIndex, questionSet.genreCount,
                       questionSet.questions[currentIndex]);
}
