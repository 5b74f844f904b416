// The whole-set check that runs before every output: judging each question,
// deleting the badly entered ones the user gives up, and deriving the counts
// that the file carries.
#pragma once

#include "model/question_set.h"

#include <cstdint>

// Codes the check returns; 0 means nothing to report.
constexpr std::uint8_t kCodeGenreQuotaMissing = 47;
constexpr std::uint8_t kCodeGenreShortOfQuestions = 49;
constexpr std::uint8_t kCodeBadQuestionKept = 50;

// What a question lacks of what the test-running program needs: points
// other than 0, a text, an explanation, and the choices of its format (two
// at least, whatever the format).
struct MissingFields {
    bool points;
    bool text;
    bool explanation;
    bool choices[kMaxChoices];
};
MissingFields missingFields(const Question& question);

// True when a question lacks any of them.
bool isBadlyEntered(const Question& question);

// The genres the set has, 0 to 5 whatever genreCount holds.
int genresInUse();

// Genre 2 or later of those in use whose quota is 0 (code 47).
bool genreLacksQuota(int genre);

// The questions of each genre among the first `questions` slots.
void countGenres(int questions, std::int32_t counts[kMaxGenres]);

// The quota a genre's count is held to: in the modes that present every
// question the check derives it from the count, else the set's own.
std::int32_t quotaChecked(int genre, const std::int32_t counts[kMaxGenres]);

// Removes the question in `slot`: later questions move down one slot with
// their ids unchanged, and the freed last slot becomes all zero.
void deleteQuestion(int slot);

// Asks the user whether the badly entered question in `slot` may be deleted.
using DeletionPrompt = bool (*)(int slot);

// Walks the set, offering each badly entered question for deletion, sets
// questionCount (and, in the modes that present every question, the genre
// quotas) and returns the most serious finding: 49, then 47, then 50.
std::uint8_t checkQuestions(DeletionPrompt askToDelete);
