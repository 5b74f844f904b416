// What the format box's selection makes of the question page: how many
// choices it uses, and which of the correct-choice boxes and the answer box
// serve it. Also how a stored number maps onto a list of items.
#pragma once

#include "model/question_set.h"

#include <cstdint>

struct FormatRule {
    int choiceCount;          // choice fields enabled, choices stored
    bool correctBoxesEnabled; // the answer is the marked boxes
    int answerItems;          // 0: the answer box is disabled and left as it is
};

constexpr int kFormatItemCount = 4;
constexpr int kAnswerLabelCount = 4;

// By format-box item: multiple selection, two, three and four choices.
constexpr FormatRule kFormatRules[kFormatItemCount] = {
    {5, true, 0},
    {2, false, 2},
    {3, false, 3},
    {4, false, 4},
};

constexpr bool isFormatItem(int selection) {
    return selection >= 0 && selection < kFormatItemCount;
}

// Any selection but the first three items follows the four-choice rule.
constexpr const FormatRule& formatRule(int selection) {
    return kFormatRules[isFormatItem(selection) ? selection : kFormatItemCount - 1];
}

// The choices a selection stores; none without a format.
constexpr int choiceCountOf(int selection) {
    return isFormatItem(selection) ? kFormatRules[selection].choiceCount : 0;
}

// Answer-box items for a choice count: a multiple-selection page keeps all four.
constexpr int answerItemCount(int choiceCount) {
    return choiceCount < kAnswerLabelCount ? choiceCount : kAnswerLabelCount;
}

// The genre box lists the genres in use, at most five.
constexpr int genreItemCount(std::int32_t genreCount) {
    return genreCount < 0 ? 0 : genreCount > kMaxGenres ? kMaxGenres : genreCount;
}

// The item that shows a stored 1-based value; -1 (no selection) when the
// list has no such item.
constexpr int itemOfValue(std::int32_t value, int itemCount) {
    return value >= 1 && value <= itemCount ? value - 1 : -1;
}

// The stored 1-based value of a selection; 0 when nothing is selected.
constexpr std::int32_t valueOfItem(int selection, int itemCount) {
    return selection >= 0 && selection < itemCount ? selection + 1 : 0;
}
