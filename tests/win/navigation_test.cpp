// Moving through the editor on the real main window: the course buttons,
// Prev and Next with their checks answered in the real boxes, the buttons'
// states, the limits, loading and output through the real dialogs, and one
// command at a time.
#include "app/command_guard.h"
#include "app/control_ids.h"
#include "app/editor_state.h"
#include "model/load_and_output.h"
#include "model/question_set.h"
#include "tests/win/page_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kQuestionText = L"問題文";
constexpr int kPoints = 48;
constexpr int kText = 49;

class Navigation : public PageTest {
  protected:
    void press(int id) {
        sendCommand(window, id);
        pumpMessages();
    }
    // Next on a new question: the page is incomplete (code 40), move anyway.
    void nextAnyway() {
        answerNextBox(IDYES);
        press(IDC_NEXT);
        EXPECT_EQ(takeBox().text, L"1つ目の選択肢が入力されていません。移動しますか？");
    }
    void prevAnyway() {
        answerNextBox(IDYES);
        press(IDC_PREV);
        takeBox();
    }
    // Settings that pass their check, then the first question.
    void enterQuestions(Course chosen) {
        startCourse(chosen);
        SetWindowTextW(GetDlgItem(window, 17), L"検定");
        press(IDC_NEXT);
        ASSERT_EQ(onSettingsPage, 0);
    }
    // Written, then loaded through the open dialog, code 1 answered; the
    // box is left to take.
    void loadBadFile(const wchar_t* name, const std::string& bytes) {
        const std::wstring path = temporaryFile(name);
        writeFileBytes(path, bytes);
        fillNextFileDialog(path);
        answerNextBox(IDOK);
        press(IDC_LOAD);
        takeFileDialog();
        DeleteFileW(path.c_str());
    }
    int buttonsWithId(int id) {
        int count = 0;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            count += GetDlgCtrlID(child) == id ? 1 : 0;
        }
        return count;
    }
};

TEST_F(Navigation, TheBeginnerStopsAtTheTenthQuestion) {
    enterQuestions(Beginner);
    EXPECT_EQ(currentIndex, 0);
    EXPECT_TRUE(enabled(IDC_PREV));
    EXPECT_TRUE(enabled(IDC_NEXT));
    EXPECT_TRUE(enabled(IDC_OUTPUT));
    EXPECT_EQ(text(45), L"1");
    for (int i = 1; i <= 9; ++i) {
        nextAnyway();
        EXPECT_EQ(currentIndex, i);
        EXPECT_EQ(questionSet.questions[i - 1].questionId, i);
    }
    EXPECT_EQ(text(45), L"10");
    EXPECT_EQ(nextLocked, 1);
    EXPECT_FALSE(enabled(IDC_NEXT));
    // A click that still arrives does nothing and asks nothing.
    press(IDC_NEXT);
    EXPECT_EQ(currentIndex, 9);
    prevAnyway();
    EXPECT_EQ(currentIndex, 8);
    EXPECT_EQ(nextLocked, 0);
    EXPECT_TRUE(enabled(IDC_NEXT));
    // The tenth question was stored on the way back, and stays reachable.
    EXPECT_EQ(questionSet.questions[9].questionId, 10);
    nextAnyway();
    EXPECT_FALSE(enabled(IDC_NEXT));
}

TEST_F(Navigation, OtherCoursesGoOnToTheLastSlotOnly) {
    enterQuestions(Intermediate);
    for (int i = 1; i <= 10; ++i) {
        nextAnyway();
    }
    EXPECT_EQ(currentIndex, 10);
    EXPECT_TRUE(enabled(IDC_NEXT));
    // The last slot: Next disabled as by the beginner limit, Prev enables it.
    currentIndex = 254;
    nextAnyway();
    EXPECT_EQ(currentIndex, 255);
    EXPECT_EQ(text(45), L"256");
    EXPECT_FALSE(enabled(IDC_NEXT));
    press(IDC_NEXT);
    EXPECT_EQ(currentIndex, 255);
    SetWindowTextW(GetDlgItem(window, kText), L"最後");
    prevAnyway();
    EXPECT_EQ(currentIndex, 254);
    EXPECT_TRUE(enabled(IDC_NEXT));
    EXPECT_EQ(questionSet.questions[255].questionId, 256);
    EXPECT_EQ(fromAnsi(questionSet.questions[255].text), L"最後");
}

TEST_F(Navigation, StopStaysAndStoresNothingProceedStoresAndMoves) {
    enterQuestions(Advanced);
    SetWindowTextW(GetDlgItem(window, kPoints), L"15");
    answerNextBox(IDNO);
    press(IDC_NEXT);
    EXPECT_EQ(takeBox().style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(questionSet.questions[0].questionId, 0);
    EXPECT_EQ(text(kPoints), L"15");
    answerNextBox(IDNO);
    press(IDC_PREV);
    takeBox();
    EXPECT_EQ(onSettingsPage, 0);
    nextAnyway();
    EXPECT_EQ(questionSet.questions[0].points, 15);
    EXPECT_EQ(fromAnsi(questionSet.questions[0].text), kQuestionText);
    EXPECT_EQ(text(kPoints), L"0");
}

TEST_F(Navigation, BackToTheSettingsAndInAgainKeepsOneOutputButton) {
    enterQuestions(Intermediate);
    prevAnyway();
    EXPECT_EQ(onSettingsPage, 1);
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(text(17), L"検定");
    EXPECT_FALSE(readControl(window, 45).exists);
    EXPECT_FALSE(enabled(IDC_PREV));
    EXPECT_FALSE(enabled(IDC_OUTPUT));
    EXPECT_TRUE(enabled(IDC_NEXT));
    // Output does nothing on the settings page.
    press(IDC_OUTPUT);
    EXPECT_EQ(onSettingsPage, 1);
    press(IDC_NEXT);
    EXPECT_EQ(onSettingsPage, 0);
    EXPECT_EQ(buttonsWithId(IDC_OUTPUT), 1);
    EXPECT_TRUE(enabled(IDC_OUTPUT));
    // The first question comes back as it was stored.
    EXPECT_EQ(text(kText), kQuestionText);
    EXPECT_EQ(questionSet.questions[0].questionId, 1);
}

TEST_F(Navigation, ASettingsCheckAnsweredStopKeepsThePageYesMovesOn) {
    startCourse(Advanced);
    answerNextBox(IDNO);
    press(IDC_NEXT);
    EXPECT_EQ(takeBox().text, L"タイトルが未入力です。移動しますか？");
    EXPECT_EQ(onSettingsPage, 1);
    EXPECT_FALSE(readControl(window, IDC_OUTPUT).exists);
    EXPECT_EQ(questionSet.rankCount, 0);
    // A genre without a name cannot be passed.
    SetWindowTextW(GetDlgItem(window, 17), L"t");
    choose(IDC_GENRE_COUNT, 1);
    answerNextBox(IDOK);
    press(IDC_NEXT);
    EXPECT_EQ(takeBox().text, L"「ジャンル2」の名前がありません");
    EXPECT_EQ(onSettingsPage, 1);
    EXPECT_EQ(questionSet.genreCount, 0);

    // Yes to a question stores the page as it is and moves on.
    SetWindowTextW(GetDlgItem(window, 17), L"");
    SetWindowTextW(GetDlgItem(window, 20), L"最低");
    choose(IDC_GENRE_COUNT, 0);
    answerNextBox(IDYES);
    press(IDC_NEXT);
    EXPECT_EQ(takeBox().text, L"タイトルが未入力です。移動しますか？");
    EXPECT_EQ(onSettingsPage, 0);
    EXPECT_EQ(text(45), L"1");
    EXPECT_EQ(questionSet.title[0], '\0');
    EXPECT_EQ(fromAnsi(questionSet.rankNames[0]), L"最低");
    EXPECT_EQ(questionSet.rankCount, 2);
    EXPECT_EQ(questionSet.rankThresholds[0], 30);
    EXPECT_EQ(questionSet.genreCount, 1);
    EXPECT_TRUE(enabled(IDC_OUTPUT));
}

TEST_F(Navigation, ALoadedSetOpensOnItsFirstQuestion) {
    const std::wstring sample = windowsPath(TOV_TEST_DATA) + L"\\sample.csv";
    fillNextFileDialog(sample);
    answerNextBox(IDOK);
    press(IDC_LOAD);
    const SeenFileDialog dialog = takeFileDialog();
    EXPECT_EQ(dialog.title, L"ファイルを開く");
    EXPECT_EQ(dialog.filters,
              (std::vector<std::wstring>{L"EEP(*.eep)", L"CSV(*.csv)", L"All files(*.*)"}));
    const SeenBox box = takeBox();
    EXPECT_EQ(box.text, L"読み込み完了。検定作成を開始します。");
    EXPECT_EQ(box.caption, L"開始");
    EXPECT_EQ(box.owner, window);
    EXPECT_EQ(course, Advanced);
    EXPECT_EQ(onStartScreen, 0);
    EXPECT_EQ(onSettingsPage, 0);
    EXPECT_EQ(std::wstring(loadPath), sample);
    EXPECT_EQ(text(kText), L"Q1 パスワードは使い回してよい。");
    for (int id : {IDC_PREV, IDC_NEXT, IDC_OUTPUT}) {
        EXPECT_TRUE(enabled(id)) << id;
    }
    for (int id : {IDC_BEGINNER, IDC_LOAD}) {
        EXPECT_FALSE(readControl(window, id).exists) << id;
    }
    // The settings come from the file's header.
    press(IDC_PREV);
    EXPECT_EQ(onSettingsPage, 1);
    EXPECT_EQ(text(17), L"情報セキュリティ検定");
    EXPECT_EQ(text(20), L"不合格");
    EXPECT_TRUE(enabled(22));
}

TEST_F(Navigation, ACancelledOpenDialogKeepsTheStartScreen) {
    cancelNextFileDialog();
    press(IDC_LOAD);
    takeFileDialog();
    EXPECT_EQ(onStartScreen, 1);
    EXPECT_TRUE(readControl(window, IDC_LOAD).exists);
    EXPECT_FALSE(readControl(window, IDC_PREV).exists);
}

TEST_F(Navigation, AFileWithABadQuestionLineOpensWhatWasRead) {
    loadBadFile(L"tov-bad-line.csv",
                "t,0,1,2,1\r\ng,,,,\r\n1,0,0,0,0\r\na,b,,,\r\n50,0,0,0\r\nc,d,,,\r\n"
                "1,4,1,text,2,5,why,a,b,c,d,\r\nbad\r\n");
    EXPECT_EQ(takeBox().text, L"ファイルが開けません");
    EXPECT_EQ(onStartScreen, 0);
    EXPECT_EQ(text(kText), L"text");
    EXPECT_EQ(questionSet.questions[1].questionId, 0);
}

// The header reader fails only on its last line; the questions after it are
// read all the same, and the box that says all went well stays away.
TEST_F(Navigation, AFileWithABadHeaderLineOpensOnItsFirstQuestion) {
    loadBadFile(L"tov-bad-header.csv", "t,0,1,2,1\r\ng,,,,\r\nx,0,0,0,0\r\n");
    const SeenBox box = takeBox();
    EXPECT_EQ(box.text, L"ファイルが開けません");
    EXPECT_EQ(box.caption, L"重大な警告");
    EXPECT_EQ(onStartScreen, 0);
    EXPECT_EQ(onSettingsPage, 0);
    EXPECT_EQ(course, Advanced);
    EXPECT_EQ(text(45), L"1");
    EXPECT_EQ(text(kText), kQuestionText);
    EXPECT_EQ(readControl(window, 47).items, std::vector<std::wstring>{L"g"});
    for (int id : {IDC_PREV, IDC_NEXT, IDC_OUTPUT}) {
        EXPECT_TRUE(enabled(id)) << id;
    }
    prevAnyway();
    EXPECT_EQ(text(17), L"t");
}

// Held open without sharing, as another program may hold the user's file.
TEST_F(Navigation, AFileThatCannotBeOpenedKeepsTheStartScreenAndItsButtons) {
    const std::wstring path = temporaryFile(L"tov-held.csv");
    writeFileBytes(path, "t,0,1,2,1\r\n");
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    fillNextFileDialog(path);
    answerNextBox(IDOK);
    press(IDC_LOAD);
    takeFileDialog();
    EXPECT_EQ(takeBox().text, L"ファイルが開けません");
    CloseHandle(held);
    EXPECT_EQ(onStartScreen, 1);
    EXPECT_EQ(questionSet.title[0], '\0');
    for (int id : {IDC_BEGINNER, IDC_INTERMEDIATE, IDC_ADVANCED, IDC_LOAD}) {
        EXPECT_TRUE(enabled(id)) << id;
    }
    EXPECT_FALSE(readControl(window, IDC_PREV).exists);
    EXPECT_TRUE(IsWindowEnabled(window));

    // The load button opens its dialog again; a course button starts.
    cancelNextFileDialog();
    press(IDC_LOAD);
    takeFileDialog();
    EXPECT_EQ(onStartScreen, 1);
    press(IDC_INTERMEDIATE);
    EXPECT_EQ(onStartScreen, 0);
    EXPECT_EQ(onSettingsPage, 1);
    EXPECT_EQ(course, Intermediate);
    EXPECT_FALSE(readControl(window, IDC_LOAD).exists);
    DeleteFileW(path.c_str());
}

TEST_F(Navigation, OutputStaysOnTheQuestionAndReportsWithoutOwner) {
    enterQuestions(Advanced);
    nextAnyway();
    answerNextBox(IDYES); // the page: move anyway
    answerNextBox(IDNO);  // keep the first question although incomplete
    answerNextBox(IDNO);  // and the second
    answerNextBox(IDYES); // output anyway
    answerNextBox(IDNO);  // plain form
    cancelNextFileDialog();
    answerNextBox(IDOK);
    press(IDC_OUTPUT);
    for (int i = 0; i < 5; ++i) {
        takeBox();
    }
    takeFileDialog();
    const SeenBox result = takeBox();
    EXPECT_EQ(result.text, L"問題集の出力をキャンセルしました");
    EXPECT_EQ(result.caption, L"処理の中止");
    EXPECT_EQ(result.owner, nullptr);
    EXPECT_EQ(currentIndex, 1);
    EXPECT_EQ(text(45), L"2");
    EXPECT_EQ(onSettingsPage, 0);
    EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(Navigation, OutputKeepsThePageUnlessTheCheckMovedItsQuestion) {
    enterQuestions(Advanced);
    const auto fillQuestion = [this](const wchar_t* question) {
        SetWindowTextW(GetDlgItem(window, kPoints), L"5");
        SetWindowTextW(GetDlgItem(window, kText), question);
        SetWindowTextW(GetDlgItem(window, 50), L"why");
        for (int k = 1; k <= 5; ++k) {
            SetWindowTextW(GetDlgItem(window, 50 + k), (L"c" + std::to_wstring(k)).c_str());
        }
    };
    const auto outputCancelled = [this]() {
        answerNextBox(IDNO); // plain form
        cancelNextFileDialog();
        answerNextBox(IDOK);
        press(IDC_OUTPUT);
    };
    fillQuestion(L"一問目");
    press(IDC_NEXT);
    fillQuestion(L"二問目");
    outputCancelled();
    takeBox();
    takeFileDialog();
    takeBox();
    // The greyed fifth choice is still there as typed.
    EXPECT_EQ(text(55), L"c5");

    // The first question goes bad and is deleted: the second moves into its
    // slot and the page of slot 2 shows what that slot holds now.
    press(IDC_PREV);
    SetWindowTextW(GetDlgItem(window, kPoints), L"");
    answerNextBox(IDYES);
    press(IDC_NEXT);
    takeBox();
    SetWindowTextW(GetDlgItem(window, kText), L"二問目、直した");
    answerNextBox(IDYES); // delete the first question
    outputCancelled();
    EXPECT_EQ(takeBox().text, L"正しく入力されていない問題がありますが削除しますか？");
    takeBox();
    takeFileDialog();
    takeBox();
    EXPECT_EQ(fromAnsi(questionSet.questions[0].text), L"二問目、直した");
    EXPECT_EQ(questionSet.questions[1].questionId, 0);
    EXPECT_EQ(currentIndex, 1);
    EXPECT_EQ(text(45), L"2");
    EXPECT_EQ(text(kText), kQuestionText);
}

TEST_F(Navigation, OutputStoppedByACheckShowsNoResultAndAResultOtherwise) {
    enterQuestions(Advanced);
    // The question check answered No: nothing stored, nothing written.
    answerNextBox(IDNO);
    press(IDC_OUTPUT);
    EXPECT_EQ(takeBox().text, L"1つ目の選択肢が入力されていません。移動しますか？");
    EXPECT_EQ(questionSet.questions[0].questionId, 0);

    // A quota of three for one question: the whole-set check answered No.
    questionSet.presentationMode = GenreQuota;
    questionSet.genreQuotas[0] = 3;
    SetWindowTextW(GetDlgItem(window, kPoints), L"5");
    SetWindowTextW(GetDlgItem(window, 50), L"why");
    for (int k = 1; k <= 4; ++k) {
        SetWindowTextW(GetDlgItem(window, 50 + k), (L"c" + std::to_wstring(k)).c_str());
    }
    const wchar_t* shortfall =
        L"問題数が不足しているジャンルがあります。問題集として出力しますか？";
    answerNextBox(IDNO);
    press(IDC_OUTPUT);
    EXPECT_EQ(takeBox().text, shortfall);
    EXPECT_EQ(questionSet.questions[0].questionId, 1);

    const std::wstring path = temporaryFile(L"tov-result.csv");
    DeleteFileW(path.c_str());
    answerNextBox(IDYES); // output anyway
    answerNextBox(IDNO);  // plain form
    fillNextFileDialog(path);
    answerNextBox(IDOK);
    press(IDC_OUTPUT);
    EXPECT_EQ(takeBox().text, shortfall);
    takeBox();
    takeFileDialog();
    SeenBox result = takeBox();
    EXPECT_EQ(result.text, L"問題集を出力しました");
    EXPECT_EQ(result.caption, L"出力完了");
    EXPECT_EQ(result.owner, nullptr);
    std::ifstream file(path.c_str(), std::ios::binary);
    std::string first;
    std::getline(file, first);
    EXPECT_EQ(first, toAnsi(L"検定,1,3,2,1\r"));
    file.close();

    // The same file held open without sharing: it cannot be written.
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    answerNextBox(IDYES); // output anyway
    answerNextBox(IDNO);  // plain form
    fillNextFileDialog(path);
    answerNextBox(IDYES); // replace it
    answerNextBox(IDOK);  // it cannot be opened
    answerNextBox(IDOK);
    press(IDC_OUTPUT);
    CloseHandle(held);
    for (int i = 0; i < 3; ++i) {
        takeBox();
    }
    takeFileDialog();
    EXPECT_EQ(takeBox().text, L"ファイルが開けません");
    result = takeBox();
    EXPECT_EQ(result.text, L"問題集の出力に失敗しました");
    EXPECT_EQ(result.caption, L"出力失敗");
    EXPECT_EQ(result.owner, nullptr);
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(text(kPoints), L"5");
    DeleteFileW(path.c_str());
}

// A command that starts while another runs returns at once; the window
// takes no input meanwhile and is given back afterwards.
HWND guardedWindow = nullptr;
bool nestedRan = false;
bool enabledDuring = true;

void nested(HWND) {
    nestedRan = true;
}

void outer(HWND window) {
    enabledDuring = IsWindowEnabled(window) != FALSE;
    runCommand(window, nested);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_ADVANCED, 0), 0);
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

TEST_F(Navigation, OneCommandAtATime) {
    guardedWindow = window;
    runCommand(window, outer);
    EXPECT_FALSE(nestedRan);
    EXPECT_FALSE(enabledDuring);
    EXPECT_FALSE(commandRunning);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(onStartScreen, 1); // the course button was dropped
    runCommand(window, nested);
    EXPECT_TRUE(nestedRan);
}

} // namespace
