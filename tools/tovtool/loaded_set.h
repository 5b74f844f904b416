// Loading one file into the model with tov's readers, which say what they
// meet on each line as they read it.
#pragma once

#include "tools/tovtool/line_report.h"
#include "tools/tovtool/problem.h"

#include <string>

enum class Form { ByExtension, Plain, Scrambled };

struct LoadedFile {
    bool scrambled;     // the form it was read in
    LineCounts counts;  // of the file's lines
    int headerResult;   // of readHeaderBytes
    int questionResult; // of readQuestionBytes
    int questionsInSet; // slots from the first up to the first empty one
};

// Zeroes the model and reads `path`, once, into it with tov's readers; in
// the form of its extension unless `form` says otherwise. The line problems
// go to `problems`. False, with `error` set, when the file cannot be read.
bool loadFile(const std::wstring& path, Form form, LoadedFile& loaded, Problems& problems,
              std::string& error);

// Reads the whole file at `path` into `bytes`. False, with `error` set,
// when it cannot be read.
bool readFileBytes(const std::wstring& path, std::string& bytes, std::string& error);

// The form a path's extension gives, as the readers judge it.
bool isScrambledPath(const std::wstring& path);
