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

// True when a question lacks something the test-running program needs.
bool isBadlyEntered(const Question& question);

// Removes the question in `slot`: later questions move down one slot with
// their ids unchanged, and the freed last slot becomes all zero.
void deleteQuestion(int slot);

// Asks the user whether the badly entered question in `slot` may be deleted.
using DeletionPrompt = bool (*)(int slot);

// Walks the set, offering each badly entered question for deletion, sets
// questionCount (and, in the modes that present every question, the genre
// quotas) and returns the most serious finding: 49, then 47, then 50.
std::uint8_t checkQuestions(DeletionPrompt askToDelete);
