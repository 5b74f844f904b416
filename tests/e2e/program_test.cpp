// The real tov.exe, started as its own process and driven from outside.
#include "tests/e2e/driver.h"
#include "tests/win/start_screen.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

namespace {

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(startTov()) << "tov.exe did not start: " << GetLastError();
        window = findTovWindow();
        ASSERT_NE(window, nullptr) << "tov.exe showed no main window";
    }
    void TearDown() override { stopTov(); }
    HWND window = nullptr;
};

TEST_F(Program, OpensOnTheStartScreen) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 1000);
    EXPECT_EQ(frame.bottom - frame.top, 800);

    const auto& buttons = kStartScreenButtons;
    for (const auto& expected : buttons) {
        SCOPED_TRACE(expected.id);
        const ControlInfo button = readControl(window, expected.id);
        ASSERT_TRUE(button.exists);
        EXPECT_EQ(button.className, L"Button");
        EXPECT_EQ(button.text, expected.caption);
        EXPECT_TRUE(EqualRect(&button.rect, &expected.rect));
        EXPECT_TRUE(button.enabled);
        EXPECT_TRUE(button.visible);
    }
    for (int id : {14, 15, 16}) {
        EXPECT_FALSE(readControl(window, id).exists) << "no navigation button yet: " << id;
    }
    EXPECT_NE(GetMenu(window), nullptr);
}

TEST_F(Program, ShowsItsVersionThenEndsWithExit) {
    postCommand(window, 3);
    const HWND box = findTovBox(L"バージョン情報");
    ASSERT_NE(box, nullptr) << "no version box";
    EXPECT_EQ(boxText(box), L"TOV version0.80");
    EXPECT_EQ(GetWindow(box, GW_OWNER), window);
    pressButton(box, IDOK);
    EXPECT_TRUE(waitForWindowGone(box));
    EXPECT_TRUE(IsWindow(window));

    postCommand(window, 1);
    EXPECT_EQ(waitForTovExit(), 0u);
}

TEST_F(Program, CautionsAboutAnUnknownCommandAndGoesOn) {
    postCommand(window, 62);
    const HWND box = findTovBox(L"注意");
    ASSERT_NE(box, nullptr) << "no caution box";
    EXPECT_EQ(boxText(box), L"不明なコマンドですよ");
    pressButton(box, IDOK);
    EXPECT_TRUE(waitForWindowGone(box));
    EXPECT_EQ(waitForTovExit(100), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(Program, EndsWithZeroWhenItsWindowIsClosed) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(waitForTovExit(), 0u);
}

} // namespace
