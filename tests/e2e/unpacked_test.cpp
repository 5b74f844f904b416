// The program as a user unpacks it from the zip. Run by the package test,
// which sets TOV_EXE to the unpacked tov.exe and starts this from the
// unpacked folder, so that the program starts there as from Explorer.
#include "tests/e2e/driver.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring unpackedFolder() {
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

// A help viewer's window, of any process.
HWND findHelpWindow(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const HWND found = FindWindowW(L"HH Parent", nullptr);
        if (found != nullptr || GetTickCount64() >= deadline) {
            return found;
        }
        Sleep(50);
    }
}

void closeHelp(HWND help) {
    DWORD processId = 0;
    GetWindowThreadProcessId(help, &processId);
    if (const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId)) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

class Unpacked : public ::testing::Test {
  protected:
    void SetUp() override {
        if (_wgetenv(L"TOV_UNPACKED") == nullptr) {
            GTEST_SKIP() << "run by the package test on an unpacked zip";
        }
    }
    void TearDown() override { stopTov(); }
};

TEST_F(Unpacked, OpensBothSamples) {
    for (const wchar_t* sample : {L"sample.csv", L"sample.eep"}) {
        SCOPED_TRACE(toAnsi(sample));
        ASSERT_TRUE(startTov());
        const HWND window = findTovWindow();
        ASSERT_NE(window, nullptr);
        postCommand(window, 13);
        const HWND dialog = findTovBox(L"ファイルを開く");
        ASSERT_NE(dialog, nullptr);
        chooseFile(dialog, unpackedFolder() + L"\\" + sample);
        const HWND box = findTovBox(L"開始");
        ASSERT_NE(box, nullptr) << "the sample did not load";
        pressButton(box, IDOK);
        ASSERT_TRUE(waitForText(window, 45, L"1"));
        EXPECT_EQ(readControl(window, 49).text, L"Q1 パスワードは使い回してよい。");
        stopTov();
    }
}

TEST_F(Unpacked, HelpOpensTheHelpBesideTheProgram) {
    ASSERT_EQ(GetFileAttributesW(L"tov.chm") == INVALID_FILE_ATTRIBUTES, false);
    ASSERT_TRUE(startTov());
    const HWND window = findTovWindow();
    ASSERT_NE(window, nullptr);
    postCommand(window, 2);
    const HWND help = findHelpWindow(15000);
    ASSERT_NE(help, nullptr) << "no help window came";
    EXPECT_NE(windowText(help).find(L"tov"), std::wstring::npos) << toAnsi(windowText(help));
    closeHelp(help);
    EXPECT_TRUE(IsWindow(window));
}

} // namespace
