// One finding of `tovtool check`, tied to a line of the file.
#pragma once

#include <string>
#include <vector>

struct Problem {
    int line;           // 1-based line of the file
    const char* kind;   // a fixed word such as "cut", for scripts and --json
    std::string field;  // the field concerned, empty when the whole line is
    std::string detail; // one sentence, UTF-8
};

using Problems = std::vector<Problem>;
