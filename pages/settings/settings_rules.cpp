#include "pages/settings/settings_rules.h"

SettingsPageInput settingsPageInput = {};

namespace {

enum class Field { Title, RankName, RankComment, Threshold, ThresholdOrder, GenreName, Quota };

// One check: it holds when the count box's selection is at least `minimum`
// (the rank-count box for rank fields, the genre-count box for genre fields)
// and the field is empty, or for the order, when thresholds are reversed.
struct Check {
    Field field;
    int row; // 0-based entry of the field
    int minimum;
    MessageCode code;
};

constexpr Check kChecks[] = {
    {Field::Title, 0, 0, 7},        {Field::RankName, 4, 3, 13},
    {Field::RankName, 3, 2, 12},    {Field::RankName, 2, 1, 11},
    {Field::RankName, 1, 0, 10},    {Field::RankName, 0, 0, 9},
    {Field::RankComment, 4, 3, 18}, {Field::RankComment, 3, 2, 17},
    {Field::RankComment, 2, 1, 16}, {Field::RankComment, 1, 0, 15},
    {Field::RankComment, 0, 0, 14}, {Field::Threshold, 3, 3, 22},
    {Field::Threshold, 2, 2, 21},   {Field::Threshold, 1, 1, 20},
    {Field::Threshold, 0, 0, 19},   {Field::ThresholdOrder, 0, 0, 23},
    {Field::GenreName, 4, 4, 29},   {Field::Quota, 4, 4, 34},
    {Field::GenreName, 3, 3, 28},   {Field::Quota, 3, 3, 33},
    {Field::GenreName, 2, 2, 27},   {Field::Quota, 2, 2, 32},
    {Field::GenreName, 1, 1, 26},   {Field::Quota, 1, 1, 31},
    {Field::GenreName, 0, 1, 25},   {Field::Quota, 0, 1, 30},
};

// The thresholds in use must not decrease from field 1 downwards.
bool thresholdsReversed(const SettingsPageInput& input) {
    std::int32_t values[kMaxThresholds];
    for (int k = 0; k < kMaxThresholds; ++k) {
        values[k] = readNumber(input.thresholds[k]);
    }
    const int inUse = input.rankCountSelection + 1;
    for (int later = 1; later < inUse && later < kMaxThresholds; ++later) {
        for (int earlier = 0; earlier < later; ++earlier) {
            if (values[earlier] > values[later]) {
                return true;
            }
        }
    }
    return false;
}

bool holds(const Check& check, const SettingsPageInput& input) {
    const int n = input.rankCountSelection;
    const int g = input.genreCountSelection;
    switch (check.field) {
    case Field::Title:
        return input.title[0] == '\0';
    case Field::RankName:
        return n >= check.minimum && input.rankNames[check.row][0] == '\0';
    case Field::RankComment:
        return n >= check.minimum && input.rankComments[check.row][0] == '\0';
    case Field::Threshold:
        return n >= check.minimum && input.thresholds[check.row][0] == '\0';
    case Field::ThresholdOrder:
        return thresholdsReversed(input);
    case Field::GenreName:
        return g >= check.minimum && input.genreNames[check.row][0] == '\0';
    case Field::Quota:
        return g >= check.minimum && input.quotas[check.row][0] == '\0';
    }
    return false;
}

// A box's selection as an item it has; anything else as its first item.
int validItem(int selection, int itemCount) {
    return selection >= 0 && selection < itemCount ? selection : 0;
}

void storeGenres(const SettingsPageInput& input, QuestionSet& set) {
    // The genres the box shows, a new set's first store included, so that
    // none the user filled in is dropped; a box without selection gives one.
    set.genreCount = validItem(input.genreCountSelection, kMaxGenres) + 1;
    for (int k = 0; k < set.genreCount; ++k) {
        storeFieldText(input.genreNames[k], set.genreNames[k], TextLines::Single);
        set.genreQuotas[k] = readNumber(input.quotas[k]);
    }
}

void storeRanks(const SettingsPageInput& input, QuestionSet& set) {
    set.rankCount = validItem(input.rankCountSelection, kMaxRanks - 1) + 2;
    for (int k = 0; k < set.rankCount; ++k) {
        storeFieldText(input.rankNames[k], set.rankNames[k], TextLines::Single);
        storeFieldText(input.rankComments[k], set.rankComments[k], TextLines::Escaped);
        if (k >= 1) {
            set.rankThresholds[k - 1] = readNumber(input.thresholds[k - 1]);
        }
    }
}

} // namespace

MessageCode checkSettingsInput(const SettingsPageInput& input) {
    for (const Check& check : kChecks) {
        if (holds(check, input)) {
            return check.code;
        }
    }
    return 0;
}

void storeSettingsInput(const SettingsPageInput& input, QuestionSet& set) {
    storeFieldText(input.title, set.title, TextLines::Single);
    set.presentationMode = validItem(input.modeSelection, 3);
    storeGenres(input, set);
    storeRanks(input, set);
}
