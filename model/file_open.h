// The only platform code the file format needs: opening a file by its
// UTF-16 path, and telling the first byte of a double-byte character.
#pragma once

#include <cstdio>

// Opens `path` with the stdio `mode` ("rb", "wb"); nullptr when it cannot.
std::FILE* openFile(const wchar_t* path, const char* mode);

// True when `byte` begins a double-byte character in the ANSI code page.
bool isLeadByte(unsigned char byte);
