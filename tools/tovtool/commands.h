// The commands of tovtool, each returning the exit code: 0 fine, 1 problems
// found, 2 a usage error or a file that cannot be read or written.
#pragma once

#include "tools/tovtool/loaded_set.h"

#include <string>
#include <vector>

constexpr int kExitFine = 0;
constexpr int kExitProblems = 1;
constexpr int kExitFailure = 2;

// Paths are command-line arguments as given.
int checkFiles(const std::vector<std::string>& paths, Form form, bool json);
int convertFile(const std::string& in, const std::string& out, Form form);
int exportHtml(const std::string& in, const std::string& out, Form form);
int exportMoodle(const std::string& in, const std::string& out, Form form);

struct ImportOptions {
    std::vector<std::string> inputs;
    std::string output;
    std::string from;     // the inputs' kind; empty to go by each one's extension
    std::string title;    // empty for the header's own
    std::string settings; // a set whose header to take; empty for the default one
    std::string sheet;    // a workbook's sheet by name or number; empty for the first
    bool json = false;
};

int importFiles(const ImportOptions& options);

// Two sets compared: 0 the same, 1 different, 2 one cannot be read.
int diffSets(const std::string& a, const std::string& b, Form form, bool json);

// The questions of several sets (or files import reads) in one set: the
// header from the first, genres matched by name, duplicates skipped.
int mergeFiles(const ImportOptions& options);

// Files given alone, as Explorer gives them: each set checked, each other
// file imported into a new set beside it and checked.
int openGivenFiles(const std::vector<std::string>& paths);

// ---- Shared by import, merge and files given alone

struct ImportState;
struct ImportReportLine;

// Reads the whole file named by argument `given`; false, after saying why
// on stderr, when it cannot be read.
bool readGivenFile(const std::string& given, std::string& bytes);

// The kind of an input import reads ("csv", "xlsx" …): `given` when set,
// else by its extension and, for .txt, its content; "" for none. `path`
// is UTF-8, as arguments are.
std::string importKind(const std::string& given, const std::string& path, const std::string& bytes);

// True when the first row of a text file names the import template's
// columns (問題文, 正解 …): a spreadsheet, not a tov set.
bool isImportableSheet(const std::string& bytes);

// A new set's header: `title`, mode 0, the beginner course's pass/fail pair.
void setHeaderRule(const std::string& title);

// Reads `in` and maps its questions into the model's next slots. False,
// after saying why on stderr, when it cannot be read.
bool importInput(const std::string& in, const std::string& from, const std::string& sheet,
                 ImportState& state, std::vector<ImportReportLine>& report);

// Writes the set in the model to `out` in the form of its extension,
// replacing it only once wholly written. False, after saying why, on failure.
bool writeModelSet(const std::string& out);

// The set as the template's spreadsheet columns, UTF-8 with a BOM.
int exportSheet(const std::string& in, const std::string& out, Form form);
