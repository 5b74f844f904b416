// The settings page of the real tov.exe, reached by a course button.
#include "tests/e2e/driver.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

namespace {

// Once the page's controls appear its build has begun; a message sent then
// is answered only when the program is back in its loop, the page filled.
bool waitForSettingsPage(HWND window) {
    for (int i = 0; i < 100; ++i) {
        if (readControl(window, 17).exists) {
            SendMessageW(window, WM_NULL, 0, 0);
            return true;
        }
        Sleep(50);
    }
    return false;
}

TEST(ProgramSettings, EachCourseButtonOpensTheSettingsPage) {
    struct Case {
        int button;
        const wchar_t* firstRank;
        const wchar_t* firstThreshold;
        bool modeEnabled;
        bool rankCountEnabled;
    };
    const Case cases[] = {
        {10, L"不合格", L"70", false, false},
        {11, L"不合格", L"70", true, false},
        {12, L"低いランク", L"30", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        ASSERT_TRUE(startTov());
        const HWND window = findTovWindow();
        ASSERT_NE(window, nullptr);
        postCommand(window, c.button);
        ASSERT_TRUE(waitForSettingsPage(window));
        EXPECT_FALSE(readControl(window, c.button).exists);
        EXPECT_EQ(readControl(window, 20).text, c.firstRank);
        EXPECT_EQ(readControl(window, 30).text, c.firstThreshold);
        EXPECT_EQ(readControl(window, 18).enabled, c.modeEnabled);
        EXPECT_EQ(readControl(window, 19).enabled, c.rankCountEnabled);
        EXPECT_EQ(readControl(window, 18).selection, 0);
        EXPECT_FALSE(readControl(window, 15).enabled);
        EXPECT_TRUE(readControl(window, 16).enabled);
        // The captions are on the window once it has painted.
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Sleep(200);
        EXPECT_TRUE(anyInkAround(window, 20, 40)) << "問題集タイトル";
        EXPECT_TRUE(anyInkAround(window, 700, 140)) << "ジャンル数";
        stopTov();
    }
}

TEST(ProgramSettings, ChoosingFiveRanksOpensTheirRows) {
    ASSERT_TRUE(startTov());
    const HWND window = findTovWindow();
    ASSERT_NE(window, nullptr);
    postCommand(window, 12);
    ASSERT_TRUE(waitForSettingsPage(window));
    const HWND box = GetDlgItem(window, 19);
    SendMessageW(box, CB_SETCURSEL, 3, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(19, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    EXPECT_TRUE(readControl(window, 24).enabled);
    EXPECT_EQ(readControl(window, 24).text, L"最高ランク");
    EXPECT_TRUE(readControl(window, 33).enabled);
    EXPECT_EQ(readControl(window, 33).text, L"100");
    stopTov();
}

} // namespace
