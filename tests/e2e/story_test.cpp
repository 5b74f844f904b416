// Whole stories on the real tov.exe, driven from outside as a user would:
// a set typed in and output, a set loaded and written back, and clicks that
// come while a box waits. The files written are compared byte for byte.
#include "app/control_ids.h"
#include "tests/e2e/driver.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr int kTitle = IDC_SETTINGS_FIRST;
constexpr int kQuestionId = IDC_QUESTION_FIRST;

std::string readBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring temporaryPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"tov-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           name;
}

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

class Story : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(startTov());
        window = findTovWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        stopTov();
        for (const std::wstring& path : written) {
            DeleteFileW(path.c_str());
        }
    }

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
        const std::wstring path = temporaryPath(name);
        written.push_back(path);
        chooseFile(dialog, path);
        answer(L"出力完了", L"問題集を出力しました", IDOK);
        return readBytes(path);
    }

    HWND window = nullptr;
    std::vector<std::wstring> written;
};

TEST_F(Story, ATypedSetIsOutputAsTyped) {
    postCommand(window, IDC_BEGINNER);
    ASSERT_TRUE(waitForText(window, kTitle, L""));
    typeInto(window, kTitle, L"情報検定");
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"1"));

    // A four-choice question, its answer the third.
    typeInto(window, 48, L"10");
    typeInto(window, 49, L"問1\r\n二行目");
    typeInto(window, 50, L"解説1");
    const wchar_t* choices[] = {L"ア", L"イ", L"ウ", L"エ"};
    for (int k = 0; k < 4; ++k) {
        typeInto(window, 51 + k, choices[k]);
    }
    chooseItem(window, 61, 2);
    postCommand(window, IDC_NEXT);
    ASSERT_TRUE(waitForText(window, kQuestionId, L"2"));

    // Multiple selection (the output wants all five choices), one and three
    // correct, a comma typed.
    chooseItem(window, 46, 0);
    settle(window);
    typeInto(window, 48, L"5");
    typeInto(window, 49, L"問2,カンマ");
    typeInto(window, 50, L"解説2");
    typeInto(window, 51, L"A");
    typeInto(window, 52, L"B");
    typeInto(window, 53, L"C");
    typeInto(window, 54, L"D");
    typeInto(window, 55, L"E");
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

    EXPECT_EQ(output(true, L"back.eep"), readBytes(data + L"\\sample.eep"));
    EXPECT_EQ(output(false, L"back.csv"), readBytes(data + L"\\sample.csv"));
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
    const HWND next = GetDlgItem(window, IDC_NEXT);
    const POINT close = closeBoxOf(window);
    ASSERT_GE(close.x, 0) << "no close box found";

    // The title is missing: the check asks, and waits.
    clickAt(centreOf(next));
    const HWND box = findTovBox(L"警告");
    ASSERT_NE(box, nullptr) << "a real click on Next reached no command";
    EXPECT_EQ(boxText(box), L"タイトルが未入力です。移動しますか？");
    for (const POINT& point : {centreOf(next), centreOf(GetDlgItem(window, IDC_PREV)), close}) {
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
    EXPECT_TRUE(readControl(window, kTitle).exists);
    EXPECT_FALSE(readControl(window, kQuestionId).exists);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(waitForTovExit(0), static_cast<DWORD>(STILL_ACTIVE));

    // The window takes clicks again.
    clickAt(centreOf(next));
    answer(L"警告", L"タイトルが未入力です。移動しますか？", IDYES);
    EXPECT_TRUE(waitForText(window, kQuestionId, L"1"));
    clickAt(close);
    EXPECT_EQ(waitForTovExit(), 0u);
}

} // namespace
