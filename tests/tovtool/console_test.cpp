// tovtool.exe in a console window, as a prompt and Explorer start it: the
// Japanese report reaches the window as UTF-16, and only a window of its
// own waits for Enter before it closes.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

HANDLE openConsole(const wchar_t* name) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, OPEN_EXISTING, 0, nullptr);
}

std::wstring screenText() {
    const HANDLE out = openConsole(L"CONOUT$");
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(out, &info);
    std::wstring text(static_cast<std::size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(out, text.data(), static_cast<DWORD>(text.size()), {0, 0}, &read);
    CloseHandle(out);
    return text;
}

PROCESS_INFORMATION start(std::wstring commandLine, DWORD flags, HANDLE console) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (console != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = openConsole(L"CONIN$");
        startup.hStdOutput = console;
        startup.hStdError = console;
    }
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(TOVTOOL_EXE, commandLine.data(), nullptr, nullptr,
                               console != nullptr, flags, nullptr, nullptr, &startup, &process));
    return process;
}

// Until `text` shows in the window of process `id`, attached to it once
// `made` exists (no sooner: the process asks who shares its window when it
// starts); false after half a minute.
bool showsInItsWindow(DWORD id, const fs::path& made, const std::wstring& text,
                      std::wstring& seen) {
    for (int tries = 0; tries < 300 && !fs::exists(made); ++tries) {
        Sleep(100);
    }
    for (int tries = 0; tries < 300; ++tries, Sleep(100)) {
        FreeConsole();
        if (AttachConsole(id)) {
            seen = screenText();
            if (seen.find(text) != std::wstring::npos) {
                return true;
            }
        }
    }
    return false;
}

void pressEnter() {
    const HANDLE in = openConsole(L"CONIN$");
    INPUT_RECORD keys[2]{};
    for (int i = 0; i < 2; ++i) {
        keys[i].EventType = KEY_EVENT;
        keys[i].Event.KeyEvent.bKeyDown = i == 0;
        keys[i].Event.KeyEvent.wRepeatCount = 1;
        keys[i].Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
        keys[i].Event.KeyEvent.uChar.UnicodeChar = L'\r';
    }
    DWORD written = 0;
    WriteConsoleInputW(in, keys, 2, &written);
    CloseHandle(in);
}

DWORD exitCodeWithin(const PROCESS_INFORMATION& process, DWORD milliseconds) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    return code;
}

class Console : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / L"tov 試験 フォルダ";
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(TOV_SAMPLE, folder / L"sample.csv");
        std::ofstream(folder / L"第3回 問題.csv", std::ios::binary)
            << "\xEF\xBB\xBF問題文,選択肢1,選択肢2,正解,解説文\r\n日本の首都は,東京,大阪,1,"
               "東京です\r\n";
    }
    void TearDown() override {
        FreeConsole();
        fs::remove_all(folder);
    }

    fs::path folder;
};

TEST_F(Console, AtAPromptTheReportIsJapaneseAndNothingWaits) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    const HANDLE console = openConsole(L"CONOUT$");
    const PROCESS_INFORMATION process = start(
        L"tovtool.exe --lang ja check \"" + (folder / L"sample.csv").wstring() + L"\"", 0, console);
    EXPECT_EQ(exitCodeWithin(process, 30000), 0u);
    EXPECT_NE(screenText().find(L"1 ファイルを確認しました: 問題なし 1"), std::wstring::npos)
        << "the report did not reach the window as UTF-16";
    CloseHandle(console);
}

TEST_F(Console, FromExplorerAFileIsImportedBesideItAndTheWindowWaits) {
    const std::wstring dropped = L"\"" + (folder / L"第3回 問題.csv").wstring() + L"\"";
    for (const wchar_t* made : {L"第3回 問題-tov.csv", L"第3回 問題-tov (2).csv"}) {
        const PROCESS_INFORMATION process =
            start(L"tovtool.exe " + dropped, CREATE_NEW_CONSOLE, nullptr);
        std::wstring seen;
        EXPECT_TRUE(showsInItsWindow(process.dwProcessId, folder / made,
                                     L"Enter キーを押すと閉じます", seen))
            << "window: " << std::string(seen.begin(), seen.end());
        EXPECT_NE(seen.find(L"1 問を"), std::wstring::npos);
        EXPECT_EQ(exitCodeWithin(process, 500), STILL_ACTIVE) << "it closed without waiting";
        pressEnter();
        EXPECT_EQ(exitCodeWithin(process, 20000), 0u);
        EXPECT_TRUE(fs::exists(folder / made));
    }
}

} // namespace
