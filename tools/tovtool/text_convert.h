// The platform part of tovtool: turning the ANSI code page of the files
// (932, Shift_JIS) into UTF-8, and a command-line argument into a path.
#pragma once

#include "tools/tovtool/messages.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Appends the `length` bytes of `text` to `out` as UTF-8, character by
// character; a byte that begins no character of the code page becomes U+FFFD.
void appendUtf8(const char* text, std::size_t length, std::string& out);

// One character of the code page (1 or 2 bytes, not ASCII) appended as
// UTF-8; false when the code page has no such character. Platform code.
bool appendCharacterUtf8(const char* character, std::size_t length, std::string& out);

// Code point `c` appended in code page 932 (1 or 2 bytes), with no best
// fit; false when 932 has no such character. Platform code.
bool appendCharacterCp932(char32_t c, std::string& out);

// The command line in UTF-8. Windows gives it from its wide form, so that
// a path with characters outside the ANSI code page is kept. Platform code.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// A command-line argument (UTF-8) as a path for openFile. Platform code.
std::wstring pathFromArgument(const char* argument);

// Writes `utf8` to stdout or stderr: on a Windows console as UTF-16, so that
// it shows right whatever the console's code page; elsewhere as it is.
// Platform code.
void writeOutput(std::FILE* stream, const std::string& utf8);

// "FILE: TEXT" on stderr, as every command reports what it cannot do.
void printError(const std::string& file, const std::string& text);

// True when the program has a console window of its own, as when Explorer
// starts it, rather than one shared with a prompt. Platform code.
bool ownsConsole();

// Waits until the user presses Enter (or input ends). Platform code.
void waitForEnter();
