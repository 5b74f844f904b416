// Pictures of what the user sees: starts tov.exe for each state, brings it
// there as a user would, and saves the main window as FOLDER\NAME.bmp.
//   tov_screenshots.exe FOLDER
#include "tests/e2e/driver.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void waitUntilIdle(HWND window) {
    SendMessageW(window, WM_NULL, 0, 0);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    SendMessageW(window, WM_NULL, 0, 0);
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

struct State {
    const wchar_t* name;
    void (*reach)(HWND window);
};

constexpr State kStates[] = {
    {L"start", startScreen},
    {L"settings-beginner", beginnerSettings},
    {L"settings-intermediate", intermediateSettings},
    {L"settings-advanced", advancedSettings},
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
