// The toolkit itself, against real boxes, dialogs and controls: later tests
// trust what it records.
#include "tests/win/toolkit.h"

#include <commdlg.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Toolkit : public ::testing::Test {
  protected:
    void SetUp() override { watchDialogs(); }
    void TearDown() override { unwatchDialogs(); }
};

// Runs body with gtest failures captured instead of failing this test.
template <typename Body> std::vector<testing::TestPartResult> failuresOf(Body body) {
    testing::TestPartResultArray results;
    {
        testing::ScopedFakeTestPartResultReporter reporter(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        body();
    }
    std::vector<testing::TestPartResult> failures;
    for (int i = 0; i < results.size(); ++i) {
        failures.push_back(results.GetTestPartResult(i));
    }
    return failures;
}

std::wstring tempDirectory() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring dir =
        std::wstring(base) + L"tov-toolkit-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void writeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}

TEST_F(Toolkit, AnswersBoxesAndRecordsWhatTheyShowed) {
    const struct {
        UINT style;
        int button;
    } cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDCANCEL},
        {MB_OK | MB_ICONHAND, IDOK},
        {MB_OKCANCEL | MB_ICONASTERISK, IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << std::hex << c.style);
        answerNextBox(c.button);
        EXPECT_EQ(MessageBoxW(nullptr, L"一行目\r\n二行目", L"見出し", c.style), c.button);
        const SeenBox box = takeBox();
        EXPECT_EQ(box.caption, L"見出し");
        EXPECT_EQ(box.text, L"一行目\r\n二行目");
        EXPECT_EQ(box.style, c.style);
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.answer, c.button);
    }
}

TEST_F(Toolkit, RecordsTheOwnerOfABox) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                       0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    answerNextBox(IDOK);
    MessageBoxW(owner, L"text", L"caption", MB_OK);
    EXPECT_EQ(takeBox().owner, owner);
    DestroyWindow(owner);
}

TEST_F(Toolkit, FailsOnAnUnexpectedBoxAndClosesIt) {
    int result = 0;
    const auto failures = failuresOf([&] {
        result = MessageBoxW(nullptr, L"surprise", L"caption", MB_YESNO | MB_ICONQUESTION);
    });
    EXPECT_EQ(result, IDNO);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(std::string(failures[0].message()).find("unexpected message box"), std::string::npos);
    EXPECT_NE(std::string(failures[0].message()).find("surprise"), std::string::npos);
}

TEST_F(Toolkit, FailsAtTheCallersLineWhenAnExpectedBoxNeverCame) {
    const int line = __LINE__ + 1;
    answerNextBox(IDOK);
    const auto failures = failuresOf([] { unwatchDialogs(); });
    watchDialogs();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].line_number(), line);
    EXPECT_STREQ(failures[0].file_name(), __FILE__);
}

TEST_F(Toolkit, FailsWhenABoxLacksTheButtonToPress) {
    int result = 0;
    answerNextBox(IDYES);
    const auto failures =
        failuresOf([&] { result = MessageBoxW(nullptr, L"text", L"caption", MB_OK); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_EQ(takeBox().answer, IDOK);
}

TEST_F(Toolkit, FailsWhenABoxIsShownButNeverTaken) {
    answerNextBox(IDOK);
    MessageBoxW(nullptr, L"text", L"caption", MB_OK);
    const auto failures = failuresOf([] { unwatchDialogs(); });
    watchDialogs();
    EXPECT_EQ(failures.size(), 1u);
}

constexpr wchar_t kFilters[] = L"問題集 (*.csv)\0*.csv\0暗号化した問題集 (*.eep)\0*.eep\0";

OPENFILENAMEW fileDialog(wchar_t* name, const wchar_t* title, DWORD flags) {
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = kFilters;
    dialog.nFilterIndex = 2;
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_EXPLORER | flags;
    return dialog;
}

TEST_F(Toolkit, FillsAndConfirmsAnOpenDialog) {
    const std::wstring path = tempDirectory() + L"\\読み込み.csv";
    writeFile(path);
    wchar_t name[MAX_PATH] = L"はじめ.csv";
    OPENFILENAMEW dialog = fileDialog(name, L"開く", OFN_FILEMUSTEXIST);

    fillNextFileDialog(path);
    EXPECT_TRUE(GetOpenFileNameW(&dialog));
    EXPECT_EQ(std::wstring(name), path);

    const SeenFileDialog seen = takeFileDialog();
    EXPECT_EQ(seen.title, L"開く");
    EXPECT_EQ(seen.initialName, L"はじめ.csv");
    EXPECT_EQ(seen.filters,
              (std::vector<std::wstring>{L"問題集 (*.csv)", L"暗号化した問題集 (*.eep)"}));
    EXPECT_EQ(seen.filterIndex, 1);
    DeleteFileW(path.c_str());
}

TEST_F(Toolkit, CancelsASaveDialog) {
    wchar_t name[MAX_PATH] = L"";
    OPENFILENAMEW dialog = fileDialog(name, L"保存", OFN_OVERWRITEPROMPT);
    cancelNextFileDialog();
    EXPECT_FALSE(GetSaveFileNameW(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(takeFileDialog().title, L"保存");
}

TEST_F(Toolkit, PassesBoxesOfADialogThroughTheQueue) {
    const std::wstring path = tempDirectory() + L"\\上書き.csv";
    writeFile(path);
    wchar_t name[MAX_PATH] = L"";
    OPENFILENAMEW dialog = fileDialog(name, L"保存", OFN_OVERWRITEPROMPT);

    fillNextFileDialog(path);
    answerNextBox(IDYES);
    EXPECT_TRUE(GetSaveFileNameW(&dialog));
    EXPECT_EQ(std::wstring(name), path);
    takeFileDialog();
    const SeenBox replace = takeBox(); // Wine's "replace the file?" question
    EXPECT_FALSE(replace.text.empty());
    EXPECT_EQ(replace.style & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    DeleteFileW(path.c_str());
}

TEST_F(Toolkit, CancelsADialogThatDoesNotClose) {
    const std::wstring path = tempDirectory() + L"\\ありません.csv";
    wchar_t name[MAX_PATH] = L"";
    OPENFILENAMEW dialog = fileDialog(name, L"開く", OFN_FILEMUSTEXIST);
    setDialogTimeout(300);

    fillNextFileDialog(path);
    answerNextBox(IDOK); // the dialog's own "file not found"
    BOOL opened = TRUE;
    const auto failures = failuresOf([&] { opened = GetOpenFileNameW(&dialog); });
    setDialogTimeout(5000);
    EXPECT_FALSE(opened);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(std::string(failures[0].message()).find("still open"), std::string::npos);
    takeFileDialog();
    takeBox();
}

int appMessages = 0;

LRESULT CALLBACK plainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        ++appMessages;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createPlainWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = plainWindowProcedure;
    windowClass.lpszClassName = L"toolkit parent";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"toolkit parent", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60, 400,
                           300, nullptr, nullptr, nullptr, nullptr);
}

TEST(Controls, ReadsClassTextRectangleStateAndSelection) {
    const HWND parent = createPlainWindow();
    const HWND combo =
        CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 20, 100,
                        200, parent, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    for (const wchar_t* item : {L"一", L"二", L"三"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"文字", WS_CHILD | WS_DISABLED, 5, 6, 70, 30,
                                      parent, reinterpret_cast<HMENU>(8), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);

    const ControlInfo comboInfo = readControl(parent, 7);
    EXPECT_TRUE(comboInfo.exists);
    EXPECT_EQ(comboInfo.className, L"ComboBox");
    EXPECT_EQ(comboInfo.rect.left, 10);
    EXPECT_EQ(comboInfo.rect.top, 20);
    EXPECT_EQ(comboInfo.rect.right, 110);
    EXPECT_TRUE(comboInfo.enabled);
    EXPECT_TRUE(comboInfo.visible);
    EXPECT_EQ(comboInfo.selection, 1);
    EXPECT_EQ(comboInfo.text, L"二");
    EXPECT_EQ(comboInfo.items, (std::vector<std::wstring>{L"一", L"二", L"三"}));

    const ControlInfo editInfo = readControl(parent, 8);
    EXPECT_EQ(editInfo.className, L"Edit");
    EXPECT_EQ(editInfo.text, L"文字");
    EXPECT_EQ(editInfo.rect.left, 5);
    EXPECT_EQ(editInfo.rect.top, 6);
    EXPECT_EQ(editInfo.rect.right, 75);
    EXPECT_EQ(editInfo.rect.bottom, 36);
    EXPECT_FALSE(editInfo.enabled);
    EXPECT_FALSE(editInfo.visible);
    EXPECT_EQ(editInfo.selection, -1);

    EXPECT_FALSE(readControl(parent, 9).exists);
    DestroyWindow(parent);
}

TEST(Messages, PumpDispatchesAndReportsTheQuitCode) {
    const HWND window = createPlainWindow();
    pumpMessages();
    PostMessageW(window, WM_APP, 0, 0);
    PostMessageW(window, WM_APP, 0, 0);
    EXPECT_FALSE(pumpMessages());
    EXPECT_EQ(appMessages, 2);

    PostQuitMessage(3);
    WPARAM code = 0;
    EXPECT_TRUE(pumpMessages(&code));
    EXPECT_EQ(code, 3u);
    EXPECT_FALSE(pumpMessages());
    DestroyWindow(window);
}

TEST(Text, ConvertsToTheAnsiCodePageAndBack) {
    ASSERT_EQ(GetACP(), 932u) << "the tests run in the Japanese code page";
    const std::string bytes = toAnsi(L"問題ｱ,A");
    EXPECT_EQ(bytes, "\x96\xe2\x91\xe8\xb1,A");
    EXPECT_EQ(fromAnsi(bytes), L"問題ｱ,A");
    EXPECT_EQ(toAnsi(L""), "");
    EXPECT_EQ(fromAnsi(""), L"");
}

} // namespace
