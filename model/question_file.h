// The question-set file: six header lines, then one line per question, in
// the ANSI code page with CR LF line ends. The plain form (.csv) holds the
// texts as they are; the scrambled form (.eep) holds each question's texts
// byte-pair swapped.
#pragma once

#include <cstddef>
#include <cstdio>

// The settings' lines at the head of every file; question lines follow.
constexpr int kHeaderLines = 6;

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

// What a reader meets on a line that keeps the line from reading as
// written. Tools report it; tov itself watches nothing.
enum class LineEvent {
    Cut,             // a text longer than its field: `length` bytes, `kept` of them kept
    NotANumber,      // a number field holds no number: the line stops there
    MoreThanANumber, // a number field holds more after its number: the number is taken, the
                     // line stops after it
    EndsBefore,      // the line ends before the field: it and those after it keep their values
    Unreadable,      // the first field, a number, holds none: nothing of the line is read
    ExtraFields,     // a comma after the last field: the rest of the line is not read
};

struct LineNote {
    int line; // 1-based line of the file
    LineEvent event;
    int field;          // 0-based; for ExtraFields the line's field count
    std::size_t offset; // from where the read began: the field's first byte; for EndsBefore
                        // the line's LF (or the end), for ExtraFields the comma after the last
    std::size_t length; // Cut only: the field's bytes, CR and zero bytes not counted
    std::size_t kept;   // Cut only: the bytes the model keeps
};

using LineObserver = void (*)(const LineNote&);

// Every read from now on tells `observer` what it meets, line by line as it
// reads; nullptr, the start, for none. The model read stays the same.
void watchLines(LineObserver observer);

// The name of field `field` (0-based) of line `line` (1-based), from the
// lists the readers and the writer walk; "" for no such field.
const char* fieldName(int line, int field);

// True when that field holds a number, false for a text or no such field.
bool isNumberField(int line, int field);

// True when the three characters after the last '.' are "eep", lower case.
bool isEepPath(const wchar_t* path);
