#include "model/output_paths.h"

#include <cwchar>

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedUncPrefix[] = L"\\\\?\\UNC\\";
// "tov", 8 hex digits, ".tmp"
constexpr std::size_t kBesideNameLength = 15;

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool startsWith(const wchar_t* text, const wchar_t* prefix) {
    return std::wcsncmp(text, prefix, std::wcslen(prefix)) == 0;
}

// Up to and including the last separator, or a drive's colon.
std::size_t folderLength(const wchar_t* path, std::size_t length) {
    for (std::size_t i = length; i > 0; --i) {
        if (isSeparator(path[i - 1]) || path[i - 1] == L':') {
            return i;
        }
    }
    return 0;
}

struct Writer {
    wchar_t* out;
    std::size_t used;
};

bool put(Writer& writer, wchar_t c) {
    if (writer.used + 1 >= kSystemPathSize) {
        return false;
    }
    writer.out[writer.used++] = c;
    writer.out[writer.used] = L'\0';
    return true;
}

bool putText(Writer& writer, const wchar_t* text, std::size_t length, bool backslashes) {
    for (std::size_t i = 0; i < length; ++i) {
        if (!put(writer, backslashes && text[i] == L'/' ? L'\\' : text[i])) {
            return false;
        }
    }
    return true;
}

// The "\\?\" form turns off the system's own clean-up of the path, so the
// separators are made backslashes here; a relative path has no such form.
bool putPrefixed(Writer& writer, const wchar_t* path, std::size_t length) {
    if (startsWith(path, kExtendedPrefix) || startsWith(path, L"\\\\.\\")) {
        return putText(writer, path, length, false);
    }
    if (isSeparator(path[0]) && isSeparator(path[1])) {
        return putText(writer, kExtendedUncPrefix, std::wcslen(kExtendedUncPrefix), false) &&
               putText(writer, path + 2, length - 2, true);
    }
    const bool driveAbsolute = length >= 3 && path[1] == L':' && isSeparator(path[2]);
    return driveAbsolute && putText(writer, kExtendedPrefix, std::wcslen(kExtendedPrefix), false) &&
           putText(writer, path, length, true);
}

bool putPath(wchar_t* out, const wchar_t* path, std::size_t length, bool extended) {
    Writer writer{out, 0};
    out[0] = L'\0';
    return extended ? putPrefixed(writer, path, length) : putText(writer, path, length, false);
}

// The target's folder and a short name of our own, so that its length
// depends on the folder's alone.
bool putBeside(wchar_t* out, const wchar_t* target, std::size_t folder, std::uint32_t unique,
               const wchar_t* extension, bool extended) {
    wchar_t plain[kSystemPathSize];
    std::wmemcpy(plain, target, folder);
    wchar_t* name = plain + folder;
    std::wmemcpy(name, L"tov", 3);
    for (int digit = 0; digit < 8; ++digit) {
        name[3 + digit] = L"0123456789abcdef"[(unique >> (28 - 4 * digit)) & 0xF];
    }
    name[11] = L'.';
    std::wmemcpy(name + 12, extension, 3);
    return putPath(out, plain, folder + kBesideNameLength, extended);
}

} // namespace

bool makeOutputPaths(const wchar_t* target, std::uint32_t unique, OutputPaths& paths) {
    const std::size_t length = std::wcslen(target);
    const std::size_t folder = folderLength(target, length);
    if (folder == length || length + kBesideNameLength >= kSystemPathSize) {
        return false;
    }
    const bool extended =
        length >= kLongFormLength || folder + kBesideNameLength >= kLongFormLength;
    return putPath(paths.target, target, length, extended) &&
           putBeside(paths.temporary, target, folder, unique, L"tmp", extended) &&
           putBeside(paths.backup, target, folder, unique, L"bak", extended);
}
