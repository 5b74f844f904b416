#include "model/load_and_output.h"

#include "app/message_catalogue.h"
#include "app/system_dialogs.h"
#include "model/output_paths.h"
#include "model/question_check.h"
#include "model/question_file.h"

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>

wchar_t loadPath[kPathSize];
wchar_t outputPath[kPathSize];
wchar_t outputFileTitle[kPathSize];

namespace {

constexpr MessageCode kCodeCannotOpen = 1;

// Room for the old content of a target written in place: the largest set
// makes a file of about 3 MB.
constexpr std::size_t kKeptSize = 4 * 1024 * 1024;
char keptContent[kKeptSize];

// The file is read whole and parsed in memory: under Wine the C runtime's
// stream reads cost many times what one read of the same bytes does. A
// larger file than the largest set makes (about 3 MB) goes through the
// stream readers.
constexpr std::size_t kLoadedSize = 4 * 1024 * 1024;
char loadedBytes[kLoadedSize + 1];

enum class WholeFile { Read, TooLarge, Unopened, ReadFailed };

// Opened as _wfopen opens for reading: others may go on reading and writing it.
WholeFile readWholeFile(const wchar_t* path, std::size_t& size) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return WholeFile::Unopened;
    }
    bool failed = false;
    for (size = 0; size < sizeof loadedBytes;) {
        DWORD read = 0;
        failed = !ReadFile(file, loadedBytes + size, static_cast<DWORD>(sizeof loadedBytes - size),
                           &read, nullptr);
        if (failed || read == 0) {
            break;
        }
        size += read;
    }
    CloseHandle(file);
    return failed               ? WholeFile::ReadFailed
           : size > kLoadedSize ? WholeFile::TooLarge
                                : WholeFile::Read;
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
    return showSaveDialog(&dialog) != 0;
}

enum class Target { Missing, Writable, Unopenable };

// A file that another program holds open without sharing (a spreadsheet,
// say), or one the user may not change, makes the output fail rather than
// be replaced behind its back.
Target probeTarget(HWND owner, const wchar_t* path) {
    HANDLE target =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? Target::Missing : Target::Unopenable;
    }
    if (!CloseHandle(target)) {
        MessageBoxW(owner, L"エラー", L"エラー", MB_OK);
    }
    return Target::Writable;
}

// The new content goes beside the target, so that it replaces the target on
// one volume. The name is our own, not GetTempFileNameW's, which refuses
// folders longer than MAX_PATH - 14; CREATE_NEW keeps anything existing, and
// the backup name must be free as well.
HANDLE createTemporary(const wchar_t* fullTarget, std::uint32_t unique, OutputPaths& paths) {
    for (int attempt = 0; attempt < 16; ++attempt, unique = unique * 1664525u + 1013904223u) {
        if (!makeOutputPaths(fullTarget, unique, paths)) {
            break;
        }
        if (GetFileAttributesW(paths.backup) != INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        HANDLE file = CreateFileW(paths.temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// Writes the set onto `file` through stdio and closes it; `length` gets the
// bytes written. The content reaches the disk before it replaces anything.
bool writeSetTo(HANDLE file, bool scrambled, LARGE_INTEGER& length) {
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (descriptor == -1) {
        CloseHandle(file);
        return false;
    }
    std::FILE* stream = _fdopen(descriptor, "wb");
    if (stream == nullptr) {
        _close(descriptor);
        return false;
    }
    const LARGE_INTEGER here{};
    const bool written = writeQuestionSet(stream, scrambled) && FlushFileBuffers(file) &&
                         SetFilePointerEx(file, here, &length, FILE_CURRENT);
    return std::fclose(stream) == 0 && written;
}

// ReplaceFileW keeps the old file's attributes, security, creation time and
// streams. Given a backup name, it leaves the old file under one of the two
// names when it fails (without one, Windows may have removed it already).
bool replaceTarget(const OutputPaths& paths) {
    if (ReplaceFileW(paths.target, paths.temporary, paths.backup, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
        DeleteFileW(paths.backup);
        return true;
    }
    if (GetFileAttributesW(paths.target) == INVALID_FILE_ATTRIBUTES) {
        MoveFileExW(paths.backup, paths.target, MOVEFILE_WRITE_THROUGH);
    }
    if (GetFileAttributesW(paths.target) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileW(paths.backup);
    }
    DeleteFileW(paths.temporary);
    return false;
}

// A new file: a rename that does not overwrite one made meanwhile.
bool moveIntoPlace(const OutputPaths& paths) {
    if (MoveFileExW(paths.temporary, paths.target, MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(paths.temporary);
    return false;
}

bool readKeptContent(HANDLE file, DWORD& kept) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > static_cast<LONGLONG>(kKeptSize)) {
        return false;
    }
    for (kept = 0; kept < size.QuadPart;) {
        DWORD read = 0;
        if (!ReadFile(file, keptContent + kept, static_cast<DWORD>(size.QuadPart) - kept, &read,
                      nullptr) ||
            read == 0) {
            return false;
        }
        kept += read;
    }
    return true;
}

bool putBackKeptContent(HANDLE file, DWORD kept) {
    const LARGE_INTEGER start{};
    DWORD written = 0;
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) &&
           WriteFile(file, keptContent, kept, &written, nullptr) && written == kept &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// In a folder where no new file may be made but the target may be changed
// (a shared folder, say), the target is written over; its old content goes
// back if the new content could not be written whole.
OutputResult writeInPlace(const wchar_t* path, bool scrambled) {
    HANDLE target = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        showMessage(kCodeCannotOpen);
        return OutputFailed;
    }
    DWORD kept = 0;
    HANDLE writer = nullptr;
    const LARGE_INTEGER start{};
    if (!readKeptContent(target, kept) || !SetFilePointerEx(target, start, nullptr, FILE_BEGIN) ||
        !DuplicateHandle(GetCurrentProcess(), target, GetCurrentProcess(), &writer, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        CloseHandle(target);
        return OutputFailed;
    }
    // The stream owns the duplicate (which shares the file position), so
    // whatever the stream fails to write, the target's own handle is still
    // there to put the old content back.
    LARGE_INTEGER length{};
    const bool written = writeSetTo(writer, scrambled, length) &&
                         SetFilePointerEx(target, length, nullptr, FILE_BEGIN) &&
                         SetEndOfFile(target) && FlushFileBuffers(target);
    if (!written) {
        putBackKeptContent(target, kept);
    }
    CloseHandle(target);
    return written ? OutputWritten : OutputFailed;
}

// Code 1 only when the target cannot be opened at all; every later failure
// is the caller's to report.
OutputResult writeReplacing(HWND owner, const wchar_t* path, bool scrambled) {
    wchar_t fullPath[kSystemPathSize];
    const DWORD length = GetFullPathNameW(path, kSystemPathSize, fullPath, nullptr);
    const std::uint32_t unique = GetTickCount() ^ (GetCurrentProcessId() << 16);
    OutputPaths paths;
    const Target target =
        length == 0 || length >= kSystemPathSize || !makeOutputPaths(fullPath, unique, paths)
            ? Target::Unopenable
            : probeTarget(owner, paths.target);
    if (target == Target::Unopenable) {
        showMessage(kCodeCannotOpen);
        return OutputFailed;
    }
    HANDLE temporary = createTemporary(fullPath, unique, paths);
    if (temporary == INVALID_HANDLE_VALUE) {
        if (target == Target::Missing) {
            showMessage(kCodeCannotOpen);
            return OutputFailed;
        }
        return writeInPlace(paths.target, scrambled);
    }
    LARGE_INTEGER written{};
    if (!writeSetTo(temporary, scrambled, written)) {
        DeleteFileW(paths.temporary);
        return OutputFailed;
    }
    const bool placed = target == Target::Missing ? moveIntoPlace(paths) : replaceTarget(paths);
    return placed ? OutputWritten : OutputFailed;
}

} // namespace

SetFileRead readSetFile(const wchar_t* path) {
    std::size_t size = 0;
    switch (readWholeFile(path, size)) {
    case WholeFile::Unopened:
        return {false, -1, -1};
    case WholeFile::TooLarge:
        return {true, readHeaderLines(path), readQuestionLines(path)};
    case WholeFile::ReadFailed:
        // As the stream readers meet a read error: what came before it is
        // read, and both fail.
        readHeaderBytes(loadedBytes, size);
        readQuestionBytes(loadedBytes, size, isEepPath(path));
        return {true, -1, -1};
    default:
        break;
    }
    const int header = readHeaderBytes(loadedBytes, size);
    return {true, header, readQuestionBytes(loadedBytes, size, isEepPath(path))};
}

int loadQuestionSet() {
    const SetFileRead read = readSetFile(loadPath);
    if (!read.opened) {
        showMessage(kCodeCannotOpen);
        return kLoadUnopened;
    }
    // A bad header line does not stop the questions from being read, but the
    // load as a whole has failed.
    if (read.header != 0) {
        showMessage(kCodeCannotOpen);
    }
    if (read.questions != 0) {
        showMessage(kCodeCannotOpen);
    }
    return read.header != 0 || read.questions != 0 ? -1 : 0;
}

std::uint8_t checkQuestionSet() {
    return checkQuestions(askToDeleteBadQuestion);
}

OutputResult outputQuestionSet(HWND owner) {
    const bool scrambled = askScrambledForm();
    if (!askOutputPath(owner, scrambled)) {
        return OutputCancelled;
    }
    return writeSetFile(owner, outputPath, scrambled);
}

OutputResult writeSetFile(HWND owner, const wchar_t* path, bool scrambled) {
    return writeReplacing(owner, path, scrambled);
}
