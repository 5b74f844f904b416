// The lines of a file as tov's readers count them, and what the readers
// meet on each, as problems.
#pragma once

#include "tools/tovtool/problem.h"

#include <cstddef>

struct LineCounts {
    int lines;         // as the readers count them
    int questionLines; // lines after the header, all of them
    int slotsRead;     // question lines the model takes, at most 256
};

// Counts the lines of `bytes` (a whole file); question lines past the last
// slot, which no reader looks at, are a problem of their own.
LineCounts countLines(const char* bytes, std::size_t size, Problems& problems);

// From now until stopReportingLines, what the readers meet on each line of
// `bytes` (the file they read, from its start) goes to `problems`: lines
// that cannot be read, fields cut for length, reading stopped early at a
// field, lines shorter or longer than their fields.
void reportLines(const char* bytes, std::size_t size, Problems& problems);
void stopReportingLines();
