// Files given alone, as Explorer gives them when they are dropped on
// tovtool.exe or sent to it: what a teacher means by it.
#include "tools/tovtool/commands.h"

#include "tools/tovtool/loaded_set.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// NAME-tov.csv beside `in`, or NAME-tov (2).csv … when that exists: never
// anything already there.
std::string newSetBeside(const std::string& in) {
    const fs::path source = fs::u8path(in);
    const std::string stem = source.stem().u8string() + "-tov";
    fs::path out = source.parent_path() / fs::u8path(stem + ".csv");
    for (int n = 2; fs::exists(out); ++n) {
        out = source.parent_path() / fs::u8path(stem + " (" + std::to_string(n) + ").csv");
    }
    return out.u8string();
}

int openOne(const std::string& given) {
    std::string bytes;
    if (!readGivenFile(given, bytes)) {
        return kExitFailure;
    }
    const std::wstring path = pathFromArgument(given.c_str());
    const std::string kind = importKind("", given, bytes);
    const bool isSet =
        kind.empty() ? isScrambledPath(path) : kind == "csv" && !isImportableSheet(bytes);
    if (isSet) {
        return checkFiles({given}, Form::ByExtension, false);
    }
    if (kind.empty()) {
        printError(given, say(Msg::DroppedNothing));
        return kExitFailure;
    }
    ImportOptions options;
    options.inputs = {given};
    options.output = newSetBeside(given);
    const int imported = importFiles(options);
    if (imported == kExitFailure) {
        return imported;
    }
    return std::max(imported, checkFiles({options.output}, Form::ByExtension, false));
}

} // namespace

int openGivenFiles(const std::vector<std::string>& paths) {
    // Asked first: a process that attaches later does not make it shared.
    const bool ownWindow = ownsConsole();
    int worst = kExitFine;
    for (const std::string& path : paths) {
        worst = std::max(worst, openOne(path));
        writeOutput(stdout, "\n");
    }
    // Started from Explorer, the window would close before it could be read.
    if (ownWindow) {
        writeOutput(stdout, say(Msg::PressEnter) + "\n");
        waitForEnter();
    }
    return worst;
}
