// tovtool diff: two sets, whatever their forms, compared field by field in
// the header and slot by slot in the questions.
#include "tools/tovtool/commands.h"

#include "model/question_set.h"
#include "tools/tovtool/export_text.h"
#include "tools/tovtool/json_out.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstring>

namespace {

// The first set, while the second is read into the model.
QuestionSet before;
int questionsBefore;

constexpr std::size_t kShownCharacters = 24;

struct Difference {
    int question;       // 0 for the header
    std::string field;  // as the readers name it; empty for a whole question
    const char* change; // "changed", "added", "removed"
    std::string old;
    std::string now;
};

std::vector<std::string> charactersOf(const std::string& utf8) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t width = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        characters.push_back(utf8.substr(i, width));
        i += width;
    }
    return characters;
}

// Both texts from a little before their first difference, "…" where cut.
void shortenAroundDifference(std::string& a, std::string& b) {
    const std::vector<std::string> ca = charactersOf(a);
    const std::vector<std::string> cb = charactersOf(b);
    if (std::max(ca.size(), cb.size()) <= kShownCharacters) {
        return;
    }
    std::size_t first = 0;
    while (first < ca.size() && first < cb.size() && ca[first] == cb[first]) {
        ++first;
    }
    const std::size_t from = first > kShownCharacters / 3 ? first - kShownCharacters / 3 : 0;
    const auto cut = [from](const std::vector<std::string>& c) {
        std::string out = from > 0 ? "…" : "";
        for (std::size_t i = from; i < c.size() && i < from + kShownCharacters; ++i) {
            out += c[i];
        }
        return from + kShownCharacters < c.size() ? out + "…" : out;
    };
    a = cut(ca);
    b = cut(cb);
}

void compareText(int question, const std::string& field, const char* a, const char* b,
                 std::vector<Difference>& out) {
    if (std::strcmp(a, b) != 0) {
        out.push_back({question, field, "changed", utf8Of(a), utf8Of(b)});
    }
}

void compareNumber(int question, const std::string& field, std::int32_t a, std::int32_t b,
                   std::vector<Difference>& out) {
    if (a != b) {
        out.push_back({question, field, "changed", std::to_string(a), std::to_string(b)});
    }
}

std::string numbered(const char* name, int i) {
    return std::string(name) + " " + std::to_string(i + 1);
}

void compareHeader(const QuestionSet& a, const QuestionSet& b, std::vector<Difference>& out) {
    compareText(0, "title", a.title, b.title, out);
    compareNumber(0, "presentationMode", a.presentationMode, b.presentationMode, out);
    compareNumber(0, "rankCount", a.rankCount, b.rankCount, out);
    compareNumber(0, "genreCount", a.genreCount, b.genreCount, out);
    for (int i = 0; i < kMaxRanks; ++i) {
        compareText(0, numbered("rank name", i), a.rankNames[i], b.rankNames[i], out);
    }
    for (int i = 0; i < kMaxThresholds; ++i) {
        compareNumber(0, numbered("threshold", i), a.rankThresholds[i], b.rankThresholds[i], out);
    }
    for (int i = 0; i < kMaxRanks; ++i) {
        compareText(0, numbered("rank comment", i), a.rankComments[i], b.rankComments[i], out);
    }
    for (int i = 0; i < kMaxGenres; ++i) {
        compareText(0, numbered("genre name", i), a.genreNames[i], b.genreNames[i], out);
        compareNumber(0, numbered("genre quota", i), a.genreQuotas[i], b.genreQuotas[i], out);
    }
}

void compareQuestion(int n, const Question& a, const Question& b, std::vector<Difference>& out) {
    compareNumber(n, "questionId", a.questionId, b.questionId, out);
    compareNumber(n, "format", a.format, b.format, out);
    compareNumber(n, "genre", a.genre, b.genre, out);
    compareText(n, "text", a.text, b.text, out);
    compareNumber(n, "answer", a.answer, b.answer, out);
    compareNumber(n, "points", a.points, b.points, out);
    compareText(n, "explanation", a.explanation, b.explanation, out);
    for (int c = 0; c < kMaxChoices; ++c) {
        compareText(n, numbered("choice", c), a.choices[c], b.choices[c], out);
    }
}

std::vector<Difference> differences(int questionsAfter) {
    std::vector<Difference> out;
    compareHeader(before, questionSet, out);
    for (int slot = 0; slot < std::max(questionsBefore, questionsAfter); ++slot) {
        if (slot >= questionsBefore) {
            out.push_back({slot + 1, "", "added", "", utf8Of(questionSet.questions[slot].text)});
        } else if (slot >= questionsAfter) {
            out.push_back({slot + 1, "", "removed", utf8Of(before.questions[slot].text), ""});
        } else {
            compareQuestion(slot + 1, before.questions[slot], questionSet.questions[slot], out);
        }
    }
    for (Difference& d : out) {
        shortenAroundDifference(d.old, d.now);
    }
    return out;
}

std::string messageOf(const Difference& d) {
    const std::string n = std::to_string(d.question);
    if (d.field.empty()) {
        return d.change[0] == 'a' ? say(Msg::DiffAdded, {n, d.now})
                                  : say(Msg::DiffRemoved, {n, d.old});
    }
    const std::string where = d.question == 0
                                  ? fieldLabel(d.field)
                                  : say(Msg::DiffQuestionField, {n, fieldLabel(d.field)});
    return say(Msg::DiffChanged, {where, d.old, d.now});
}

std::string jsonOf(const std::string& a, const std::string& b,
                   const std::vector<Difference>& found) {
    std::string out = "{\n  ";
    appendJsonField("a", a, out);
    out += ",\n  ";
    appendJsonField("b", b, out);
    out += found.empty() ? ",\n  \"same\": true,\n  \"differences\": ["
                         : ",\n  \"same\": false,\n  \"differences\": [";
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Difference& d = found[i];
        out += i == 0 ? "\n    {" : ",\n    {";
        appendJsonNumber("question", d.question, out);
        out += ", ";
        appendJsonField("field", d.field, out);
        out += ", ";
        appendJsonField("change", d.change, out);
        out += ", ";
        appendJsonField("old", d.old, out);
        out += ", ";
        appendJsonField("new", d.now, out);
        out += ", ";
        appendJsonField("message", messageOf(d), out);
        out += "}";
    }
    return out + (found.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

} // namespace

int diffSets(const std::string& a, const std::string& b, Form form, bool json) {
    LoadedFile loaded{};
    if (!loadForExport(a, form, loaded)) {
        return kExitFailure;
    }
    before = questionSet;
    questionsBefore = loaded.questionsInSet;
    if (!loadForExport(b, form, loaded)) {
        return kExitFailure;
    }
    const std::vector<Difference> found = differences(loaded.questionsInSet);
    std::string text;
    if (json) {
        text = jsonOf(a, b, found);
    } else {
        for (const Difference& d : found) {
            text += messageOf(d) + "\n";
        }
        text += found.empty() ? say(Msg::DiffSame, {a, b})
                              : say(Msg::DiffSummary, {a, b, std::to_string(found.size())});
        text += "\n";
    }
    writeOutput(stdout, text);
    return found.empty() ? kExitFine : kExitProblems;
}
