#include "tools/tovtool/commands.h"

#include "model/question_file.h"
#include "model/question_set.h"
#include "tools/tovtool/output_file.h"
#include "tools/tovtool/set_report.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstdio>

namespace {

bool writeSet(std::FILE* stream, const void* scrambled) {
    return writeQuestionSet(stream, *static_cast<const bool*>(scrambled));
}

} // namespace

int convertFile(const std::string& in, const std::string& out, Form form) {
    LoadedFile loaded{};
    Problems lost;
    std::string error;
    const std::string shownIn = in;
    if (!loadFile(pathFromArgument(in.c_str()), form, loaded, lost, error)) {
        printError(shownIn, error);
        return kExitFailure;
    }
    reportSetEnd(loaded, lost);
    std::stable_sort(lost.begin(), lost.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    // Every question of the set as read, nothing deleted and no quota
    // derived: only the count the check would have set.
    questionSet.questionCount = loaded.questionsInSet;
    const std::wstring outPath = pathFromArgument(out.c_str());
    const bool scrambled = isScrambledPath(outPath);
    if (!replaceFile(outPath, writeSet, &scrambled, error)) {
        printError(out, error);
        return kExitFailure;
    }
    // What the file held that the set as read does not.
    for (const Problem& p : lost) {
        printError(shownIn + ":" + std::to_string(p.line), std::string(p.kind) + ": " + p.detail);
    }
    return lost.empty() ? kExitFine : kExitProblems;
}
