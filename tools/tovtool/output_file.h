// Writing a result file so that an existing one is replaced only once the
// new content is wholly written, as tov's own output does.
#pragma once

#include <cstdio>
#include <string>

// Writes the content to an open binary stream; true when every byte went.
using ContentWriter = bool (*)(std::FILE* stream, const void* content);

// Writes through `write` into a file beside `path`, then renames it over
// `path`. On any failure `path` keeps what it held, the file beside it is
// removed, and `error` says why.
bool replaceFile(const std::wstring& path, ContentWriter write, const void* content,
                 std::string& error);

// A ContentWriter for a std::string of bytes.
bool writeBytes(std::FILE* stream, const void* bytes);
