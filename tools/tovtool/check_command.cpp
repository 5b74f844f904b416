#include "tools/tovtool/commands.h"

#include "tools/tovtool/json_out.h"
#include "tools/tovtool/set_report.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace {

// Below this many files a progress line would only flicker.
constexpr std::size_t kProgressFrom = 20;

struct Tally {
    int files;
    int fine;
    int withProblems;
    int unreadable;
    std::size_t problems;
};

void appendText(const std::string& path, const Problems& problems, std::string& out) {
    for (const Problem& p : problems) {
        out += path + ":" + std::to_string(p.line) + ": " + p.kind + ": " + p.detail + "\n";
    }
}

void appendJson(const std::string& path, const LoadedFile& loaded, std::uint8_t code,
                const Problems& problems, std::string& out) {
    out += "    {";
    appendJsonField("path", path, out);
    out += ", ";
    appendJsonField("form", loaded.scrambled ? "eep" : "csv", out);
    out += ", ";
    appendJsonNumber("questions", loaded.questionsInSet, out);
    out += ", ";
    appendJsonNumber("checkCode", code, out);
    out += ", \"problems\": [";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        const Problem& p = problems[i];
        out += i == 0 ? "\n        {" : ",\n        {";
        appendJsonNumber("line", p.line, out);
        out += ", ";
        appendJsonField("kind", p.kind, out);
        out += ", ";
        appendJsonField("field", p.field, out);
        out += ", ";
        appendJsonField("detail", p.detail, out);
        out += "}";
    }
    out += problems.empty() ? "]}" : "\n    ]}";
}

void appendJsonError(const std::string& path, const std::string& error, std::string& out) {
    out += "    {";
    appendJsonField("path", path, out);
    out += ", ";
    appendJsonField("error", error, out);
    out += "}";
}

void put(const std::string& text) {
    writeOutput(stdout, text);
}

// Spaces rather than an escape sequence: not every console knows them.
void clearProgress(bool shown) {
    if (shown) {
        writeOutput(stderr, "\r                                        \r");
    }
}

void showProgress(bool shown, std::size_t done, std::size_t total) {
    if (shown) {
        writeOutput(stderr,
                    "\r" + say(Msg::CheckProgress, {std::to_string(done), std::to_string(total)}));
    }
}

std::string summaryLine(const Tally& t) {
    return say(t.files == 1 ? Msg::CheckSummaryOne : Msg::CheckSummary,
               {std::to_string(t.files), std::to_string(t.fine), std::to_string(t.withProblems),
                std::to_string(t.problems), std::to_string(t.unreadable)}) +
           "\n";
}

void appendJsonSummary(const Tally& t, std::string& out) {
    out += "\n  ],\n  \"summary\": {";
    appendJsonNumber("files", t.files, out);
    out += ", ";
    appendJsonNumber("fine", t.fine, out);
    out += ", ";
    appendJsonNumber("withProblems", t.withProblems, out);
    out += ", ";
    appendJsonNumber("unreadable", t.unreadable, out);
    out += ", ";
    appendJsonNumber("problems", static_cast<long long>(t.problems), out);
    out += "}\n}\n";
}

} // namespace

int checkFiles(const std::vector<std::string>& paths, Form form, bool json) {
    const bool progress = paths.size() >= kProgressFrom && isatty(2) != 0;
    Tally tally{};
    Problems problems;
    std::string out;
    if (json) {
        put("{\n  \"files\": [\n");
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string shownPath = paths[i];
        problems.clear();
        out.clear();
        if (json && i > 0) {
            out += ",\n";
        }
        LoadedFile loaded{};
        std::string error;
        ++tally.files;
        if (!loadFile(pathFromArgument(paths[i].c_str()), form, loaded, problems, error)) {
            ++tally.unreadable;
            writeOutput(stderr, shownPath + ": " + error + "\n");
            if (json) {
                appendJsonError(shownPath, error, out);
            }
        } else {
            const std::uint8_t code = reportSet(loaded, problems);
            std::stable_sort(problems.begin(), problems.end(),
                             [](const Problem& a, const Problem& b) { return a.line < b.line; });
            tally.problems += problems.size();
            ++(problems.empty() ? tally.fine : tally.withProblems);
            if (json) {
                appendJson(shownPath, loaded, code, problems, out);
            } else {
                appendText(shownPath, problems, out);
            }
        }
        if (!out.empty()) {
            clearProgress(progress);
            put(out);
        }
        showProgress(progress, i + 1, paths.size());
    }
    clearProgress(progress);
    out.clear();
    if (json) {
        appendJsonSummary(tally, out);
    } else {
        out = summaryLine(tally);
    }
    put(out);
    if (tally.unreadable > 0) {
        return kExitFailure;
    }
    return tally.withProblems > 0 ? kExitProblems : kExitFine;
}
