#include "tools/tovtool/set_report.h"

#include "model/question_check.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "model/text_codes.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int kQuotaLine = 3;

int lineOfSlot(int slot) {
    return kHeaderLines + 1 + slot;
}

std::string nameOf(const char* text) {
    std::string out;
    appendUtf8(text, std::strlen(text), out);
    return out;
}

std::string questionLabel(int slot) {
    return "question " + std::to_string(slot + 1) + " (id " +
           std::to_string(questionSet.questions[slot].questionId) + ")";
}

bool isEmpty(const char* text) {
    return text[0] == '\0';
}

// One entry per field whose lack makes the check offer the question for
// deletion.
void reportMissing(int slot, Problems& problems) {
    const MissingFields missing = missingFields(questionSet.questions[slot]);
    const int line = lineOfSlot(slot);
    const std::string who = questionLabel(slot);
    const char* offered = ": the check before output offers to delete it";
    if (missing.points) {
        problems.push_back({line, "badly-entered", "points", who + " has points 0" + offered});
    }
    if (missing.text) {
        problems.push_back({line, "badly-entered", "text", who + " has no text" + offered});
    }
    if (missing.explanation) {
        problems.push_back(
            {line, "badly-entered", "explanation", who + " has no explanation" + offered});
    }
    for (int choice = 0; choice < kMaxChoices; ++choice) {
        if (missing.choices[choice]) {
            const std::string field = "choice " + std::to_string(choice + 1);
            problems.push_back({line, "badly-entered", field, who + " has no " + field + offered});
        }
    }
}

void outOfRange(int slot, const char* field, std::string detail, Problems& problems) {
    problems.push_back(
        {lineOfSlot(slot), "out-of-range", field, questionLabel(slot) + ": " + std::move(detail)});
}

// Formats 2 to 4 name one choice; format 1 is a digit-position code whose
// digit k is 0 or k, marking at least one choice that has a text.
void reportAnswer(int slot, Problems& problems) {
    const Question& q = questionSet.questions[slot];
    const int count = choiceCount(q.format);
    const std::string value = std::to_string(q.answer);
    if (q.format != 1) {
        if (q.answer < 1 || q.answer > count) {
            outOfRange(slot, "answer",
                       "answer is " + value + "; a format " + std::to_string(q.format) +
                           " question has choices 1 to " + std::to_string(count),
                       problems);
        }
        return;
    }
    bool valid = q.answer > 0 && q.answer <= 12345;
    for (int k = 1, weight = 10000; valid && k <= kMaxChoices; ++k, weight /= 10) {
        const int digit = q.answer / weight % 10;
        valid = digit == 0 || digit == k;
    }
    if (!valid) {
        outOfRange(slot, "answer",
                   "answer is " + value +
                       ", no digit-position code of correct choices (10000, 2000, 300, 40 and 5 "
                       "for choices 1 to 5 added up)",
                   problems);
        return;
    }
    bool correct[kMaxChoices];
    correctChoicesFromCode(q.answer, correct);
    for (int k = 0; k < kMaxChoices; ++k) {
        if (correct[k] && isEmpty(q.choices[k])) {
            outOfRange(slot, "answer",
                       "answer " + value + " marks choice " + std::to_string(k + 1) +
                           " correct, which has no text",
                       problems);
        }
    }
}

void reportRanges(int slot, int genres, Problems& problems) {
    const Question& q = questionSet.questions[slot];
    if (choiceCount(q.format) == 0) {
        outOfRange(slot, "format",
                   "format is " + std::to_string(q.format) +
                       "; 1 (multiple selection) to 4 (four choices) exist",
                   problems);
    } else {
        reportAnswer(slot, problems);
    }
    if (q.genre < 1 || q.genre > genres) {
        outOfRange(slot, "genre",
                   "genre is " + std::to_string(q.genre) + "; the set has genres 1 to " +
                       std::to_string(genres),
                   problems);
    }
}

// 47 is judged on the quotas as read, 49 on those the check derives.
void reportGenres(int questions, Problems& problems) {
    std::int32_t counts[kMaxGenres];
    countGenres(questions, counts);
    for (int g = 1; g <= genresInUse(); ++g) {
        const std::string who =
            "genre " + std::to_string(g) + " \"" + nameOf(questionSet.genreNames[g - 1]) + "\"";
        if (genreLacksQuota(g)) {
            problems.push_back({kQuotaLine, "quota-missing", "genre quota " + std::to_string(g),
                                who + " has no quota (message 47)"});
        }
        const std::int32_t quota = quotaChecked(g, counts);
        if (counts[g - 1] < quota) {
            problems.push_back({kQuotaLine, "short-of-questions",
                                "genre quota " + std::to_string(g),
                                who + " has " + std::to_string(counts[g - 1]) +
                                    " questions, fewer than its quota " + std::to_string(quota) +
                                    " (message 49)"});
        }
    }
}

bool keepQuestion(int) {
    return false;
}

} // namespace

void reportSetEnd(const LoadedFile& loaded, Problems& problems) {
    const int end = loaded.questionsInSet;
    if (end >= loaded.counts.slotsRead) {
        return;
    }
    const int after = loaded.counts.slotsRead - end - 1;
    static const Question kEmpty{};
    // A blank last line ends nothing.
    if (after == 0 && std::memcmp(&questionSet.questions[end], &kEmpty, sizeof kEmpty) == 0) {
        return;
    }
    problems.push_back({lineOfSlot(end), "set-ends-early", "questionId",
                        "questionId 0 (or a line that gives none) ends the set here: this line and "
                        "the " +
                            std::to_string(after) +
                            " question lines after it are left out of checks and output"});
}

std::uint8_t reportSet(const LoadedFile& loaded, Problems& problems) {
    if (loaded.counts.lines < kHeaderLines) {
        problems.push_back({loaded.counts.lines + 1, "short-header", "",
                            "the file ends after " + std::to_string(loaded.counts.lines) +
                                " of the " + std::to_string(kHeaderLines) + " header lines"});
    }
    const int genres = std::clamp<std::int32_t>(questionSet.genreCount, 1, kMaxGenres);
    if (loaded.counts.lines > 0 && genres != questionSet.genreCount) {
        problems.push_back({1, "out-of-range", "genreCount",
                            "genreCount is " + std::to_string(questionSet.genreCount) +
                                "; a set has 1 to 5 genres"});
    }
    reportSetEnd(loaded, problems);
    for (int slot = 0; slot < loaded.questionsInSet; ++slot) {
        if (isBadlyEntered(questionSet.questions[slot])) {
            reportMissing(slot, problems);
        }
        reportRanges(slot, genres, problems);
    }
    reportGenres(loaded.questionsInSet, problems);
    // Keeping every question, so the slots stay where the lines put them.
    return checkQuestions(keepQuestion);
}
