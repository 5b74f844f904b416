// Checking the settings page and storing it into the question set, on a
// plain record of what the page holds, so no window is needed to judge it.
#pragma once

#include "app/message_catalogue.h"
#include "model/question_set.h"
#include "pages/page_input.h"

// The page's texts already in the ANSI code page, and its three selections
// (-1 when a box has none).
struct SettingsPageInput {
    char title[kShortInputSize];
    char rankNames[kMaxRanks][kShortInputSize];
    char rankComments[kMaxRanks][kLongInputSize];
    char thresholds[kMaxThresholds][kShortInputSize];
    char genreNames[kMaxGenres][kShortInputSize];
    char quotas[kMaxGenres][kShortInputSize];
    int modeSelection;
    int rankCountSelection;
    int genreCountSelection;
};

// Filled from the controls just before it is judged or stored.
extern SettingsPageInput settingsPageInput;

// 0 when the page passes, else the code of the first failed check.
MessageCode checkSettingsInput(const SettingsPageInput& input);

// Copies the page into the set's settings; entries beyond the new counts,
// presentedCount and the questions are left as they are.
void storeSettingsInput(const SettingsPageInput& input, QuestionSet& set);
