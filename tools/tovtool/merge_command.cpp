// tovtool merge: the questions of several sets, or of files import reads,
// in one set: genres matched by name, ids renumbered, duplicates left out.
#include "tools/tovtool/commands.h"

#include "model/question_file.h"
#include "model/question_set.h"
#include "tools/tovtool/export_text.h"
#include "tools/tovtool/import/import_report.h"
#include "tools/tovtool/import/question_mapping.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

// The set being made, while each input is read into the model.
QuestionSet merged;

struct Merge {
    int questions;
    int genres;
    int firstGenres; // the first input's, which keep their quotas
    int skipped;
    std::vector<std::string> extraGenres; // past the fifth, by name
    ImportReport report;
};

bool sameQuestion(const Question& a, const Question& b) {
    if (std::strcmp(a.text, b.text) != 0) {
        return false;
    }
    for (int c = 0; c < kMaxChoices; ++c) {
        if (std::strcmp(a.choices[c], b.choices[c]) != 0) {
            return false;
        }
    }
    return true;
}

// The merged set's genre of `name`, added when new; -1 past the fifth.
int genreOf(const char* name, Merge& m) {
    for (int g = 0; g < m.genres; ++g) {
        if (std::strcmp(merged.genreNames[g], name) == 0) {
            return g;
        }
    }
    if (m.genres == kMaxGenres) {
        const std::string shown = utf8Of(name);
        if (std::find(m.extraGenres.begin(), m.extraGenres.end(), shown) == m.extraGenres.end()) {
            m.extraGenres.push_back(shown);
        }
        return -1;
    }
    std::strcpy(merged.genreNames[m.genres], name);
    merged.genreQuotas[m.genres] = 0;
    return m.genres++;
}

void skip(Merge& m, const std::string& file, int line, const Question& q, Msg id,
          std::vector<std::string> args) {
    m.report.push_back({file, {line, ""}, 0, excerptOf(utf8Of(q.text)), true, id, std::move(args)});
    ++m.skipped;
}

// Takes the model's first `count` questions into the merged set; `taken`
// gets each one's number there, 0 when it is left out.
void takeQuestions(const std::string& file, int count, bool fromSet, Merge& m,
                   std::vector<int>& taken) {
    taken.assign(static_cast<std::size_t>(count), 0);
    for (int slot = 0; slot < count; ++slot) {
        const Question& q = questionSet.questions[slot];
        const int line = fromSet ? kHeaderLines + 1 + slot : 0;
        const auto same = std::find_if(merged.questions, merged.questions + m.questions,
                                       [&q](const Question& t) { return sameQuestion(q, t); });
        if (same != merged.questions + m.questions) {
            skip(m, file, line, q, Msg::MergeDuplicate,
                 {std::to_string(same - merged.questions + 1)});
            continue;
        }
        if (m.questions == kMaxQuestions) {
            skip(m, file, line, q, Msg::SkipPastLast, {});
            continue;
        }
        const bool named = q.genre >= 1 && q.genre <= kMaxGenres;
        const int genre = genreOf(named ? questionSet.genreNames[q.genre - 1] : "", m);
        if (genre < 0) {
            ++m.skipped;
            continue;
        }
        Question& copy = merged.questions[m.questions++];
        copy = q;
        copy.questionId = m.questions;
        copy.genre = genre + 1;
        taken[static_cast<std::size_t>(slot)] = m.questions;
    }
}

// Reads one input into the model; false, after saying why, when it cannot.
bool readInput(const std::string& in, Merge& m, int& count, bool& fromSet) {
    std::string bytes;
    if (!readGivenFile(in, bytes)) {
        return false;
    }
    std::memset(&questionSet, 0, sizeof questionSet);
    const std::string kind = importKind("", in, bytes);
    fromSet = kind.empty() || (kind == "csv" && !isImportableSheet(bytes));
    if (fromSet) {
        LoadedFile loaded{};
        if (!loadForExport(in, Form::ByExtension, loaded)) {
            return false;
        }
        count = loaded.questionsInSet;
        return true;
    }
    setHeaderRule(std::filesystem::u8path(in).stem().u8string());
    ImportState state = startImport(0);
    if (!importInput(in, kind, "", state, m.report)) {
        return false;
    }
    finishImport(state);
    m.skipped += state.skipped;
    count = state.questions;
    return true;
}

} // namespace

int mergeFiles(const ImportOptions& options) {
    Merge m{0, 0, 0, 0, {}, {}};
    std::memset(&merged, 0, sizeof merged);
    for (std::size_t i = 0; i < options.inputs.size(); ++i) {
        int count = 0;
        bool fromSet = false;
        const std::size_t firstLine = m.report.size();
        if (!readInput(options.inputs[i], m, count, fromSet)) {
            return kExitFailure;
        }
        if (i == 0) {
            merged = questionSet;
            std::memset(merged.questions, 0, sizeof merged.questions);
            m.genres = m.firstGenres = std::clamp<int>(merged.genreCount, 0, kMaxGenres);
        }
        std::vector<int> taken;
        takeQuestions(options.inputs[i], count, fromSet, m, taken);
        // What the import said of a question, under its number in this set.
        for (std::size_t line = firstLine; line < m.report.size(); ++line) {
            int& question = m.report[line].question;
            question = question > 0 && question <= count
                           ? taken[static_cast<std::size_t>(question - 1)]
                           : question;
        }
    }
    if (!m.extraGenres.empty()) {
        std::string names;
        for (const std::string& name : m.extraGenres) {
            names += (names.empty() ? "「" : "」「") + name;
        }
        printError(options.output, say(Msg::MergeTooManyGenres, {names + "」"}));
        return kExitFailure;
    }
    merged.genreCount = std::max(m.genres, 1);
    // A genre the first set lacked is presented whole.
    for (int slot = 0; slot < m.questions; ++slot) {
        const int genre = merged.questions[slot].genre;
        merged.genreQuotas[genre - 1] += genre > m.firstGenres ? 1 : 0;
    }
    merged.questionCount = m.questions;
    std::memcpy(&questionSet, &merged, sizeof merged);
    if (!writeModelSet(options.output)) {
        return kExitFailure;
    }
    printImportReport(m.report,
                      {options.output, m.questions, m.skipped,
                       say(Msg::Merged, {std::to_string(m.questions), options.output,
                                         std::to_string(m.skipped)})},
                      options.json);
    return m.report.empty() ? kExitFine : kExitProblems;
}
