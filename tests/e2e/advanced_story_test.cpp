// An advanced set on the real tov.exe: typed from nothing and output in both
// forms, then loaded in a new run, changed and output again. The files are
// compared byte for byte with the bytes written out here.
#include "app/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/program_test_base.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kTitle = 17;
constexpr int kQuestionId = 45;
constexpr int kFormat = 46;
constexpr int kGenre = 47;
constexpr int kPoints = 48;
constexpr int kText = 49;
constexpr int kExplanation = 50;
constexpr int kAnswer = 61;

const std::wstring kRankNames[] = {L"初心者", L"見習い", L"一人前", L"熟練", L"達人"};
const std::wstring kRankComments[] = {L"もっと\r\n頑張ろう", L"あと少し", L"普通です",
                                      L"よくできました", L"完璧です"};
const std::wstring kThresholds[] = {L"20", L"40", L"60", L"80"};
const std::wstring kGenres[] = {L"基礎", L"応用", L"法規"};
const std::wstring kQuotas[] = {L"2", L"1", L"1"};

// Mode 1 presents the sum of the quotas (4); the header is never scrambled.
const std::string kHeader =
    toAnsi(L"上級検定,1,4,5,3\r\n"
           L"基礎,応用,法規,,\r\n"
           L"2,1,1,0,0\r\n"
           L"初心者,見習い,一人前,熟練,達人\r\n"
           L"20,40,60,80\r\n"
           L"もっと\\r\\n頑張ろう,あと少し,普通です,よくできました,完璧です\r\n");

const std::string kPlainQuestions =
    toAnsi(L"1,4,1,問1 正しいものは？\\r\\n一つ選べ,3,10,解説一\\r\\n二行目,ア,イ,ウ,エ,\r\n"
           L"2,2,2,問2，カンマ入り,2,20,○か×か,○,×,,,\r\n"
           L"3,1,3,問3\\r\\n複数選べ\\r\\n三行目,10300,30,AとC,A,B,C,D,E\r\n");

// The same lines with each text's bytes swapped in pairs (code page 932).
const std::string kScrambledQuestions =
    // 問1 正しいものは？\r\n一つ選べ, 解説一\r\n二行目, ア, イ, ウ, エ
    "1,4,1,\xE2\x96 1\xB3\x90\xB5\x82\xA2\x82\xE0\x82\xCC\x82\xCD\x82H\x81r\\n\\\xEA\x88\xC2\x82I"
    "\x91\xD7\x82,3,10,\xF0\x89\xE0\x90\xEA\x88r\\n\\\xF1\x93s\x8D\xDA\x96,A\x83,C\x83,E\x83,G\x83,"
    "\r\n"
    // 問2，カンマ入り, ○か×か, ○, ×
    "2,2,2,\xE2\x96\x81"
    "2\x83"
    "C\x83J\x83\x93\x93}\x82\xFC\xE8,2,20,\x9B\x81\xA9\x82~\x81\xA9\x82,\x9B\x81,~\x81,,,\r\n"
    // 問3\r\n複数選べ\r\n三行目, AとC
    "3,1,3,\xE2\x96\\3\\r\x95n\x90\xA1\x91\x94\x82I\\\xD7\\r\x8En\x8DO\x96s\xDA,10300,30,\x82"
    "AC\xC6,A,B,C,D,E\r\n";

class AdvancedStory : public ProgramTest {
  protected:
    // Output with the check's shortfall answered "output anyway", then the
    // file's bytes.
    std::string output(bool scrambled, const std::wstring& path) {
        clickControl(window, IDC_OUTPUT);
        EXPECT_EQ(answerTovBox(L"警告", IDYES),
                  L"問題数が不足しているジャンルがあります。問題集として出力しますか？");
        EXPECT_EQ(answerTovBox(L"出力形式", scrambled ? IDYES : IDNO), L"問題集を暗号化しますか？");
        const HWND dialog = findTovBox(L"名前を付けて保存");
        EXPECT_NE(dialog, nullptr) << "no save dialog";
        chooseFile(dialog, path);
        EXPECT_EQ(answerTovBox(L"出力完了", IDOK), L"問題集を出力しました");
        return readFileBytes(path);
    }

    // A real click on a check box, until it shows the tick.
    void tick(int id) {
        for (int attempt = 0; attempt < 3 && !ticked(id); ++attempt) {
            clickControl(window, id);
            for (int i = 0; i < 50 && !ticked(id); ++i) {
                Sleep(20);
            }
        }
        EXPECT_TRUE(ticked(id)) << id;
    }
    bool ticked(int id) {
        return SendMessageW(GetDlgItem(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    std::wstring text(int id) { return readControl(window, id).text; }
    int selection(int id) { return readControl(window, id).selection; }
    LRESULT lines(int id) { return SendMessageW(GetDlgItem(window, id), EM_GETLINECOUNT, 0, 0); }
};

TEST_F(AdvancedStory, ATypedSetIsOutputInBothForms) {
    ASSERT_TRUE(clickStartButton(window, IDC_ADVANCED));
    ASSERT_TRUE(waitForText(window, kTitle, L""));
    typeInto(window, kTitle, L"上級検定");
    chooseItem(window, 18, 1); // a number per genre, at random
    chooseItem(window, IDC_RANK_COUNT, 3);
    settle(window);
    for (int k = 0; k < 5; ++k) {
        typeInto(window, 20 + k, kRankNames[k]);
        typeInto(window, 25 + k, kRankComments[k]);
    }
    EXPECT_EQ(lines(25), 2);
    for (int k = 0; k < 4; ++k) {
        typeInto(window, 30 + k, kThresholds[k]);
    }
    chooseItem(window, IDC_GENRE_COUNT, 2);
    settle(window);
    for (int k = 0; k < 3; ++k) {
        typeInto(window, 35 + k, kGenres[k]);
        typeInto(window, 40 + k, kQuotas[k]);
    }
    clickControl(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));

    EXPECT_EQ(readControl(window, kGenre).items,
              (std::vector<std::wstring>{L"基礎", L"応用", L"法規"}));

    // Four choices, the third right.
    chooseItem(window, kGenre, 0);
    typeQuestion(window, L"10", L"問1 正しいものは？\r\n一つ選べ", L"解説一\r\n二行目",
                 {L"ア", L"イ", L"ウ", L"エ"});
    chooseItem(window, kAnswer, 2);
    EXPECT_EQ(lines(kText), 2);
    clickControl(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"2"));

    // Two choices, the second right; a comma in the text.
    chooseItem(window, kFormat, 1);
    chooseItem(window, kGenre, 1);
    settle(window);
    typeQuestion(window, L"20", L"問2,カンマ入り", L"○か×か", {L"○", L"×"});
    chooseItem(window, kAnswer, 1);
    clickControl(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"3"));

    // Multiple selection, the first and third ticked by clicks.
    chooseItem(window, kFormat, 0);
    chooseItem(window, kGenre, 2);
    settle(window);
    typeQuestion(window, L"30", L"問3\r\n複数選べ\r\n三行目", L"AとC",
                 {L"A", L"B", L"C", L"D", L"E"});
    tick(56);
    tick(58);
    EXPECT_EQ(lines(kText), 3);

    // Genre 1 has one question for a quota of two: the check asks first.
    EXPECT_EQ(output(false, newFile(L"advanced.csv")), kHeader + kPlainQuestions);
    EXPECT_EQ(output(true, newFile(L"advanced.eep")), kHeader + kScrambledQuestions);
    EXPECT_EQ(text(kQuestionId), L"3");
    EXPECT_EQ(text(kText), L"問3\r\n複数選べ\r\n三行目");
}

TEST_F(AdvancedStory, ALoadedSetIsShownChangedAndWrittenAgain) {
    const std::wstring scrambled = newFile(L"load.eep");
    ASSERT_TRUE(writeFileBytes(scrambled, kHeader + kScrambledQuestions));
    ASSERT_TRUE(clickStartButton(window, IDC_LOAD));
    HWND dialog = findTovBox(L"ファイルを開く");
    ASSERT_NE(dialog, nullptr);
    chooseFile(dialog, scrambled);
    EXPECT_EQ(answerTovBox(L"開始", IDOK), L"読み込み完了。検定作成を開始します。");
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));

    // The first question, unscrambled, in its controls.
    EXPECT_EQ(selection(kFormat), 3);
    EXPECT_EQ(readControl(window, kGenre).items,
              (std::vector<std::wstring>{L"基礎", L"応用", L"法規"}));
    EXPECT_EQ(selection(kGenre), 0);
    EXPECT_EQ(text(kPoints), L"10");
    EXPECT_EQ(text(kText), L"問1 正しいものは？\r\n一つ選べ");
    EXPECT_EQ(lines(kText), 2);
    EXPECT_EQ(text(kExplanation), L"解説一\r\n二行目");
    EXPECT_EQ(text(51), L"ア");
    EXPECT_EQ(text(54), L"エ");
    EXPECT_EQ(selection(kAnswer), 2);
    EXPECT_FALSE(readControl(window, 55).enabled);
    for (int id : {IDC_PREV, IDC_NEXT, IDC_OUTPUT}) {
        EXPECT_TRUE(readControl(window, id).enabled) << id;
    }

    // Prev: the settings page as the file's header gives it.
    clickControl(window, IDC_PREV);
    ASSERT_TRUE(waitForText(window, kTitle, L"上級検定"));
    EXPECT_EQ(selection(18), 1);
    EXPECT_EQ(selection(IDC_RANK_COUNT), 3);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(text(20 + k), kRankNames[k]) << k;
        EXPECT_EQ(text(25 + k), kRankComments[k]) << k;
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(text(30 + k), kThresholds[k]) << k;
    }
    EXPECT_EQ(selection(IDC_GENRE_COUNT), 2);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(text(35 + k), kGenres[k]) << k;
        EXPECT_EQ(text(40 + k), kQuotas[k]) << k;
        EXPECT_TRUE(readControl(window, 35 + k).enabled) << k;
    }
    EXPECT_FALSE(readControl(window, 38).enabled);

    // The second question gets new points and a new text.
    clickControl(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));
    clickControl(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"2"));
    EXPECT_EQ(text(kText), L"問2，カンマ入り");
    EXPECT_EQ(selection(kFormat), 1);
    typeInto(window, kPoints, L"25");
    typeInto(window, kText, L"問2 改めた\r\n二行目も");

    std::string expected = kHeader + kPlainQuestions;
    const std::string before = toAnsi(L"2,2,2,問2，カンマ入り,2,20,");
    const std::size_t at = expected.find(before);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, before.size(), toAnsi(L"2,2,2,問2 改めた\\r\\n二行目も,2,25,"));
    EXPECT_EQ(output(false, newFile(L"changed.csv")), expected);
    EXPECT_EQ(text(kQuestionId), L"2");
}

} // namespace
