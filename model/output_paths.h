// The names an output works with beside its target, and the form in which
// they are handed to the file system: plain while they are well short of
// MAX_PATH, in the "\\?\" form once any of them comes near it.
#pragma once

#include <cstddef>
#include <cstdint>

// MAX_PATH less its terminating zero: the longest plain path Windows takes.
constexpr std::size_t kMaxPlainPath = 259;
// Windows leaves 14 characters for names it makes from a path (as
// GetTempFileNameW does); ReplaceFileW's own limits are not documented. From
// this length on, every path of an output takes the "\\?\" form.
constexpr std::size_t kLongFormLength = kMaxPlainPath + 1 - 14;
// A 259-character path, a name beside it and the "\\?\UNC\" prefix.
constexpr std::size_t kSystemPathSize = 300;

struct OutputPaths {
    wchar_t target[kSystemPathSize];
    wchar_t temporary[kSystemPathSize]; // "tov" + 8 hex digits of unique + ".tmp"
    wchar_t backup[kSystemPathSize];    // the same name with ".bak"
};

// Fills `paths` from `target`, a full path as GetFullPathNameW gives it
// (drive or UNC, backslashes, no "." or ".." segments). All three take the
// "\\?\" form when any of them is kLongFormLength or longer. False when
// `target` is empty, has no file name, or the paths would not fit.
bool makeOutputPaths(const wchar_t* target, std::uint32_t unique, OutputPaths& paths);
