// The platform part of tovtool: turning the ANSI code page of the files
// (932, Shift_JIS) into UTF-8, and a command-line argument into a path.
#pragma once

#include <cstddef>
#include <string>

// Appends the `length` bytes of `text` to `out` as UTF-8, character by
// character; a byte that begins no character of the code page becomes U+FFFD.
void appendUtf8(const char* text, std::size_t length, std::string& out);

// One character of the code page (1 or 2 bytes, not ASCII) appended as
// UTF-8; false when the code page has no such character. Platform code.
bool appendCharacterUtf8(const char* character, std::size_t length, std::string& out);

// A command-line argument as a path for openFile: arguments are UTF-8 on
// Linux and in the ANSI code page on Windows. Platform code.
std::wstring pathFromArgument(const char* argument);

// The same argument as UTF-8, for the report. Platform code.
std::string argumentAsUtf8(const char* argument);

// Lets a console show the UTF-8 results; nothing where the terminal does.
void prepareConsole();
