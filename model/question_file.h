// The question-set file: six header lines, then one line per question, in
// the ANSI code page with CR LF line ends. The plain form (.csv) holds the
// texts as they are; the scrambled form (.eep) holds each question's texts
// byte-pair swapped.
#pragma once

#include <cstddef>
#include <cstdio>

// Swaps the bytes of each pair in the seven texts of question `slot`, up to
// the first pair that holds a zero byte. Applied twice it restores them.
void swapPairs(int slot);

// Writes the whole set to `stream`, opened in binary mode (the line ends are
// written as CR LF). Derives presentedCount first; leaves every other field
// as it was. True only when every byte was accepted; the caller closes.
bool writeQuestionSet(std::FILE* stream, bool scrambled);

// Reads header lines 1 to 6 into the set. 0, or -1 when the file cannot be
// opened or its last line read begins with something other than a number
// where a number is due.
int readHeaderLines(const wchar_t* path);

// Reads every line after the header into the next slot (256 at most) and
// unswaps the slots read when `path` is an .eep path. 0, or -1 when the file
// cannot be opened or its last question line does not begin with a number.
int readQuestionLines(const wchar_t* path);

// The same from `stream`, opened in binary mode, from where it stands; the
// caller closes it. -1 also for a nullptr stream or a read error.
int readHeaderStream(std::FILE* stream);
int readQuestionStream(std::FILE* stream, bool scrambled);

// The same from `size` bytes in memory.
int readHeaderBytes(const char* bytes, std::size_t size);
int readQuestionBytes(const char* bytes, std::size_t size, bool scrambled);

// True when the three characters after the last '.' are "eep", lower case.
bool isEepPath(const wchar_t* path);
