// Whole stories on the real tov.exe, driven from outside as a user would:
// a set typed in and output, a set loaded and written back, clicks that
// come while a box waits, answers that stop a page, and loads that fail.
// The files written are compared byte for byte.
#include "app/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/program_test_base.h"
#include "tests/win/start_screen.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kTitle = IDC_SETTINGS_FIRST;
constexpr int kQuestionId = IDC_QUESTION_FIRST;

POINT centreOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Where the window's close box answers, found by asking the window.
POINT closeBoxOf(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    for (int y = frame.top + 2; y < frame.top + 40; y += 2) {
        for (int x = frame.right - 2; x > frame.right - 80; x -= 2) {
            const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit == HTCLOSE) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

class Story : public ProgramTest {
  protected:
    // Answers the box with this caption, after checking its text.
    void answer(const std::wstring& caption, const std::wstring& text, int button) {
        const HWND box = findTovBox(caption);
        if (box == nullptr) {
            const HWND other = findTovBox(L"警告", 100);
            FAIL() << "no box " << toAnsi(caption)
                   << "; shown: " << (other ? toAnsi(boxText(other)) : std::string("none"));
        }
        EXPECT_EQ(boxText(box), text);
        pressButton(box, button);
        ASSERT_TRUE(waitForWindowGone(box));
    }

    // Output in the form asked, into a new file; its bytes.
    std::string output(bool scrambled, const std::wstring& name) {
        postCommand(window, IDC_OUTPUT);
        answer(L"出力形式", L"問題集を暗号化しますか？", scrambled ? IDYES : IDNO);
        const HWND dialog = findTovBox(L"名前を付けて保存");
        EXPECT_NE(dialog, nullptr) << "no save dialog";
        const std::wstring path = newFile(name);
        chooseFile(dialog, path);
        answer(L"出力完了", L"問題集を出力しました", IDOK);
        return readFileBytes(path);
    }
};

TEST_F(Story, ATypedSetIsOutputAsTyped) {
    postCommand(window, IDC_BEGINNER);
    ASSERT_TRUE(waitForText(window, kTitle, L""));
    typeInto(window, kTitle, L"情報検定");
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));

    // A four-choice question, its answer the third.
    typeQuestion(window, L"10", L"問1\r\n二行目", L"解説1", {L"ア", L"イ", L"ウ", L"エ"});
    chooseItem(window, 61, 2);
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"2"));

    // Multiple selection (the output wants all five choices), one and three
    // correct, a comma typed.
    chooseItem(window, 46, 0);
    settle(window);
    typeQuestion(window, L"5", L"問2,カンマ", L"解説2", {L"A", L"B", L"C", L"D", L"E"});
    SendMessageW(GetDlgItem(window, 56), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(GetDlgItem(window, 58), BM_SETCHECK, BST_CHECKED, 0);

    const std::string plain = output(false, L"typed.csv");
    const std::wstring expected = L"情報検定,0,2,2,1\r\n"
                                  L",,,,\r\n"
                                  L"2,0,0,0,0\r\n"
                                  L"不合格,合格,,,\r\n"
                                  L"70,0,0,0\r\n"
                                  L"不合格です,合格です,,,\r\n"
                                  L"1,4,1,問1\\r\\n二行目,3,10,解説1,ア,イ,ウ,エ,\r\n"
                                  L"2,1,1,問2，カンマ,10300,5,解説2,A,B,C,D,E\r\n";
    EXPECT_EQ(plain, toAnsi(expected));
    EXPECT_TRUE(waitForText(window, kQuestionId, L"2")); // still on the question

    // Exit from a question page ends the program without a question.
    postCommand(window, IDM_EXIT);
    EXPECT_EQ(waitForTovExit(), 0u);
}

TEST_F(Story, ALoadedSetIsWrittenBackByteForByte) {
    const std::wstring data = windowsPath(TOV_TEST_DATA);
    postCommand(window, IDC_LOAD);
    const HWND dialog = findTovBox(L"ファイルを開く");
    ASSERT_NE(dialog, nullptr);
    chooseFile(dialog, data + L"\\sample.csv");
    answer(L"開始", L"読み込み完了。検定作成を開始します。", IDOK);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));

    // Through the settings page and back: both stores keep every byte.
    postCommand(window, IDC_PREV);
    ASSERT_TRUE(waitForText(window, kTitle, L"情報セキュリティ検定"));
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));
    for (const wchar_t* number : {L"2", L"3", L"4", L"5"}) {
        postCommand(window, IDC_NEXT);
        ASSERT_TRUE(waitForText(window, kQuestionId, number));
    }

    EXPECT_EQ(output(true, L"back.eep"), readFileBytes(data + L"\\sample.eep"));
    EXPECT_EQ(output(false, L"back.csv"), readFileBytes(data + L"\\sample.csv"));
}

TEST_F(Story, ClicksWhileABoxWaitsChangeNothing) {
    // The first click may only make the new window active.
    settle(window);
    SetForegroundWindow(window);
    clickAt(centreOf(GetDlgItem(window, IDC_ADVANCED)));
    if (!waitForText(window, kTitle, L"", 1000)) {
        clickAt(centreOf(GetDlgItem(window, IDC_ADVANCED)));
    }
    ASSERT_TRUE(waitForText(window, kTitle, L""));
    typeInto(window, kTitle, L"検定");
    const HWND next = GetDlgItem(window, IDC_NEXT);
    clickAt(centreOf(next));
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"))
        << "a real click on Next reached no command";
    const POINT close = closeBoxOf(window);
    ASSERT_GE(close.x, 0) << "no close box found";

    // The first choice is missing: the check asks, and waits. Prev, Output
    // and Next are all enabled, and each would start a command of its own.
    clickAt(centreOf(next));
    const HWND box = findTovBox(L"警告");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(boxText(box), L"1つ目の選択肢が入力されていません。移動しますか？");
    for (const int id : {IDC_PREV, IDC_OUTPUT, IDC_NEXT}) {
        ASSERT_TRUE(readControl(window, id).enabled) << id;
    }
    for (const POINT& point : {centreOf(GetDlgItem(window, IDC_PREV)),
                               centreOf(GetDlgItem(window, IDC_OUTPUT)), centreOf(next), close}) {
        clickAt(point);
        Sleep(300);
    }
    settle(box);
    EXPECT_EQ(visibleTovDialogs(), 1);
    EXPECT_TRUE(IsWindow(window));

    // Stop: the page stays, as if no click had come.
    pressButton(box, IDNO);
    ASSERT_TRUE(waitForWindowGone(box));
    Sleep(300);
    settle(window);
    EXPECT_EQ(visibleTovDialogs(), 0);
    EXPECT_EQ(readControl(window, kQuestionId).text, L"1");
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(waitForTovExit(0), static_cast<DWORD>(STILL_ACTIVE));

    // The window takes clicks again.
    clickAt(centreOf(next));
    answer(L"警告", L"1つ目の選択肢が入力されていません。移動しますか？", IDYES);
    EXPECT_TRUE(waitForText(window, kQuestionId, L"2"));
    clickAt(close);
    EXPECT_EQ(waitForTovExit(), 0u);
}

// What a store would leave behind shows in the file: genre names beyond the
// genre count, and choices beyond a question's choice count, stay in the set
// as the last store left them.
TEST_F(Story, StopAndBlockingAnswersKeepThePageAndStoreNothing) {
    ASSERT_TRUE(clickStartButton(window, IDC_ADVANCED));
    ASSERT_TRUE(waitForText(window, kTitle, L""));
    chooseItem(window, IDC_GENRE_COUNT, 2);
    settle(window);
    const wchar_t* genres[] = {L"基礎", L"応用", L"法規"};
    for (int k = 0; k < 3; ++k) {
        typeInto(window, 35 + k, genres[k]);
        typeInto(window, 40 + k, L"1");
    }
    clickControl(window, IDC_NEXT);
    answer(L"警告", L"タイトルが未入力です。移動しますか？", IDNO);
    settle(window);
    EXPECT_EQ(readControl(window, 37).text, L"法規");
    EXPECT_FALSE(readControl(window, kQuestionId).exists);

    // The genre messages only inform, and keep the page.
    typeInto(window, kTitle, L"途中検定");
    chooseItem(window, IDC_GENRE_COUNT, 1);
    typeInto(window, 36, L"");
    clickControl(window, IDC_NEXT);
    answer(L"処理の続行不可", L"「ジャンル2」の名前がありません", IDOK);
    settle(window);
    EXPECT_TRUE(readControl(window, kTitle).exists);
    EXPECT_FALSE(readControl(window, kQuestionId).exists);
    EXPECT_FALSE(readControl(window, IDC_PREV).enabled);

    chooseItem(window, IDC_GENRE_COUNT, 0);
    clickControl(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));

    // Four choices typed, the text left out: Stop keeps all as typed.
    typeQuestion(window, L"10", L"", L"解説", {L"ア", L"イ", L"ウ", L"エ"});
    clickControl(window, IDC_NEXT);
    answer(L"警告", L"問題文がありません。移動しますか？", IDNO);
    clickControl(window, IDC_PREV);
    answer(L"警告", L"問題文がありません。移動しますか？", IDNO);
    settle(window);
    EXPECT_EQ(readControl(window, kQuestionId).text, L"1");
    EXPECT_EQ(readControl(window, 48).text, L"10");
    EXPECT_EQ(readControl(window, 54).text, L"エ");

    // Made a two-choice question: only its two choices are stored.
    chooseItem(window, IDC_QUESTION_FORMAT, 1);
    typeInto(window, 49, L"問題");
    const std::string expected = toAnsi(L"途中検定,0,1,2,1\r\n"
                                        L"基礎,,,,\r\n"
                                        L"1,0,0,0,0\r\n"
                                        L"低いランク,やや低いランク,,,\r\n"
                                        L"30,0,0,0\r\n"
                                        L"低いランクです,やや低いランクです,,,\r\n"
                                        L"1,2,1,問題,1,10,解説,ア,イ,,,\r\n");
    EXPECT_EQ(output(false, L"stopped.csv"), expected);
}

// The user's file, as another program holding it open without sharing (a
// spreadsheet, say) leaves it: here this test program holds it.
TEST_F(Story, AFileThatCannotBeOpenedKeepsTheStartScreen) {
    const std::wstring path = newFile(L"held.csv");
    ASSERT_TRUE(
        writeFileBytes(path, toAnsi(L"保持,0,1,2,1\r\n,,,,\r\n1,0,0,0,0\r\n不合格,合格,,,\r\n"
                                    L"70,0,0,0\r\n,,,,\r\n1,2,1,q,1,5,e,a,b,,,\r\n")));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto load = [this, &path]() {
        ASSERT_TRUE(clickStartButton(window, IDC_LOAD));
        const HWND dialog = findTovBox(L"ファイルを開く");
        ASSERT_NE(dialog, nullptr);
        chooseFile(dialog, path);
    };
    load();
    answer(L"重大な警告", L"ファイルが開けません", IDOK);
    settle(window);
    EXPECT_EQ(visibleTovDialogs(), 0);
    for (const ExpectedButton& button : kStartScreenButtons) {
        const ControlInfo shown = readControl(window, button.id);
        EXPECT_TRUE(shown.exists && shown.enabled && shown.visible) << button.id;
        EXPECT_EQ(shown.text, button.caption);
    }
    EXPECT_FALSE(readControl(window, IDC_PREV).exists);

    // Let go, the same button loads it whole, once.
    CloseHandle(held);
    load();
    answer(L"開始", L"読み込み完了。検定作成を開始します。", IDOK);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));
    EXPECT_EQ(readControl(window, 49).text, L"q");
    EXPECT_FALSE(readControl(window, IDC_LOAD).exists);
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"2"));
    EXPECT_EQ(readControl(window, 49).text, L"問題文");
}

TEST_F(Story, AFileWithABadLastLineOpensWhatWasRead) {
    const std::wstring path = newFile(L"bad-line.csv");
    ASSERT_TRUE(
        writeFileBytes(path, toAnsi(L"途中,0,2,2,1\r\n,,,,\r\n2,0,0,0,0\r\n不合格,合格,,,\r\n"
                                    L"70,0,0,0\r\n,,,,\r\n1,2,1,一問目,1,5,e,a,b,,,\r\n"
                                    L"2,3,1,二問目,3,5,e,a,b,c,,\r\nbad\r\n")));
    ASSERT_TRUE(clickStartButton(window, IDC_LOAD));
    HWND dialog = findTovBox(L"ファイルを開く");
    ASSERT_NE(dialog, nullptr);
    chooseFile(dialog, path);
    answer(L"重大な警告", L"ファイルが開けません", IDOK);

    // Straight to the first question: nothing says all went well.
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));
    EXPECT_EQ(findTovBox(L"開始", 1000), nullptr);
    EXPECT_EQ(readControl(window, 49).text, L"一問目");
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"2"));
    EXPECT_EQ(readControl(window, 49).text, L"二問目");
    EXPECT_EQ(readControl(window, 61).selection, 2);
    // The bad line filled no slot.
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"3"));
    EXPECT_EQ(readControl(window, 49).text, L"問題文");
}

} // namespace
