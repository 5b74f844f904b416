// Where Next stops on the real tov.exe, pressed with real clicks: the
// beginner's tenth question, and the 256th of a full loaded set, which is
// written back unchanged.
#include "app/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/program_test_base.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kTitle = 17;
constexpr int kQuestionId = 45;
constexpr const wchar_t* kNoFirstChoice = L"1つ目の選択肢が入力されていません。移動しますか？";

class Limits : public ProgramTest {
  protected:
    // Each test starts the program itself, once its file is ready.
    void SetUp() override {}

    // A click on Next or Prev of a question not filled in, moved anyway.
    void moveAnyway(int button, const std::wstring& to) {
        clickControl(window, button);
        EXPECT_EQ(answerTovBox(L"警告", IDYES), kNoFirstChoice);
        ASSERT_TRUE(waitForText(window, kQuestionId, to));
    }

    bool nextEnabled() { return readControl(window, IDC_NEXT).enabled; }

    // A click on the disabled Next: no box, no move.
    void clickDisabledNext(const std::wstring& shown) {
        clickControl(window, IDC_NEXT);
        Sleep(300);
        settle(window);
        EXPECT_EQ(visibleTovDialogs(), 0);
        EXPECT_EQ(readControl(window, kQuestionId).text, shown);
    }
};

TEST_F(Limits, OnlyTheBeginnerStopsAtTheTenthQuestion) {
    for (const int course : {IDC_BEGINNER, IDC_INTERMEDIATE, IDC_ADVANCED}) {
        SCOPED_TRACE(course);
        start();
        ASSERT_TRUE(clickStartButton(window, course));
        ASSERT_TRUE(waitForText(window, kTitle, L""));
        typeInto(window, kTitle, L"検定");
        clickControl(window, IDC_NEXT);
        ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));
        for (int shown = 2; shown <= 10; ++shown) {
            ASSERT_TRUE(nextEnabled()) << shown;
            moveAnyway(IDC_NEXT, std::to_wstring(shown));
        }
        if (course != IDC_BEGINNER) {
            EXPECT_TRUE(nextEnabled());
            moveAnyway(IDC_NEXT, L"11");
            continue;
        }
        EXPECT_FALSE(nextEnabled());
        clickDisabledNext(L"10");
        moveAnyway(IDC_PREV, L"9");
        EXPECT_TRUE(nextEnabled());
        moveAnyway(IDC_NEXT, L"10");
        EXPECT_FALSE(nextEnabled());
    }
}

TEST_F(Limits, NextStopsAtTheLastOfAFullSet) {
    // As the program writes it: in mode 0 the number presented and the
    // first quota are the number of questions.
    std::string bytes = toAnsi(L"満杯,0,256,2,1\r\n基礎,,,,\r\n256,0,0,0,0\r\n不合格,合格,,,\r\n"
                               L"70,0,0,0\r\n不合格です,合格です,,,\r\n");
    for (int id = 1; id <= 256; ++id) {
        const std::string n = std::to_string(id);
        bytes += n + ",2,1,q" + n + ",1,1,e" + n + ",a,b,,,\r\n";
    }
    const std::wstring file = newFile(L"full.csv");
    ASSERT_TRUE(writeFileBytes(file, bytes));
    start();
    ASSERT_TRUE(clickStartButton(window, IDC_LOAD));
    HWND dialog = findTovBox(L"ファイルを開く");
    ASSERT_NE(dialog, nullptr);
    chooseFile(dialog, file);
    EXPECT_EQ(answerTovBox(L"開始", IDOK), L"読み込み完了。検定作成を開始します。");
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));

    for (int shown = 2; shown <= 256; ++shown) {
        ASSERT_TRUE(nextEnabled()) << shown;
        clickControl(window, IDC_NEXT);
        ASSERT_TRUE(waitForText(window, kQuestionId, std::to_wstring(shown)));
    }
    EXPECT_EQ(readControl(window, 49).text, L"q256");
    EXPECT_FALSE(nextEnabled());
    clickDisabledNext(L"256");
    clickControl(window, IDC_PREV);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"255"));
    EXPECT_TRUE(nextEnabled());
    clickControl(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"256"));
    EXPECT_FALSE(nextEnabled());

    // Nothing was read or written beyond the last slot.
    const std::wstring written = newFile(L"full-out.csv");
    clickControl(window, IDC_OUTPUT);
    EXPECT_EQ(answerTovBox(L"出力形式", IDNO), L"問題集を暗号化しますか？");
    dialog = findTovBox(L"名前を付けて保存");
    ASSERT_NE(dialog, nullptr);
    chooseFile(dialog, written);
    EXPECT_EQ(answerTovBox(L"出力完了", IDOK), L"問題集を出力しました");
    EXPECT_EQ(readFileBytes(written), bytes);
}

} // namespace
