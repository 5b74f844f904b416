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
    return say(Msg::QuestionLabel,
               {std::to_string(slot + 1), std::to_string(questionSet.questions[slot].questionId)});
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
    const auto lacks = [&](const std::string& field) {
        problems.push_back(
            {line, "badly-entered", field, say(Msg::MissingField, {who, fieldLabel(field)})});
    };
    if (missing.points) {
        problems.push_back({line, "badly-entered", "points", say(Msg::MissingPoints, {who})});
    }
    if (missing.text) {
        lacks("text");
    }
    if (missing.explanation) {
        lacks("explanation");
    }
    for (int choice = 0; choice < kMaxChoices; ++choice) {
        if (missing.choices[choice]) {
            lacks("choice " + std::to_string(choice + 1));
        }
    }
}

// `args` fill the message after the question's label.
void outOfRange(int slot, const char* field, Msg id, std::vector<std::string> args,
                Problems& problems) {
    args.insert(args.begin(), questionLabel(slot));
    problems.push_back({lineOfSlot(slot), "out-of-range", field, say(id, args)});
}

// Formats 2 to 4 name one choice; format 1 is a digit-position code whose
// digit k is 0 or k, marking at least one choice that has a text.
void reportAnswer(int slot, Problems& problems) {
    const Question& q = questionSet.questions[slot];
    const int count = choiceCount(q.format);
    const std::string value = std::to_string(q.answer);
    if (q.format != 1) {
        if (q.answer < 1 || q.answer > count) {
            outOfRange(slot, "answer", Msg::AnswerOutOfRange,
                       {value, std::to_string(q.format), std::to_string(count)}, problems);
        }
        return;
    }
    bool valid = q.answer > 0 && q.answer <= 12345;
    for (int k = 1, weight = 10000; valid && k <= kMaxChoices; ++k, weight /= 10) {
        const int digit = q.answer / weight % 10;
        valid = digit == 0 || digit == k;
    }
    if (!valid) {
        outOfRange(slot, "answer", Msg::AnswerNotCode, {value}, problems);
        return;
    }
    bool correct[kMaxChoices];
    correctChoicesFromCode(q.answer, correct);
    for (int k = 0; k < kMaxChoices; ++k) {
        if (correct[k] && isEmpty(q.choices[k])) {
            outOfRange(slot, "answer", Msg::AnswerMarksEmpty, {value, std::to_string(k + 1)},
                       problems);
        }
    }
}

void reportRanges(int slot, int genres, Problems& problems) {
    const Question& q = questionSet.questions[slot];
    if (choiceCount(q.format) == 0) {
        outOfRange(slot, "format", Msg::FormatOutOfRange, {std::to_string(q.format)}, problems);
    } else {
        reportAnswer(slot, problems);
    }
    if (q.genre < 1 || q.genre > genres) {
        outOfRange(slot, "genre", Msg::GenreOutOfRange,
                   {std::to_string(q.genre), std::to_string(genres)}, problems);
    }
}

// 47 is judged on the quotas as read, 49 on those the check derives.
void reportGenres(int questions, Problems& problems) {
    std::int32_t counts[kMaxGenres];
    countGenres(questions, counts);
    for (int g = 1; g <= genresInUse(); ++g) {
        const std::string who =
            say(Msg::GenreLabel, {std::to_string(g), nameOf(questionSet.genreNames[g - 1])});
        const std::string field = "genre quota " + std::to_string(g);
        if (genreLacksQuota(g)) {
            problems.push_back({kQuotaLine, "quota-missing", field, say(Msg::QuotaMissing, {who})});
        }
        const std::int32_t quota = quotaChecked(g, counts);
        if (counts[g - 1] < quota) {
            problems.push_back({kQuotaLine, "short-of-questions", field,
                                say(Msg::ShortOfQuestions,
                                    {who, std::to_string(counts[g - 1]), std::to_string(quota)})});
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
                        say(Msg::SetEndsEarly, {std::to_string(after)})});
}

std::uint8_t reportSet(const LoadedFile& loaded, Problems& problems) {
    if (loaded.counts.lines < kHeaderLines) {
        problems.push_back({loaded.counts.lines + 1, "short-header", "",
                            say(Msg::ShortHeader, {std::to_string(loaded.counts.lines),
                                                   std::to_string(kHeaderLines)})});
    }
    const int genres = std::clamp<std::int32_t>(questionSet.genreCount, 1, kMaxGenres);
    if (loaded.counts.lines > 0 && genres != questionSet.genreCount) {
        problems.push_back(
            {1, "out-of-range", "genreCount",
             say(Msg::GenreCountOutOfRange, {std::to_string(questionSet.genreCount)})});
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
