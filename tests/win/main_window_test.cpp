// The main window as the program makes it: class, frame, menu, start screen,
// command dispatch, and the way the program starts and ends.
#include "app/control_ids.h"
#include "app/editor_state.h"
#include "app/main_window.h"
#include "tests/win/start_screen.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HINSTANCE testModule() {
    return GetModuleHandleW(nullptr);
}

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        watchDialogs();
        window = createMainWindow(testModule());
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        pumpMessages();
    }
    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        pumpMessages();
        UnregisterClassW(kMainWindowClass, testModule());
        unwatchDialogs();
    }
    HWND window = nullptr;
};

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

TEST_F(MainWindow, ClassIsRegisteredWithArrowWhiteBackgroundAndApplicationIcon) {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(testModule(), L"Default Class Name", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.lpfnWndProc, mainWindowProcedure);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    const HANDLE sharedIcon =
        LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE);
    EXPECT_EQ(info.hIcon, sharedIcon);
    EXPECT_EQ(info.hIconSm, sharedIcon);
    EXPECT_EQ(info.hCursor,
              LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    EXPECT_EQ(info.hbrBackground, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(info.lpszMenuName, nullptr);
}

TEST_F(MainWindow, HasTheTitleAndAFixedFrame) {
    wchar_t text[64] = L"";
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"tov - RC");
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG frameBits = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                           WS_THICKFRAME | WS_CHILD | WS_POPUP;
    EXPECT_EQ(style & frameBits, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    // The system adds the edge that every captioned window has; nothing else.
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_EQ(GetParent(window), nullptr);
}

TEST_F(MainWindow, Is1000By800CentredOnTheScreen) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 1000);
    EXPECT_EQ(frame.bottom - frame.top, 800);
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 1000) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 800) / 2);
}

TEST(CentredPosition, IsHalfTheRestTruncatedAndNeverClamped) {
    const struct {
        int screen;
        int window;
        int position;
    } cases[] = {
        {1280, 1000, 140}, {1024, 800, 112}, {800, 1000, -100}, {600, 800, -100},
        {999, 1000, 0},    {1001, 1000, 0},  {997, 1000, -1},   {0, 1000, -500},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(centredPosition(c.screen, c.window), c.position) << c.screen << " - " << c.window;
    }
}

std::wstring menuText(HMENU menu, UINT position, UINT* id, HMENU* submenu, UINT* type) {
    wchar_t text[64] = L"";
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    item.dwTypeData = text;
    item.cch = 64;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &item)) << position;
    *id = item.wID;
    *submenu = item.hSubMenu;
    *type = item.fType;
    return text;
}

TEST_F(MainWindow, MenuBarHasFileWithExitThenHelpAndVersion) {
    const HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, menuHandle);
    ASSERT_EQ(GetMenuItemCount(bar), 3);

    const struct {
        const wchar_t* text;
        UINT id;
        bool popup;
    } barItems[] = {{L"ファイル", 0, true},
                    {L"ヘルプ", IDM_HELP, false},
                    {L"バージョン情報", IDM_VERSION, false}};
    HMENU fileMenu = nullptr;
    for (UINT i = 0; i < 3; ++i) {
        UINT id = 0;
        UINT type = 0;
        HMENU submenu = nullptr;
        EXPECT_EQ(menuText(bar, i, &id, &submenu, &type), barItems[i].text) << i;
        EXPECT_EQ(type, static_cast<UINT>(MFT_STRING)) << i;
        EXPECT_EQ(submenu != nullptr, barItems[i].popup) << i;
        if (barItems[i].popup) {
            fileMenu = submenu;
        } else {
            EXPECT_EQ(id, barItems[i].id) << i;
        }
    }
    ASSERT_NE(fileMenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(fileMenu), 1);
    UINT id = 0;
    UINT type = 0;
    HMENU submenu = nullptr;
    EXPECT_EQ(menuText(fileMenu, 0, &id, &submenu, &type), L"終了");
    EXPECT_EQ(id, static_cast<UINT>(IDM_EXIT));
    EXPECT_EQ(submenu, nullptr);
}

TEST(Resources, MenuIsAJapaneseExtendedTemplate) {
    const HRSRC found = FindResourceExW(testModule(), MAKEINTRESOURCEW(4) /* RT_MENU */,
                                        L"IDR_MENU", MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    ASSERT_NE(found, nullptr);
    const auto* header = static_cast<const WORD*>(LockResource(LoadResource(testModule(), found)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header[0], 1) << "MENUEX templates are version 1";
    EXPECT_EQ(header[1], 4) << "offset to the first item";
}

TEST(Resources, ManifestRunsWithTheInvokersRights) {
    const HRSRC found = FindResourceW(testModule(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(testModule(), found)));
    const std::string manifest(bytes, SizeofResource(testModule(), found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
}

TEST_F(MainWindow, StartScreenHasTheFourCourseAndLoadButtons) {
    const auto& buttons = kStartScreenButtons;
    EXPECT_EQ(childrenOf(window).size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(buttons[i].id);
        const ControlInfo button = readControl(window, buttons[i].id);
        ASSERT_TRUE(button.exists);
        EXPECT_EQ(startButtons[i], GetDlgItem(window, buttons[i].id));
        EXPECT_EQ(button.className, L"Button");
        EXPECT_EQ(button.text, buttons[i].caption);
        EXPECT_EQ(button.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON));
        EXPECT_TRUE(button.enabled);
        EXPECT_TRUE(EqualRect(&button.rect, &buttons[i].rect))
            << button.rect.left << "," << button.rect.top << "," << button.rect.right << ","
            << button.rect.bottom;
    }
}

TEST_F(MainWindow, CreateButtonMakesAPlainPushButtonWithTheShellsInstance) {
    instanceHandle = testModule();
    const HWND made = createButton(window, IDC_PREV, 30, 700, 100, 40, L"前へ");
    instanceHandle = nullptr;
    ASSERT_NE(made, nullptr);
    const ControlInfo button = readControl(window, IDC_PREV);
    EXPECT_EQ(GetDlgItem(window, IDC_PREV), made);
    EXPECT_EQ(button.className, L"Button");
    EXPECT_EQ(button.text, L"前へ");
    EXPECT_EQ(button.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON));
    EXPECT_EQ(GetWindowLongW(made, GWL_EXSTYLE), 0);
    const RECT expected = {30, 700, 130, 740};
    EXPECT_TRUE(EqualRect(&button.rect, &expected));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(made, GWLP_HINSTANCE)), testModule());
}

TEST_F(MainWindow, OpensWithTheEditorStateOfTheStartScreen) {
    EXPECT_EQ(onStartScreen, 1);
    EXPECT_EQ(onSettingsPage, 0);
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(course, Beginner);
    EXPECT_EQ(nextLocked, 0);
    EXPECT_EQ(prevButton, nullptr);
    EXPECT_EQ(nextButton, nullptr);
    EXPECT_EQ(outputButton, nullptr);
    for (int id : {IDC_OUTPUT, IDC_PREV, IDC_NEXT}) {
        EXPECT_FALSE(readControl(window, id).exists) << id;
    }
}

TEST_F(MainWindow, StartScreenPaintsNothingButWhiteAroundTheButtons) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    RECT client = {};
    GetClientRect(window, &client);
    const HDC dc = GetDC(window);
    int nonWhite = 0;
    for (int y = 2; y < client.bottom; y += 23) {
        for (int x = 2; x < client.right; x += 23) {
            const POINT point = {x, y};
            const RECT buttonColumn = {395, 95, 605, 655};
            if (!PtInRect(&buttonColumn, point) && GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                ++nonWhite;
            }
        }
    }
    ReleaseDC(window, dc);
    EXPECT_EQ(nonWhite, 0);
}

TEST_F(MainWindow, UnknownCommandIdsShowTheCautionBox) {
    for (int id : {0, 4, 5, 9, 62, 0xFFFF}) {
        SCOPED_TRACE(id);
        answerNextBox(IDOK);
        EXPECT_EQ(SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0), 0);
        const SeenBox box = takeBox();
        EXPECT_EQ(box.text, L"不明なコマンドですよ");
        EXPECT_EQ(box.caption, L"注意");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
        EXPECT_EQ(box.owner, window);
    }
}

// Ids that the dispatch gives no command: no box, no change.
TEST_F(MainWindow, IdsWithoutACommandOnTheStartScreenDoNothing) {
    for (int id : {14, 15, 16, 17, 18, 19, 34, 46}) {
        for (int notification : {0, CBN_SELCHANGE, EN_CHANGE}) {
            EXPECT_EQ(SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, notification), 0), 0);
        }
    }
    pumpMessages();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(childrenOf(window).size(), 4u);
    EXPECT_EQ(onStartScreen, 1);
}

TEST_F(MainWindow, VersionShowsTheVersionBox) {
    answerNextBox(IDOK);
    sendCommand(window, IDM_VERSION);
    const SeenBox box = takeBox();
    EXPECT_EQ(box.text, L"TOV version0.80");
    EXPECT_EQ(box.caption, L"バージョン情報");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, window);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindow, HelpWithoutAHelpFileReportsNothing) {
    ASSERT_EQ(GetFileAttributesW(L"tov.chm"), INVALID_FILE_ATTRIBUTES);
    sendCommand(window, IDM_HELP);
    pumpMessages();
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindow, ExitAndTheCloseBoxFreeTheMenuAndEndTheLoop) {
    const struct {
        const char* how;
        UINT message;
        WPARAM wParam;
    } ways[] = {{"menu Exit", WM_COMMAND, IDM_EXIT}, {"close box", WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        if (!IsWindow(window)) {
            UnregisterClassW(kMainWindowClass, testModule());
            window = createMainWindow(testModule());
            ShowWindow(window, SW_SHOW);
            pumpMessages();
        }
        const HMENU menu = menuHandle;
        ASSERT_TRUE(IsMenu(menu));
        SendMessageW(window, way.message, way.wParam, 0);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(menuHandle, nullptr);
        EXPECT_FALSE(IsMenu(menu));
        WPARAM code = 99;
        EXPECT_TRUE(pumpMessages(&code)) << "no WM_QUIT";
        EXPECT_EQ(code, 0u);
    }
}

// Runs inside runProgram's message loop: notes what the user would see, then
// chooses Exit.
struct StartUpSeen {
    bool visible = false;
    bool exitChosen = false;
    int ticks = 0;
} startUp;

VOID CALLBACK chooseExitOnceShown(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND window = FindWindowW(L"Default Class Name", L"tov - RC");
    if (window != nullptr && IsWindowVisible(window)) {
        startUp.visible = true;
        startUp.exitChosen = true;
        KillTimer(nullptr, timer);
        PostMessageW(window, WM_COMMAND, IDM_EXIT, 0);
    } else if (++startUp.ticks > 500) {
        KillTimer(nullptr, timer);
        PostQuitMessage(0);
    }
}

TEST(Startup, ShowsTheWindowAndEndsWithZeroAfterExit) {
    watchDialogs();
    SetTimer(nullptr, 0, 10, chooseExitOnceShown);
    EXPECT_EQ(runProgram(testModule()), 0);
    EXPECT_TRUE(startUp.visible);
    EXPECT_TRUE(startUp.exitChosen);
    EXPECT_EQ(instanceHandle, testModule());
    EXPECT_EQ(FindWindowW(L"Default Class Name", nullptr), nullptr);
    UnregisterClassW(kMainWindowClass, testModule());
    unwatchDialogs();
}

TEST(Startup, EndsWithOneWhenTheWindowCannotBeMade) {
    watchDialogs();
    WNDCLASSW taken = {};
    taken.lpfnWndProc = DefWindowProcW;
    taken.hInstance = testModule();
    taken.lpszClassName = kMainWindowClass;
    ASSERT_TRUE(RegisterClassW(&taken));
    instanceHandle = nullptr;

    answerNextBox(IDOK);
    EXPECT_EQ(runProgram(testModule()), 1);
    const SeenBox box = takeBox();
    EXPECT_EQ(box.text, L"ウィンドウの作成に失敗しました");
    EXPECT_EQ(box.caption, L"エラー");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(instanceHandle, nullptr);
    UnregisterClassW(kMainWindowClass, testModule());
    unwatchDialogs();
}

} // namespace
