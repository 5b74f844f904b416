// Loading one file into the model as tov loads it, with the line scan of
// the same bytes beside it.
#pragma once

#include "tools/tovtool/line_scan.h"
#include "tools/tovtool/problem.h"

#include <string>

enum class Form { ByExtension, Plain, Scrambled };

struct LoadedFile {
    bool scrambled;     // the form it was read in
    LineCounts counts;  // of the line scan
    int headerResult;   // of readHeaderLines
    int questionResult; // of readQuestionLines
    int questionsInSet; // slots from the first up to the first empty one
};

// Zeroes the model and reads `path` into it with tov's readers; in the form
// of its extension unless `form` says otherwise. The line problems go to
// `problems`. False, with `error` set, when the file cannot be read.
bool loadFile(const std::wstring& path, Form form, LoadedFile& loaded, Problems& problems,
              std::string& error);

// The form a path's extension gives, as the readers judge it.
bool isScrambledPath(const std::wstring& path);
