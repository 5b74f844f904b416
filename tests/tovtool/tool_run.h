// What the tovtool tests share: files in and out, tov's writer, and the
// real program run in a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

std::string bytesOf(const fs::path& path);
void put(const fs::path& path, const std::string& bytes);

// The set in the model as tov's writer writes it.
std::string writtenSet(bool scrambled);

// The lines of a file without their CR LF, and back.
std::vector<std::string> linesOf(const std::string& bytes);
std::string joined(const std::vector<std::string>& lines);

// `argument` quoted for the shell.
std::string quotedArgument(const std::string& argument);

// Runs tovtool with `arguments` in `dir`; `prefix` goes before the command
// in the shell, for limits.
ToolRun runTool(const fs::path& dir, const std::vector<std::string>& arguments,
                const std::string& prefix = "");
