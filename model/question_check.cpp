#include "model/question_check.h"

#include "model/text_codes.h"

#include <algorithm>
#include <cstring>

namespace {

bool isEmpty(const char* text) {
    return text[0] == '\0';
}

// A count read from a file may be anything; only 0 to 5 genres exist.
int genresInUse() {
    return std::clamp<std::int32_t>(questionSet.genreCount, 0, kMaxGenres);
}

bool presentsEveryQuestion() {
    return questionSet.presentationMode == Sequential || questionSet.presentationMode == FullRandom;
}

bool lacksGenreQuota() {
    for (int genre = 2; genre <= genresInUse(); ++genre) {
        if (questionSet.genreQuotas[genre - 1] == 0) {
            return true;
        }
    }
    return false;
}

bool genreShortOfQuestions(const std::int32_t counts[kMaxGenres]) {
    for (int genre = 1; genre <= genresInUse(); ++genre) {
        if (counts[genre - 1] < questionSet.genreQuotas[genre - 1]) {
            return true;
        }
    }
    return false;
}

} // namespace

bool isBadlyEntered(const Question& question) {
    if (question.points == 0 || isEmpty(question.text) || isEmpty(question.explanation)) {
        return true;
    }
    // Formats outside 1 to 4 still need the two choices every format has.
    const int needed = std::max(choiceCount(question.format), 2);
    for (int choice = 0; choice < needed; ++choice) {
        if (isEmpty(question.choices[choice])) {
            return true;
        }
    }
    return false;
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
    std::int32_t counts[kMaxGenres] = {};
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
        if (question.genre >= 1 && question.genre <= kMaxGenres) {
            ++counts[question.genre - 1];
        }
        ++slot;
    }
    questionSet.questionCount = slot;
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
