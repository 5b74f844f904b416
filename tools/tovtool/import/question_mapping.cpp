// Records into tov questions: the choices, the correct set, the format,
// points, genre and texts as tov's pages would store them, with a report
// line for whatever is skipped, replaced, cut or left to the user.
#include "tools/tovtool/import/question_mapping.h"

#include "model/question_set.h"
#include "model/text_codes.h"
#include "pages/page_input.h"
#include "tools/tovtool/import/text_encoding.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t kExcerptCharacters = 16;

// What one record is becoming, with the report lines it has earned so far.
struct Mapping {
    const ImportRecord& record;
    const std::string& file;
    ImportReport& report;
    std::size_t firstLine; // of this record's lines in `report`
    std::string excerpt;
    std::string approximatedFields;
};

} // namespace

std::string excerptOf(const std::string& text) {
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < kExcerptCharacters; ++characters) {
        std::size_t width = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        width = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string piece = text.substr(i, width);
        const bool escape = text.compare(i, 4, "\\r\\n") == 0;
        out += escape || piece == "\r" || piece == "\n" ? " " : piece;
        i += escape ? 4 : width;
    }
    return characters == kExcerptCharacters && out.size() < text.size() ? out + "…" : out;
}

namespace {

void say(Mapping& m, Msg id, std::vector<std::string> args = {}) {
    m.report.push_back({m.file, m.record.place, 0, m.excerpt, false, id, std::move(args)});
}

// Ends a record that does not come in: its lines so far are dropped for the
// one that says why.
void skip(Mapping& m, Msg id, std::vector<std::string> args = {}) {
    m.report.resize(m.firstLine);
    m.report.push_back({m.file, m.record.place, 0, m.excerpt, true, id, std::move(args)});
}

// The choices in use: all up to the last non-empty one. 0 when one is empty
// between filled ones, with `gap` its number.
int choicesInUse(const ImportRecord& r, int& gap) {
    int count = static_cast<int>(r.choices.size());
    while (count > 0 && r.choices[static_cast<std::size_t>(count - 1)].empty()) {
        --count;
    }
    for (int i = 0; i < count; ++i) {
        if (r.choices[static_cast<std::size_t>(i)].empty()) {
            gap = i + 1;
            return 0;
        }
    }
    return count;
}

// The correct choices: those with full credit when any has it (partial
// credit is dropped, reported), else every positive weight.
std::vector<int> correctChoices(Mapping& m) {
    const std::vector<double>& credit = m.record.credit;
    bool anyFull = false;
    for (const double c : credit) {
        anyFull = anyFull || c >= 99.99;
    }
    std::vector<int> correct;
    for (std::size_t i = 0; i < credit.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (anyFull ? credit[i] >= 99.99 : credit[i] > 0) {
            correct.push_back(number);
        } else if (anyFull && credit[i] > 0) {
            say(m, Msg::PartialCreditDropped, {std::to_string(number)});
        }
    }
    return correct;
}

// The format the choices and the correct set give, or 0 when it disagrees
// with the one the source states.
int formatOf(Mapping& m, int choices, std::size_t correct) {
    const int stated = m.record.format;
    if (correct == 1 && choices < 5 && stated != 1) {
        return stated == 0 || stated == choices ? choices : 0;
    }
    if (stated > 1) {
        return 0;
    }
    if (choices == 5 && correct == 1 && stated == 0) {
        say(m, Msg::BecomesMultiple);
    }
    if (choices < 5) {
        std::string missing;
        for (int c = choices + 1; c <= 5; ++c) {
            missing += (missing.empty() ? "" : ", ") + std::to_string(c);
        }
        say(m, Msg::FillChoice, {missing});
    }
    return 1;
}

// Points rounded half up; 0 when below 1.
std::int32_t pointsOf(Mapping& m) {
    if (!m.record.hasPoints) {
        return 1;
    }
    const double p = m.record.points;
    const double whole = std::floor(p + 0.5);
    if (!(whole >= 1)) {
        return 0;
    }
    const std::int32_t points = whole >= INT_MAX ? INT_MAX : static_cast<std::int32_t>(whole);
    if (static_cast<double>(points) != p) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%g", p);
        say(m, Msg::PointsRounded, {shown, std::to_string(points)});
    }
    return points;
}

// Stores `utf8` into `field` as the pages store typed text, saying what the
// code page replaced and what did not fit.
void storeText(Mapping& m, const std::string& utf8, char* field, std::size_t size, TextLines lines,
               const std::string& fieldName) {
    const Cp932Text text = cp932FromUtf8(utf8);
    // Room for every piece at its widest: a lone line break becomes four bytes.
    std::vector<char> whole(4 * text.bytes.size() + 8);
    storeFieldText(text.bytes.c_str(), whole.data(), whole.size(), lines);
    storeFieldText(text.bytes.c_str(), field, size, lines);
    if (text.approximated) {
        m.approximatedFields += (m.approximatedFields.empty() ? "" : ", ") + fieldName;
    }
    if (!text.unrepresented.empty()) {
        say(m, Msg::NotInCodePage, {fieldName, text.unrepresented});
    }
    const std::size_t kept = std::strlen(field);
    if (kept < std::strlen(whole.data())) {
        say(m, Msg::Cut, {fieldName, std::to_string(kept)});
    }
}

template <std::size_t N>
void storeText(Mapping& m, const std::string& utf8, char (&field)[N], TextLines lines,
               const std::string& fieldName) {
    storeText(m, utf8, field, N, lines, fieldName);
}

// The genre slot of `name`, adding it when there is room; -1 past five.
int genreSlot(Mapping& m, ImportState& state) {
    char name[kNameSize];
    const Cp932Text text = cp932FromUtf8(m.record.genre);
    storeFieldText(text.bytes.c_str(), name, TextLines::Single);
    if (m.record.genre.empty() && state.genres > 0) {
        return 0;
    }
    for (int g = 0; g < state.genres; ++g) {
        if (std::strcmp(questionSet.genreNames[g], name) == 0) {
            return g;
        }
    }
    if (state.genres == kMaxGenres) {
        return -1;
    }
    storeText(m, m.record.genre, questionSet.genreNames[state.genres], TextLines::Single,
              ::say(Msg::FieldGenre));
    return state.genres++;
}

bool mapRecord(Mapping& m, ImportState& state) {
    const ImportRecord& r = m.record;
    if (r.skip != Msg::None) {
        skip(m, r.skip, r.skipArgs);
        return false;
    }
    int gap = 0;
    const int choices = choicesInUse(r, gap);
    if (gap > 0) {
        skip(m, Msg::SkipGap, {std::to_string(gap)});
        return false;
    }
    if (choices < 2 || choices > kMaxChoices) {
        skip(m, choices < 2 ? Msg::SkipFewChoices : Msg::SkipManyChoices,
             {std::to_string(choices)});
        return false;
    }
    const std::vector<int> correct = correctChoices(m);
    if (correct.empty()) {
        skip(m, Msg::SkipNoCorrect);
        return false;
    }
    if (correct.back() > choices) {
        skip(m, Msg::SkipMarkOnMissing, {std::to_string(correct.back())});
        return false;
    }
    const int format = formatOf(m, choices, correct.size());
    if (format == 0) {
        skip(m, Msg::SkipFormatDisagrees, {std::to_string(r.format)});
        return false;
    }
    const std::int32_t points = pointsOf(m);
    if (points == 0) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%g", r.points);
        skip(m, Msg::SkipPointsTooLow, {shown});
        return false;
    }
    if (state.questions == kMaxQuestions) {
        skip(m, Msg::SkipPastLast);
        return false;
    }
    const int genre = genreSlot(m, state);
    if (genre < 0) {
        skip(m, Msg::SkipSixthGenre, {r.genre});
        return false;
    }

    Question& q = questionSet.questions[state.questions];
    std::memset(&q, 0, sizeof q);
    q.questionId = state.questions + 1;
    q.format = format;
    q.genre = genre + 1;
    q.points = points;
    bool marks[kMaxChoices] = {};
    for (const int c : correct) {
        marks[c - 1] = true;
    }
    q.answer = format == 1 ? digitPositionCode(marks) : correct.front();
    storeText(m, r.text, q.text, TextLines::Escaped, ::say(Msg::FieldText));
    for (int c = 0; c < choices; ++c) {
        storeText(m, r.choices[static_cast<std::size_t>(c)], q.choices[c], TextLines::Single,
                  ::say(Msg::FieldChoice, {std::to_string(c + 1)}));
    }
    storeText(m, r.explanation, q.explanation, TextLines::Escaped, ::say(Msg::FieldExplanation));
    if (!m.approximatedFields.empty()) {
        say(m, Msg::Accents, {m.approximatedFields});
    }
    if (r.text.empty()) {
        say(m, Msg::NoText);
    }
    if (r.explanation.empty()) {
        say(m, Msg::NoExplanation);
    }
    ++state.questions;
    return true;
}

} // namespace

ImportState startImport(int genres) {
    return {0, genres, genres, 0};
}

void importRecords(const ImportBatch& batch, const std::string& file, ImportState& state,
                   ImportReport& report) {
    for (const ImportNote& note : batch.notes) {
        report.push_back({file, note.place, 0, "", false, note.id, note.args});
    }
    for (const ImportRecord& record : batch.records) {
        Mapping m{record, file, report, report.size(), excerptOf(record.text), {}};
        for (const ImportNote& note : record.notes) {
            say(m, note.id, note.args);
        }
        if (mapRecord(m, state)) {
            for (std::size_t i = m.firstLine; i < report.size(); ++i) {
                report[i].question = state.questions;
            }
        } else {
            ++state.skipped;
        }
    }
}

void finishImport(const ImportState& state) {
    questionSet.genreCount = state.genres > 0 ? state.genres : 1;
    for (int g = state.genreFixed; g < state.genres; ++g) {
        int count = 0;
        for (int slot = 0; slot < state.questions; ++slot) {
            count += questionSet.questions[slot].genre == g + 1 ? 1 : 0;
        }
        questionSet.genreQuotas[g] = count;
    }
}
