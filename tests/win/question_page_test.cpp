// The question page on the real main window: its controls and reset state,
// a stored question shown again, the format rule, and the page checked and
// read back into its slot, with the real edit controls and combo boxes.
#include "app/control_ids.h"
#include "app/editor_state.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "pages/question/question_page.h"
#include "tests/win/page_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kQuestionId = 45;
constexpr int kFormat = 46;
constexpr int kGenre = 47;
constexpr int kPoints = 48;
constexpr int kText = 49;
constexpr int kExplanation = 50;
constexpr int kAnswer = 61;

int choice(int k) {
    return 50 + k;
}
int correct(int k) {
    return 55 + k;
}

const std::vector<std::wstring> kFourLabels = {L"選択肢1", L"選択肢2", L"選択肢3", L"選択肢4"};

class QuestionPage : public PageTest {
  protected:
    // As the program enters the questions from the settings page.
    void enter(int index = 0) {
        onStartScreen = 0;
        onSettingsPage = 1;
        currentIndex = index;
        buildQuestionPage(window);
        onSettingsPage = 0;
    }
    void show(int index) {
        currentIndex = index;
        buildQuestionPage(window);
    }
    bool checked(int id) {
        return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void setText(int id, const std::wstring& text) {
        SetWindowTextW(GetDlgItem(window, id), text.c_str());
    }
};

void useGenres(std::initializer_list<const wchar_t*> names) {
    questionSet.genreCount = static_cast<std::int32_t>(names.size());
    int k = 0;
    for (const wchar_t* name : names) {
        putAnsi(questionSet.genreNames[k++], name);
    }
}

// What a new question shows: the four-choice state.
void expectResetPage(HWND window, int number) {
    EXPECT_EQ(readControl(window, kQuestionId).text, std::to_wstring(number));
    EXPECT_EQ(readControl(window, kPoints).text, L"0");
    EXPECT_EQ(readControl(window, kFormat).selection, 3);
    EXPECT_EQ(readControl(window, kGenre).selection, 0);
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(readControl(window, choice(k)).text, L"");
        EXPECT_EQ(readControl(window, choice(k)).enabled, k <= 4);
        EXPECT_FALSE(readControl(window, correct(k)).enabled);
        EXPECT_EQ(SendMessageW(GetDlgItem(window, correct(k)), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
    const ControlInfo answer = readControl(window, kAnswer);
    EXPECT_TRUE(answer.enabled);
    EXPECT_EQ(answer.items, kFourLabels);
    EXPECT_EQ(answer.selection, 0);
    EXPECT_EQ(readControl(window, kText).text, L"問題文");
    EXPECT_EQ(readControl(window, kExplanation).text, L"解説文");
}

TEST_F(QuestionPage, HasItsSeventeenControlsInPlaceAndShowsANewQuestion) {
    constexpr DWORD kList = 0x50000103;
    constexpr DWORD kMultiLine = 0x50A01004;
    constexpr DWORD kChoiceLine = 0x50801080;
    constexpr DWORD kCheckBox = 0x50000003;
    struct Place {
        int id;
        const wchar_t* className;
        DWORD style;
        RECT rect; // bottom 0: a combo box, as high as its edit part when closed
    };
    const Place places[] = {
        {45, L"Edit", 0x50800800, {90, 40, 230, 62}},
        {46, L"ComboBox", kList, {90, 120, 230, 0}},
        {47, L"ComboBox", kList, {90, 200, 230, 0}},
        {48, L"Edit", 0x50803000, {90, 280, 230, 302}},
        {49, L"Edit", kMultiLine, {300, 40, 950, 290}},
        {51, L"Edit", kChoiceLine, {380, 310, 680, 332}},
        {52, L"Edit", kChoiceLine, {380, 350, 680, 372}},
        {53, L"Edit", kChoiceLine, {380, 390, 680, 412}},
        {54, L"Edit", kChoiceLine, {380, 430, 680, 452}},
        {55, L"Edit", kChoiceLine, {380, 470, 680, 492}},
        {56, L"Button", kCheckBox, {700, 310, 722, 332}},
        {57, L"Button", kCheckBox, {700, 350, 722, 372}},
        {58, L"Button", kCheckBox, {700, 390, 722, 412}},
        {59, L"Button", kCheckBox, {700, 430, 722, 452}},
        {60, L"Button", kCheckBox, {700, 470, 722, 492}},
        {61, L"ComboBox", kList, {750, 310, 890, 0}},
        {50, L"Edit", kMultiLine, {300, 500, 950, 750}},
    };
    useGenres({L"数学", L"国語", L"理科"});
    startRecordingChildren(window);
    enter(4);
    const std::vector<CreatedChild> created = stopRecordingChildren();
    ASSERT_EQ(created.size(), 17u);
    HWND previous = nullptr;
    for (std::size_t i = 0; i < 17; ++i) {
        const Place& place = places[i];
        SCOPED_TRACE(place.id);
        EXPECT_EQ(created[i].id, place.id);
        EXPECT_EQ(created[i].style, place.style);
        const ControlInfo info = readControl(window, place.id);
        ASSERT_TRUE(info.exists);
        EXPECT_EQ(info.className, place.className);
        EXPECT_TRUE(info.visible);
        EXPECT_EQ(info.rect.left, place.rect.left);
        EXPECT_EQ(info.rect.top, place.rect.top);
        EXPECT_EQ(info.rect.right, place.rect.right);
        if (place.rect.bottom != 0) {
            EXPECT_EQ(info.rect.bottom, place.rect.bottom);
        }
        EXPECT_EQ(questionControls[place.id - IDC_QUESTION_FIRST], GetDlgItem(window, place.id));
        if (previous != nullptr) {
            EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), GetDlgItem(window, place.id));
        }
        previous = GetDlgItem(window, place.id);
    }
    // The lists keep their order although the boxes sort.
    EXPECT_EQ(readControl(window, kFormat).items,
              (std::vector<std::wstring>{L"複数選択", L"2択問題", L"3択問題", L"4択問題"}));
    EXPECT_EQ(readControl(window, kGenre).items,
              (std::vector<std::wstring>{L"数学", L"国語", L"理科"}));
    expectResetPage(window, 5);
}

TEST_F(QuestionPage, AStoredQuestionIsShownAgain) {
    useGenres({L"A", L"B", L"C"});
    Question& q = questionSet.questions[2];
    q.questionId = 9; // shown as held, as from a loaded file
    q.format = 1;
    q.genre = 3;
    q.points = -5;
    putAnsi(q.text, L"一行目\\r\\n二行目\\r\\n\\r\\n\\x\\r\\");
    putAnsi(q.explanation, L"");
    for (int k = 0; k < 5; ++k) {
        putAnsi(q.choices[k], L"選" + std::to_wstring(k + 1));
    }
    q.answer = 10305;
    enter(2);
    EXPECT_EQ(text(kQuestionId), L"9");
    EXPECT_EQ(readControl(window, kFormat).selection, 0);
    EXPECT_EQ(readControl(window, kGenre).selection, 2);
    EXPECT_EQ(text(kPoints), L"-5");
    EXPECT_EQ(text(kText), L"一行目\r\n二行目\r\n\r\n\\x\\r\\");
    // An empty stored text is empty, not the placeholder.
    EXPECT_EQ(text(kExplanation), L"");
    const bool marks[] = {true, false, true, false, true};
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(text(choice(k)), L"選" + std::to_wstring(k));
        EXPECT_TRUE(enabled(choice(k)));
        EXPECT_TRUE(enabled(correct(k)));
        EXPECT_EQ(checked(correct(k)), marks[k - 1]);
    }
    EXPECT_FALSE(enabled(kAnswer));
    EXPECT_EQ(readControl(window, kAnswer).items, kFourLabels);
    EXPECT_EQ(readControl(window, kAnswer).selection, -1);

    // Every choice marked, and none.
    for (const std::int32_t code : {12345, 0}) {
        SCOPED_TRACE(code);
        Question& marked = questionSet.questions[4];
        marked = q;
        marked.questionId = 5;
        marked.answer = code;
        show(4);
        for (int k = 1; k <= 5; ++k) {
            EXPECT_EQ(checked(correct(k)), code != 0) << k;
        }
    }

    // Another slot: two choices, although the slot holds five.
    Question& two = questionSet.questions[3];
    two = q;
    two.questionId = 4;
    two.format = 2;
    two.answer = 2;
    putAnsi(two.explanation, L"末尾\\r\\n");
    const HWND textField = GetDlgItem(window, kText);
    show(3);
    EXPECT_EQ(GetDlgItem(window, kText), textField); // kept, only refilled
    EXPECT_EQ(text(kExplanation), L"末尾\r\n");      // a last, empty line
    EXPECT_EQ(readControl(window, kAnswer).items,
              (std::vector<std::wstring>{L"選択肢1", L"選択肢2"}));
    EXPECT_EQ(readControl(window, kAnswer).selection, 1);
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(text(choice(k)), k <= 2 ? L"選" + std::to_wstring(k) : L"");
        EXPECT_EQ(enabled(choice(k)), k <= 2);
        EXPECT_FALSE(checked(correct(k)));
        EXPECT_FALSE(enabled(correct(k)));
    }

    // A never-stored slot shows the new question again.
    show(7);
    expectResetPage(window, 8);
}

TEST_F(QuestionPage, StoredValuesOutsideTheListsSelectNothing) {
    useGenres({L"A", L"B"});
    Question& q = questionSet.questions[0];
    q.questionId = 1;
    q.format = 9;
    q.genre = 3;
    putAnsi(q.choices[0], L"hidden");
    enter();
    EXPECT_EQ(readControl(window, kFormat).selection, -1);
    EXPECT_EQ(readControl(window, kGenre).selection, -1);
    EXPECT_TRUE(readControl(window, kAnswer).items.empty());
    EXPECT_EQ(text(choice(1)), L"");
    // The reset's enabled state stays.
    EXPECT_TRUE(enabled(choice(4)));
    EXPECT_FALSE(enabled(choice(5)));

    q.format = 3;
    q.genre = 2;
    q.answer = 4;
    show(0);
    EXPECT_EQ(readControl(window, kGenre).selection, 1);
    EXPECT_EQ(readControl(window, kAnswer).items.size(), 3u);
    EXPECT_EQ(readControl(window, kAnswer).selection, -1);
    // A negative code marks by the digits of its magnitude: 2147483648.
    q.answer = -2147483647 - 1;
    q.format = 1;
    show(0);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_TRUE(checked(correct(k))) << k;
    }
}

TEST_F(QuestionPage, TheFormatRuleKeepsTextsAndMarks) {
    useGenres({L"A"});
    enter();
    EXPECT_EQ(readControl(window, kGenre).items.size(), 1u);
    EXPECT_TRUE(enabled(kGenre));
    choose(kFormat, 0);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_TRUE(enabled(choice(k))) << k;
        EXPECT_TRUE(enabled(correct(k))) << k;
        setText(choice(k), L"c" + std::to_wstring(k));
    }
    SendMessageW(GetDlgItem(window, correct(4)), BM_SETCHECK, BST_CHECKED, 0);
    // Multiple selection leaves the answer box as it was, greyed.
    EXPECT_FALSE(enabled(kAnswer));
    EXPECT_EQ(readControl(window, kAnswer).items, kFourLabels);
    EXPECT_EQ(readControl(window, kAnswer).selection, 0);

    choose(kFormat, 1);
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(enabled(choice(k)), k <= 2);
        EXPECT_FALSE(enabled(correct(k)));
        EXPECT_EQ(text(choice(k)), L"c" + std::to_wstring(k));
    }
    EXPECT_TRUE(checked(correct(4)));
    EXPECT_TRUE(enabled(kAnswer));
    EXPECT_EQ(readControl(window, kAnswer).items.size(), 2u);

    choose(kFormat, 2);
    SendMessageW(GetDlgItem(window, kAnswer), CB_SETCURSEL, 2, 0);
    choose(kFormat, 2); // chosen again: the answer is lost
    EXPECT_EQ(readControl(window, kAnswer).items.size(), 3u);
    EXPECT_EQ(readControl(window, kAnswer).selection, 0);
    EXPECT_TRUE(enabled(choice(3)));
    EXPECT_FALSE(enabled(choice(4)));

    // Other notifications of the box change nothing.
    SendMessageW(GetDlgItem(window, kFormat), CB_SETCURSEL, 0, 0);
    sendCommand(window, kFormat, CBN_DROPDOWN);
    EXPECT_FALSE(enabled(choice(4)));
    choose(kFormat, 3);
    EXPECT_EQ(readControl(window, kAnswer).items, kFourLabels);
    EXPECT_TRUE(enabled(choice(4)));
}

TEST_F(QuestionPage, WhatIsTypedIsCheckedAndStored) {
    useGenres({L"A", L"B"});
    enter(1);
    EXPECT_EQ(validateQuestionPage(), 40); // points 0 and the placeholders count
    setText(kText, L"");
    type(kText, L"AB\rCD,");
    setText(kExplanation, L"な\\r\\nぜ");
    setText(kPoints, L"");
    type(kPoints, L"x007");
    EXPECT_EQ(text(kPoints), L"007"); // a number field takes digits only
    choose(kFormat, 2);
    type(choice(1), L"はい");
    EXPECT_EQ(validateQuestionPage(), 41);
    type(choice(2), L"いいえ,");
    EXPECT_EQ(validateQuestionPage(), 42);
    type(choice(3), L" ");
    EXPECT_EQ(validateQuestionPage(), 0);
    SendMessageW(GetDlgItem(window, kAnswer), CB_SETCURSEL, 2, 0);
    SendMessageW(GetDlgItem(window, kGenre), CB_SETCURSEL, 1, 0);
    putAnsi(questionSet.questions[1].choices[3], L"old");
    storeQuestionPage(window);

    const Question& q = questionSet.questions[1];
    EXPECT_EQ(q.questionId, 2);
    EXPECT_EQ(q.format, 3);
    EXPECT_EQ(q.genre, 2);
    EXPECT_EQ(q.points, 7);
    EXPECT_STREQ(q.text, "AB\\r\\nCD\x81\x43");
    EXPECT_EQ(fromAnsi(q.explanation), L"な\\r\\nぜ");
    EXPECT_EQ(fromAnsi(q.choices[0]), L"はい");
    EXPECT_EQ(fromAnsi(q.choices[1]), L"いいえ，");
    EXPECT_STREQ(q.choices[2], " ");
    EXPECT_STREQ(q.choices[3], "old");
    EXPECT_EQ(q.answer, 3);

    // Shown again: the typed escape is a line break now.
    show(0);
    show(1);
    EXPECT_EQ(text(kText), L"AB\r\nCD，");
    EXPECT_EQ(text(kExplanation), L"な\r\nぜ");
    EXPECT_EQ(readControl(window, kAnswer).selection, 2);
}

TEST_F(QuestionPage, LongTextsAreCutToTheirFields) {
    enter();
    setText(kText, std::wstring(3000, L'漢'));
    setText(kExplanation, std::wstring(5158, L'a') + L"\r\nb");
    setText(choice(1), std::wstring(300, L'字'));
    storeQuestionPage(window);
    const Question& q = questionSet.questions[0];
    EXPECT_EQ(std::strlen(q.text), 5158u);
    EXPECT_EQ(fromAnsi(q.text), std::wstring(2579, L'漢'));
    EXPECT_EQ(std::string(q.explanation), std::string(5158, 'a'));
    EXPECT_EQ(fromAnsi(q.choices[0]), std::wstring(127, L'字'));
    show(0);
    EXPECT_EQ(text(kText), std::wstring(2579, L'漢'));
}

// What the user sees of a page, to compare before and after a file.
std::vector<std::wstring> pageShown(HWND window) {
    std::vector<std::wstring> shown;
    for (int id = IDC_QUESTION_FIRST; id <= IDC_QUESTION_LAST; ++id) {
        const ControlInfo info = readControl(window, id);
        shown.push_back(info.text + L"|" + std::to_wstring(info.selection) + L"|" +
                        std::to_wstring(info.enabled) + L"|" +
                        std::to_wstring(SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0)));
    }
    return shown;
}

TEST_F(QuestionPage, EveryFormatComesBackFromAFileAsItWasTyped) {
    useGenres({L"A", L"B", L"C"});
    questionSet.rankCount = 2;
    enter();
    for (int format = 0; format < 4; ++format) {
        show(format);
        choose(kFormat, format);
        setText(kPoints, std::to_wstring(10 + format));
        setText(kText, L"問" + std::to_wstring(format) + L"\r\n二行目、\\です");
        setText(kExplanation, L"解説\r\n");
        for (int k = 1; k <= 5; ++k) {
            setText(choice(k), L"選択肢" + std::to_wstring(k) + L"の答え");
        }
        SendMessageW(GetDlgItem(window, kGenre), CB_SETCURSEL, format % 3, 0);
        if (format == 0) {
            SendMessageW(GetDlgItem(window, correct(2)), BM_SETCHECK, BST_CHECKED, 0);
            SendMessageW(GetDlgItem(window, correct(5)), BM_SETCHECK, BST_CHECKED, 0);
        } else {
            SendMessageW(GetDlgItem(window, kAnswer), CB_SETCURSEL, format, 0);
        }
        storeQuestionPage(window);
    }
    for (bool scrambled : {false, true}) {
        SCOPED_TRACE(scrambled ? "eep" : "csv");
        std::vector<std::vector<std::wstring>> before;
        for (int format = 0; format < 4; ++format) {
            show(format);
            before.push_back(pageShown(window));
        }
        const std::wstring path = temporaryFile(scrambled ? L"round.eep" : L"round.csv");
        questionSet.questionCount = 4; // as the check before output counts them
        FILE* file = _wfopen(path.c_str(), L"wb");
        ASSERT_NE(file, nullptr);
        ASSERT_TRUE(writeQuestionSet(file, scrambled));
        ASSERT_EQ(fclose(file), 0);
        std::memset(&questionSet, 0, sizeof questionSet);
        ASSERT_EQ(readHeaderLines(path.c_str()), 0);
        ASSERT_EQ(readQuestionLines(path.c_str()), 0);
        DeleteFileW(path.c_str());
        for (int format = 0; format < 4; ++format) {
            SCOPED_TRACE(format);
            show(format);
            EXPECT_EQ(pageShown(window), before[format]);
        }
    }
    EXPECT_EQ(text(kText), L"問3\r\n二行目、\\です");
    EXPECT_EQ(readControl(window, kAnswer).selection, 3);
}

TEST_F(QuestionPage, LabelsArePaintedAndBlankedWithThePage) {
    enter();
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    const std::vector<POINT> labels = {{20, 40},   {20, 120},  {20, 200}, {20, 280},
                                       {300, 310}, {300, 470}, {650, 310}};
    expectLabelInk(window, labels, true);
    teardownQuestionPage(window);
    for (int id = IDC_QUESTION_FIRST; id <= IDC_QUESTION_LAST; ++id) {
        EXPECT_FALSE(readControl(window, id).exists) << id;
        EXPECT_EQ(questionControls[id - IDC_QUESTION_FIRST], nullptr) << id;
    }
    expectLabelInk(window, labels, false);
}

} // namespace

namespace {

// What a multi-line field shows: its text, the line at its top, the
// selection, the scroll box, and whether it counts as changed or undoable.
std::vector<LRESULT> fieldView(HWND window, int id) {
    const HWND field = GetDlgItem(window, id);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    GetScrollInfo(field, SB_VERT, &scroll);
    return {SendMessageW(field, EM_GETFIRSTVISIBLELINE, 0, 0),
            SendMessageW(field, EM_GETLINECOUNT, 0, 0),
            static_cast<LRESULT>(std::hash<std::wstring>()(readControl(window, id).text)),
            static_cast<LRESULT>(start),
            static_cast<LRESULT>(end),
            scroll.nPos,
            scroll.nMax,
            SendMessageW(field, EM_GETMODIFY, 0, 0),
            SendMessageW(field, EM_CANUNDO, 0, 0)};
}

} // namespace

// What the page shows, the answer list and both multi-line fields included.
std::vector<std::wstring> wholePage(HWND window) {
    std::vector<std::wstring> shown = pageShown(window);
    for (const std::wstring& item : readControl(window, kAnswer).items) {
        shown.push_back(item);
    }
    for (int id : {kText, kExplanation}) {
        for (LRESULT value : fieldView(window, id)) {
            shown.push_back(std::to_wstring(value));
        }
    }
    return shown;
}

// A stored question looks the same whichever page came before it: the page
// just made, a question of another format, a long text scrolled by the user,
// a short one or a new question.
TEST_F(QuestionPage, AStoredQuestionLooksTheSameWhateverCameBefore) {
    useGenres({L"A", L"B"});
    std::string lines;
    for (int line = 0; line < 300; ++line) {
        lines += "line " + std::to_string(line) + "\\r\\n";
    }
    const char* const texts[] = {lines.c_str(), "one line", ""};
    const std::int32_t formats[] = {4, 1, 2, 9};
    const std::int32_t answers[] = {3, 10305, 2, 1};
    for (int slot = 0; slot < 4; ++slot) {
        Question& q = questionSet.questions[slot];
        q.questionId = slot + 1;
        q.format = formats[slot];
        q.genre = slot % 3;
        q.answer = answers[slot];
        std::strcpy(q.text, texts[slot % 3]);
        std::strcpy(q.explanation, texts[(slot + 1) % 3]);
        for (int k = 0; k < 5; ++k) {
            putAnsi(q.choices[k], L"選" + std::to_wstring(slot * 10 + k));
        }
    }
    for (int shown = 0; shown < 4; ++shown) {
        SCOPED_TRACE(shown);
        enter(shown);
        pumpMessages();
        const std::vector<std::wstring> made = wholePage(window);
        for (int before = 0; before <= 4; ++before) {
            SCOPED_TRACE(before);
            show(before);
            SendMessageW(GetDlgItem(window, kText), EM_LINESCROLL, 0, 40);
            show(shown);
            pumpMessages();
            EXPECT_EQ(wholePage(window), made);
        }
        teardownQuestionPage(window);
    }
}
