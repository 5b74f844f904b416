#include "model/load_and_output.h"

#include "app/message_catalogue.h"
#include "model/file_open.h"
#include "model/question_check.h"
#include "model/question_file.h"

#include <commdlg.h>

#include <cstdio>
#include <cwchar>

wchar_t loadPath[kPathSize];
wchar_t outputPath[kPathSize];
wchar_t outputFileTitle[kPathSize];

namespace {

constexpr MessageCode kCodeCannotOpen = 1;

bool canOpenForReading(const wchar_t* path) {
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

bool askToDeleteBadQuestion(int) {
    return MessageBoxW(nullptr, L"正しく入力されていない問題がありますが削除しますか？", L"警告",
                       MB_ICONQUESTION | MB_YESNO) == IDYES;
}

bool askScrambledForm() {
    return MessageBoxW(nullptr, L"問題集を暗号化しますか？", L"出力形式",
                       MB_ICONQUESTION | MB_YESNO) == IDYES;
}

bool askOutputPath(HWND owner, bool scrambled) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = scrambled ? L"EEP(*.eep)\0*.eep\0All files(*.*)\0*.*\0"
                                   : L"CSV(*.csv)\0*.csv\0All files(*.*)\0*.*\0";
    dialog.lpstrFile = outputPath;
    dialog.nMaxFile = kPathSize;
    dialog.lpstrFileTitle = outputFileTitle;
    dialog.nMaxFileTitle = kPathSize;
    dialog.lpstrTitle = L"名前を付けて保存";
    dialog.Flags = OFN_OVERWRITEPROMPT;
    dialog.lpstrDefExt = scrambled ? L"eep" : L"csv";
    return GetSaveFileNameW(&dialog) != 0;
}

// A file that another program holds open without sharing (a spreadsheet,
// say) must make the output fail rather than be replaced behind its back.
bool targetCanBeReplaced(HWND owner, const wchar_t* path) {
    HANDLE target =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    if (!CloseHandle(target)) {
        MessageBoxW(owner, L"エラー", L"エラー", MB_OK);
    }
    return true;
}

// The new content goes beside the target, so that the final rename stays on
// one volume and never leaves the target half-written.
bool createTemporaryBeside(const wchar_t* path, wchar_t (&temporary)[MAX_PATH]) {
    wchar_t directory[kPathSize];
    std::wcsncpy(directory, path, kPathSize - 1);
    directory[kPathSize - 1] = L'\0';
    wchar_t* lastSeparator = std::wcsrchr(directory, L'\\');
    wchar_t* lastSlash = std::wcsrchr(directory, L'/');
    if (lastSlash > lastSeparator) {
        lastSeparator = lastSlash;
    }
    if (lastSeparator == nullptr) {
        std::wcscpy(directory, L".");
    } else {
        lastSeparator[1] = L'\0';
    }
    return GetTempFileNameW(directory, L"tov", 0, temporary) != 0;
}

bool writeWholeFile(const wchar_t* path, bool scrambled) {
    std::FILE* file = openFile(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = writeQuestionSet(file, scrambled);
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

OutputResult writeReplacing(HWND owner, const wchar_t* path, bool scrambled) {
    wchar_t temporary[MAX_PATH];
    if (!targetCanBeReplaced(owner, path) || !createTemporaryBeside(path, temporary)) {
        showMessage(kCodeCannotOpen);
        return OutputFailed;
    }
    if (!writeWholeFile(temporary, scrambled) ||
        !MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary);
        return OutputFailed;
    }
    return OutputWritten;
}

} // namespace

int loadQuestionSet() {
    if (!canOpenForReading(loadPath)) {
        showMessage(kCodeCannotOpen);
        return kLoadUnopened;
    }
    if (readHeaderLines(loadPath) != 0) {
        showMessage(kCodeCannotOpen);
    }
    const int result = readQuestionLines(loadPath);
    if (result != 0) {
        showMessage(kCodeCannotOpen);
    }
    return result;
}

std::uint8_t checkQuestionSet() {
    return checkQuestions(askToDeleteBadQuestion);
}

OutputResult outputQuestionSet(HWND owner) {
    const bool scrambled = askScrambledForm();
    if (!askOutputPath(owner, scrambled)) {
        return OutputCancelled;
    }
    return writeReplacing(owner, outputPath, scrambled);
}
