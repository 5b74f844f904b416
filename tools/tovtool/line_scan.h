// Reading a file's lines again as tov's readers do, field by field with the
// same sizes, to say where and why a line does not read back as written.
#pragma once

#include "tools/tovtool/problem.h"

#include <cstddef>

constexpr int kHeaderLines = 6;

struct LineCounts {
    int lines;         // as the readers count them
    int questionLines; // lines after the header, all of them
    int slotsRead;     // question lines the model takes, at most 256
};

// Appends the problems of each line of `bytes` (a whole file): lines that
// cannot be read, fields cut for length, reading stopped early at a field,
// fields the line does not reach or holds beyond its last, question lines
// past the last slot.
LineCounts scanLines(const char* bytes, std::size_t size, Problems& problems);

// The name the report uses for field `index` of question lines (0 to 11).
const char* questionFieldName(int index);
