#include "model/question_check.h"

#include "model/text_codes.h"

#include <algorithm>
#include <cstring>

namespace {

bool isEmpty(const char* text) {
    return text[0] == '\0';
}

bool presentsEveryQuestion() {
    return questionSet.presentationMode == Sequential || questionSet.presentationMode == FullRandom;
}

bool lacksGenreQuota() {
    for (int genre = 1; genre <= genresInUse(); ++genre) {
        if (genreLacksQuota(genre)) {
            return true;
        }
    }
    return false;
}

bool genreShortOfQuestions(const std::int32_t counts[kMaxGenres]) {
    for (int genre = 1; genre <= genresInUse(); ++genre) {
        if (counts[genre - 1] < quotaChecked(genre, counts)) {
            return true;
        }
    }
    return false;
}

} // namespace

MissingFields missingFields(const Question& question) {
    MissingFields missing = {};
    missing.points = question.points == 0;
    missing.text = isEmpty(question.text);
    missing.explanation = isEmpty(question.explanation);
    // Formats outside 1 to 4 still need the two choices every format has.
    const int needed = std::max(choiceCount(question.format), 2);
    for (int choice = 0; choice < needed; ++choice) {
        missing.choices[choice] = isEmpty(question.choices[choice]);
    }
    return missing;
}

bool isBadlyEntered(const Question& question) {
    const MissingFields missing = missingFields(question);
    bool any = missing.points || missing.text || missing.explanation;
    for (const bool choice : missing.choices) {
        any = any || choice;
    }
    return any;
}

// A count read from a file may be anything; only 0 to 5 genres exist.
int genresInUse() {
    return std::clamp<std::int32_t>(questionSet.genreCount, 0, kMaxGenres);
}

bool genreLacksQuota(int genre) {
    return genre >= 2 && genre <= genresInUse() && questionSet.genreQuotas[genre - 1] == 0;
}

void countGenres(int questions, std::int32_t counts[kMaxGenres]) {
    std::fill(counts, counts + kMaxGenres, 0);
    for (int slot = 0; slot < questions; ++slot) {
        const std::int32_t genre = questionSet.questions[slot].genre;
        if (genre >= 1 && genre <= kMaxGenres) {
            ++counts[genre - 1];
        }
    }
}

std::int32_t quotaChecked(int genre, const std::int32_t counts[kMaxGenres]) {
    return presentsEveryQuestion() ? counts[genre - 1] : questionSet.genreQuotas[genre - 1];
}

void deleteQuestion(int slot) {
    int end = slot + 1;
    while (end < kMaxQuestions && questionSet.questions[end].questionId != 0) {
        ++end;
    }
    Question* questions = questionSet.questions;
    std::memmove(&questions[slot], &questions[slot + 1],
                 sizeof(Question) * static_cast<std::size_t>(end - slot - 1));
    std::memset(&questions[end - 1], 0, sizeof(Question));
}

std::uint8_t checkQuestions(DeletionPrompt askToDelete) {
    // Judged on the quotas as the user set them, before they are derived.
    const bool quotaMissing = lacksGenreQuota();
    bool keptBadQuestion = false;
    int slot = 0;
    while (slot < kMaxQuestions && questionSet.questions[slot].questionId != 0) {
        const Question& question = questionSet.questions[slot];
        if (isBadlyEntered(question)) {
            if (askToDelete(slot)) {
                deleteQuestion(slot);
                continue;
            }
            keptBadQuestion = true;
        }
        ++slot;
    }
    questionSet.questionCount = slot;
    std::int32_t counts[kMaxGenres];
    countGenres(slot, counts);
    if (presentsEveryQuestion()) {
        std::copy(counts, counts + kMaxGenres, questionSet.genreQuotas);
    }
    if (genreShortOfQuestions(counts)) {
        return kCodeGenreShortOfQuestions;
    }
    if (quotaMissing) {
        return kCodeGenreQuotaMissing;
    }
    return keptBadQuestion ? kCodeBadQuestionKept : 0;
}
