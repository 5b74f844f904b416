// Pictures of what the user sees: starts tov.exe for each state, brings it
// there as a user would, and saves the main window as FOLDER\NAME.bmp.
//   tov_screenshots.exe FOLDER
#include "tests/e2e/driver.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void waitUntilIdle(HWND window) {
    settle(window);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    settle(window);
}

// What is on the screen where the window is, boxes in front of it included.
bool saveWindowPicture(HWND window, const std::wstring& path) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD rowSize = ((width * 3 + 3) / 4) * 4;
    const DWORD imageSize = rowSize * height;
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageSize;
    bool saved = false;
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
        saved = fwrite(&header, sizeof header, 1, file) == 1 &&
                fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                fwrite(bits, imageSize, 1, file) == 1;
        saved = fclose(file) == 0 && saved;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

void choose(HWND window, int boxId, int item) {
    const HWND box = GetDlgItem(window, boxId);
    SendMessageW(box, CB_SETCURSEL, item, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(boxId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

void startScreen(HWND) {}

void courseButton(HWND window, int id) {
    postCommand(window, id);
    for (int i = 0; i < 100 && GetDlgItem(window, 17) == nullptr; ++i) {
        Sleep(50);
    }
}

void beginnerSettings(HWND window) {
    courseButton(window, 10);
}

void intermediateSettings(HWND window) {
    courseButton(window, 11);
    choose(window, 34, 2);
}

void advancedSettings(HWND window) {
    courseButton(window, 12);
    choose(window, 19, 3);
    choose(window, 34, 4);
}

// The first question of an advanced set, partly typed.
void questionPage(HWND window) {
    courseButton(window, 12);
    typeInto(window, 17, L"情報セキュリティ検定");
    postCommand(window, 16);
    waitForText(window, 45, L"1");
    typeQuestion(
        window, L"10", L"パスワードの扱いとして正しいものはどれ？\r\n一つ選びなさい。",
        L"使い回すと、一つの漏洩が全てに及びます。",
        {L"使い回す", L"紙に書いて貼る", L"サービスごとに変える", L"家族と共有する", L"五つ目"});
}

void fourChoices(HWND window) {
    questionPage(window);
    SendMessageW(GetDlgItem(window, 61), CB_SETCURSEL, 2, 0);
}

void multipleSelection(HWND window) {
    questionPage(window);
    choose(window, 46, 0);
    SendMessageW(GetDlgItem(window, 58), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(GetDlgItem(window, 60), BM_SETCHECK, BST_CHECKED, 0);
}

void twoChoices(HWND window) {
    questionPage(window);
    choose(window, 46, 1);
}

void threeChoices(HWND window) {
    questionPage(window);
    choose(window, 46, 2);
    SendMessageW(GetDlgItem(window, 61), CB_SETCURSEL, 2, 0);
}

// A new question left as it is: the check asks whether to move anyway.
void questionCheck(HWND window) {
    questionPage(window);
    postCommand(window, 16);
    waitForText(window, 45, L"2");
    postCommand(window, 16);
    findTovBox(L"警告");
}

void openDialog(HWND window) {
    postCommand(window, 13);
    findTovBox(L"ファイルを開く");
}

void outputForm(HWND window) {
    fourChoices(window);
    postCommand(window, 14);
    findTovBox(L"出力形式");
}

void saveDialog(HWND window) {
    outputForm(window);
    pressButton(findTovBox(L"出力形式"), IDYES);
    findTovBox(L"名前を付けて保存");
}

// The set written to a file of the temporary folder, and the box that says so.
void outputResult(HWND window) {
    saveDialog(window);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"tov-picture.eep";
    DeleteFileW(path.c_str());
    chooseFile(findTovBox(L"名前を付けて保存"), path);
    findTovBox(L"出力完了");
}

struct State {
    const wchar_t* name;
    void (*reach)(HWND window);
};

constexpr State kStates[] = {
    {L"start", startScreen},
    {L"settings-beginner", beginnerSettings},
    {L"settings-intermediate", intermediateSettings},
    {L"settings-advanced", advancedSettings},
    {L"question-four-choices", fourChoices},
    {L"question-multiple-selection", multipleSelection},
    {L"question-two-choices", twoChoices},
    {L"question-three-choices", threeChoices},
    {L"box-question-check", questionCheck},
    {L"dialog-open", openDialog},
    {L"box-output-form", outputForm},
    {L"dialog-save", saveDialog},
    {L"box-output-result", outputResult},
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: tov_screenshots FOLDER\n", stderr);
        return 2;
    }
    int failures = 0;
    for (const State& state : kStates) {
        if (!startTov()) {
            std::fputs("tov.exe did not start\n", stderr);
            return 1;
        }
        const HWND window = findTovWindow();
        if (window == nullptr) {
            std::fputs("tov.exe showed no window\n", stderr);
            stopTov();
            return 1;
        }
        waitUntilIdle(window);
        state.reach(window);
        waitUntilIdle(window);
        const std::wstring path = std::wstring(argv[1]) + L"\\" + state.name + L".bmp";
        if (!saveWindowPicture(window, path)) {
            std::fwprintf(stderr, L"could not save %ls\n", path.c_str());
            ++failures;
        }
        stopTov();
    }
    return failures == 0 ? 0 : 1;
}
