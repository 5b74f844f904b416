// The one question set the editor works on: settings, count and 256 slots.
// Texts are bytes in the ANSI code page, zero-terminated inside their field.
#pragma once

#include <cstdint>

constexpr int kNameSize = 256;      // title, genre and rank names, choices
constexpr int kLongTextSize = 5160; // question text, explanation, rank comments
constexpr int kMaxQuestions = 256;
constexpr int kMaxGenres = 5;
constexpr int kMaxRanks = 5;
constexpr int kMaxThresholds = 4;
constexpr int kMaxChoices = 5;

enum PresentationMode : std::int32_t { Sequential = 0, GenreQuota = 1, FullRandom = 2 };

struct Question {
    std::int32_t questionId; // 0 marks an empty slot, which ends the set
    std::int32_t format;     // 1 multiple selection, 2 to 4 choices
    std::int32_t genre;      // 1 to 5
    char text[kLongTextSize];
    std::int32_t answer; // format 1: digit-position code; else the correct choice
    std::int32_t points;
    char explanation[kLongTextSize];
    char choices[kMaxChoices][kNameSize];
};

struct QuestionSet {
    char title[kNameSize];
    std::int32_t presentationMode;
    std::int32_t presentedCount; // derived at every write
    std::int32_t rankCount;
    std::int32_t genreCount;
    char genreNames[kMaxGenres][kNameSize];
    std::int32_t genreQuotas[kMaxGenres];
    char rankNames[kMaxRanks][kNameSize];
    std::int32_t rankThresholds[kMaxThresholds];
    char rankComments[kMaxRanks][kLongTextSize];
    std::int32_t questionCount; // set only by the check before output
    Question questions[kMaxQuestions];
};

// Zero at start; lives for the whole run.
extern QuestionSet questionSet;
