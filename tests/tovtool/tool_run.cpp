#include "tests/tovtool/tool_run.h"

#include "model/file_open.h"
#include "model/question_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

std::string quotedArgument(const std::string& argument) {
    std::string out = "'";
    for (const char c : argument) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string writtenSet(bool scrambled) {
    const fs::path path =
        fs::temp_directory_path() / ("tovtool_writer_" + std::to_string(getpid()));
    std::FILE* file = openFile(path.wstring().c_str(), "wb");
    EXPECT_TRUE(file != nullptr && writeQuestionSet(file, scrambled));
    std::fclose(file);
    std::string bytes = bytesOf(path);
    fs::remove(path);
    return bytes;
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(0, line.size() - 1)); // without its CR
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

ToolRun runTool(const fs::path& dir, const std::vector<std::string>& arguments,
                const std::string& prefix) {
    std::string command = prefix + " " + quotedArgument(TOVTOOL);
    for (const std::string& a : arguments) {
        command += " " + quotedArgument(a);
    }
    const fs::path out = dir / "stdout";
    const fs::path err = dir / "stderr";
    // English, whatever the machine's language, unless a test asks.
    command = "cd " + quotedArgument(dir.string()) + " && (export LC_ALL=C; " + command + ") >" +
              quotedArgument(out.string()) + " 2>" + quotedArgument(err.string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, bytesOf(out), bytesOf(err)};
}
