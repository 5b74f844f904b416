// Checking the question page and storing it into its slot, on a plain record
// of what the page holds, so no window is needed to judge it.
#pragma once

#include "app/message_catalogue.h"
#include "model/question_set.h"
#include "pages/page_input.h"

#include <cstdint>

// The page's texts already in the ANSI code page (line breaks as CR LF), the
// check marks, and the three selections (-1 when a box has none).
struct QuestionPageInput {
    char points[kShortInputSize];
    char text[kLongInputSize];
    char explanation[kLongInputSize];
    char choices[kMaxChoices][kShortInputSize];
    bool correct[kMaxChoices];
    int formatSelection;
    int genreSelection;
    int answerSelection;
};

// Filled from the controls just before it is judged or stored.
extern QuestionPageInput questionPageInput;

// 0 when the page passes, else the code of the first rule that holds.
MessageCode checkQuestionInput(const QuestionPageInput& input);

// Writes the page into `slot`, the question at `slotIndex` (0 to 255) of a set
// with `genreCount` genres. Choices beyond the format's count keep what they held.
void storeQuestionInput(const QuestionPageInput& input, std::int32_t slotIndex,
                        std::int32_t genreCount, Question& slot);
