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
