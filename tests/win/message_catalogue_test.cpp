// Every catalogue entry as the user meets it: text, caption, buttons, icon,
// and the answer the caller gets. The expected texts are written out here,
// apart from the catalogue, so that a slip in either shows.
#include "app/message_catalogue.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct Entry {
    MessageCode code;
    const wchar_t* text;
};

const Entry seriousWarnings[] = {
    {1, L"ファイルが開けません"},
    {2, L"ウィンドウ描画失敗"},
    {3, L"問題数がゼロです"},
    {4, L"問題数が足りないジャンルがあります"},
};

const Entry questions[] = {
    {5, L"未入力項目があります。移動しますか？"},
    {6, L"未入力の問題があります。問題集として出力しますか？"},
    {7, L"タイトルが未入力です。移動しますか？"},
    {9, L"「ランク1」の項目が未入力です。移動しますか？"},
    {10, L"「ランク2」の項目が未入力です。移動しますか？"},
    {11, L"「ランク3」の項目が未入力です。移動しますか？"},
    {12, L"「ランク4」の項目が未入力です。移動しますか？"},
    {13, L"「ランク5」の項目が未入力です。移動しますか？"},
    {14, L"「ランク1」のコメントが未入力です。移動しますか？"},
    {15, L"「ランク2」のコメントが未入力です。移動しますか？"},
    {16, L"「ランク3」のコメントが未入力です。移動しますか？"},
    {17, L"「ランク4」のコメントが未入力です。移動しますか？"},
    {18, L"「ランク5」のコメントが未入力です。移動しますか？"},
    {19, L"「閾値1」が未入力です。移動しますか？"},
    {20, L"「閾値2」が未入力です。移動しますか？"},
    {21, L"「閾値3」が未入力です。移動しますか？"},
    {22, L"「閾値4」が未入力です。移動しますか？"},
    {23, L"閾値の順番が逆転している所があります。\r\n"
         L"上のボックスから下に行くに従って大きくして下さい。\r\n"
         L"修正せずに移動しますか？"},
    {36, L"点数が入力されていません。移動しますか？"},
    {38, L"問題文がありません。移動しますか？"},
    {39, L"解説がありません。移動しますか？"},
    {40, L"1つ目の選択肢が入力されていません。移動しますか？"},
    {41, L"2つ目の選択肢が入力されていません。移動しますか？"},
    {42, L"3つ目の選択肢が入力されていません。移動しますか？"},
    {43, L"4つ目の選択肢が入力されていません。移動しますか？"},
    {44, L"5つ目の選択肢が入力されていません。移動しますか？"},
    {45, L"入力されていない選択肢が正解に含まれています。移動しますか？"},
    {46, L"問題集のタイトルが入力されていません。問題集として出力しますか？"},
    {47, L"ジャンル名に不足があります。問題集として出力しますか？"},
    {48, L"ランクの入力に不足があります。問題集として出力しますか？"},
    {49, L"問題数が不足しているジャンルがあります。問題集として出力しますか？"},
    {50, L"正しく入力されていない問題があります。問題集として出力しますか？"},
};

const Entry blockingEntries[] = {
    {25, L"「ジャンル1」の名前がありません"},
    {26, L"「ジャンル2」の名前がありません"},
    {27, L"「ジャンル3」の名前がありません"},
    {28, L"「ジャンル4」の名前がありません"},
    {29, L"「ジャンル5」の名前がありません"},
    {30, L"「ジャンル1」の問題数が設定されていません"},
    {31, L"「ジャンル2」の問題数が設定されていません"},
    {32, L"「ジャンル3」の問題数が設定されていません"},
    {33, L"「ジャンル4」の問題数が設定されていません"},
    {34, L"「ジャンル5」の問題数が設定されていません"},
};

class Catalogue : public ::testing::Test {
  protected:
    void SetUp() override { watchDialogs(); }
    void TearDown() override { unwatchDialogs(); }
};

struct Kind {
    const wchar_t* caption;
    UINT style;
};

// Shows code, pressing button, and checks the box against the entry.
MessageAnswer showAndCheck(MessageCode code, const wchar_t* text, const Kind& kind, int button) {
    answerNextBox(button);
    const MessageAnswer answer = showMessage(code);
    const SeenBox box = takeBox();
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, kind.caption);
    EXPECT_EQ(box.style, kind.style);
    EXPECT_EQ(box.owner, nullptr);
    return answer;
}

const Kind seriousWarning = {L"重大な警告", MB_OK};
const Kind question = {L"警告", MB_ICONQUESTION | MB_YESNO};
const Kind blocking = {L"処理の続行不可", MB_OK};
const Kind fallback = {L"警告", MB_OK};

TEST_F(Catalogue, SeriousWarningsAreAcknowledged) {
    for (const Entry& entry : seriousWarnings) {
        SCOPED_TRACE(static_cast<int>(entry.code));
        EXPECT_EQ(showAndCheck(entry.code, entry.text, seriousWarning, IDOK), Acknowledged);
    }
}

TEST_F(Catalogue, QuestionsProceedOnYes) {
    for (const Entry& entry : questions) {
        SCOPED_TRACE(static_cast<int>(entry.code));
        EXPECT_EQ(showAndCheck(entry.code, entry.text, question, IDYES), Proceed);
    }
}

TEST_F(Catalogue, QuestionsStopOnNo) {
    for (const Entry& entry : questions) {
        SCOPED_TRACE(static_cast<int>(entry.code));
        EXPECT_EQ(showAndCheck(entry.code, entry.text, question, IDNO), Stop);
    }
}

TEST_F(Catalogue, BlockingEntriesStop) {
    for (const Entry& entry : blockingEntries) {
        SCOPED_TRACE(static_cast<int>(entry.code));
        EXPECT_EQ(showAndCheck(entry.code, entry.text, blocking, IDOK), Stop);
    }
}

TEST_F(Catalogue, ListedUnusedCodesFallBackToOtherError) {
    for (int code : {0, 8, 24, 35, 37, 51, 255}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(showAndCheck(static_cast<MessageCode>(code), L"その他のエラー", fallback, IDOK),
                  OtherError);
    }
}

TEST_F(Catalogue, EveryCodeWithoutAnEntryFallsBack) {
    std::set<int> listed;
    for (const Entry& entry : seriousWarnings) {
        listed.insert(entry.code);
    }
    for (const Entry& entry : questions) {
        listed.insert(entry.code);
    }
    for (const Entry& entry : blockingEntries) {
        listed.insert(entry.code);
    }
    for (int code = 0; code < 256; ++code) {
        if (listed.count(code) == 0) {
            SCOPED_TRACE(code);
            EXPECT_EQ(
                showAndCheck(static_cast<MessageCode>(code), L"その他のエラー", fallback, IDOK),
                OtherError);
        }
    }
}

TEST_F(Catalogue, ThresholdOrderMessageShowsThreeLines) {
    answerNextBox(IDNO);
    showMessage(23);
    const std::wstring text = takeBox().text;
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    EXPECT_EQ(lines,
              (std::vector<std::wstring>{L"閾値の順番が逆転している所があります。",
                                         L"上のボックスから下に行くに従って大きくして下さい。",
                                         L"修正せずに移動しますか？"}));
}

} // namespace
