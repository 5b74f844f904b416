#include "pages/settings/settings_counts.h"
#include "pages/settings/settings_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Big records live outside the stack, as in the program.
SettingsPageInput input;
QuestionSet set;

void put(char* field, const char* text) {
    std::strcpy(field, text);
}

// Every field filled, thresholds rising, five ranks and five genres.
void fillCompletePage() {
    input = {};
    put(input.title, "title");
    for (int k = 0; k < kMaxRanks; ++k) {
        put(input.rankNames[k], "rank");
        put(input.rankComments[k], "comment");
    }
    const char* thresholds[] = {"30", "50", "70", "100"};
    for (int k = 0; k < kMaxThresholds; ++k) {
        put(input.thresholds[k], thresholds[k]);
    }
    for (int k = 0; k < kMaxGenres; ++k) {
        put(input.genreNames[k], "genre");
        put(input.quotas[k], "3");
    }
    input.modeSelection = 0;
    input.rankCountSelection = 3;
    input.genreCountSelection = 4;
}

char* fieldNamed(const std::string& name, int k) {
    if (name == "title")
        return input.title;
    if (name == "rank")
        return input.rankNames[k];
    if (name == "comment")
        return input.rankComments[k];
    if (name == "threshold")
        return input.thresholds[k];
    if (name == "genre")
        return input.genreNames[k];
    return input.quotas[k];
}

TEST(SettingsRules, EachEmptyFieldInUseHasItsCode) {
    struct Case {
        const char* field;
        int k;
        MessageCode code;
    };
    const Case cases[] = {
        {"title", 0, 7},      {"rank", 0, 9},       {"rank", 1, 10},      {"rank", 2, 11},
        {"rank", 3, 12},      {"rank", 4, 13},      {"comment", 0, 14},   {"comment", 1, 15},
        {"comment", 2, 16},   {"comment", 3, 17},   {"comment", 4, 18},   {"threshold", 0, 19},
        {"threshold", 1, 20}, {"threshold", 2, 21}, {"threshold", 3, 22}, {"genre", 0, 25},
        {"genre", 1, 26},     {"genre", 2, 27},     {"genre", 3, 28},     {"genre", 4, 29},
        {"quota", 0, 30},     {"quota", 1, 31},     {"quota", 2, 32},     {"quota", 3, 33},
        {"quota", 4, 34},
    };
    fillCompletePage();
    EXPECT_EQ(checkSettingsInput(input), 0);
    for (const Case& c : cases) {
        fillCompletePage();
        fieldNamed(c.field, c.k)[0] = '\0';
        EXPECT_EQ(checkSettingsInput(input), c.code) << c.field << ' ' << c.k + 1;
    }
}

TEST(SettingsRules, ReportsTheFirstProblemInTheirOrder) {
    fillCompletePage();
    input.title[0] = '\0';
    input.rankNames[0][0] = '\0';
    input.quotas[0][0] = '\0';
    EXPECT_EQ(checkSettingsInput(input), 7);

    // Names before comments before thresholds, the last rank first.
    fillCompletePage();
    input.rankNames[1][0] = '\0';
    input.rankNames[3][0] = '\0';
    input.rankComments[4][0] = '\0';
    EXPECT_EQ(checkSettingsInput(input), 12);
    fillCompletePage();
    input.rankComments[0][0] = '\0';
    input.thresholds[3][0] = '\0';
    EXPECT_EQ(checkSettingsInput(input), 14);

    // Thresholds before their order, the order before the genres; within a
    // genre its name before its quota, the last genre first.
    fillCompletePage();
    put(input.thresholds[0], "90");
    input.genreNames[0][0] = '\0';
    EXPECT_EQ(checkSettingsInput(input), 23);
    fillCompletePage();
    input.quotas[4][0] = '\0';
    input.genreNames[2][0] = '\0';
    EXPECT_EQ(checkSettingsInput(input), 34);
}

TEST(SettingsRules, OnlyTheRowsInUseAreChecked) {
    // Three ranks: thresholds 3 and 4 and ranks 4 and 5 do not matter.
    fillCompletePage();
    input.rankCountSelection = 1;
    input.rankNames[3][0] = input.rankNames[4][0] = '\0';
    input.rankComments[4][0] = '\0';
    input.thresholds[2][0] = '\0';
    put(input.thresholds[3], "-5");
    EXPECT_EQ(checkSettingsInput(input), 0);

    // No rank count selected: nothing about ranks is checked.
    fillCompletePage();
    input.rankCountSelection = -1;
    input.rankNames[0][0] = '\0';
    put(input.thresholds[0], "99");
    EXPECT_EQ(checkSettingsInput(input), 0);

    // One genre, or none selected, uses no genre row.
    for (int g : {-1, 0}) {
        fillCompletePage();
        input.genreCountSelection = g;
        input.genreNames[0][0] = '\0';
        input.quotas[0][0] = '\0';
        EXPECT_EQ(checkSettingsInput(input), 0) << g;
    }
    fillCompletePage();
    input.genreCountSelection = 1;
    input.genreNames[2][0] = '\0';
    EXPECT_EQ(checkSettingsInput(input), 0);
    input.genreNames[0][0] = '\0';
    EXPECT_EQ(checkSettingsInput(input), 25);
}

TEST(SettingsRules, ThresholdsInUseMustNotDecrease) {
    struct Case {
        int rankSelection;
        const char* thresholds[4];
        MessageCode code;
    };
    const Case cases[] = {
        {0, {"90", "10", "5", "1"}, 0}, // two ranks: no order to check
        {1, {"30", "30", "", ""}, 0},   // equal values pass
        {1, {"50", "30", "", ""}, 23},
        {1, {"30", "50", "1", "0"}, 0},   // thresholds 3 and 4 unused
        {2, {"30", "50", "40", "x"}, 23}, // t2 > t3
        {2, {"60", "50", "70", "x"}, 23}, // t1 > t2
        {3, {"10", "20", "30", "25"}, 23},
        {3, {"10", "20", "30", "30"}, 0},
        {3, {"-2147483648", "0", "2147483647", "99999999999"}, 0}, // saturated, equal
        {3, {"1", "2", "3", "-99999999999"}, 23},
        {2, {"7abc", "7", "8", ""}, 0}, // read up to the first non-digit
    };
    for (const Case& c : cases) {
        fillCompletePage();
        input.rankCountSelection = c.rankSelection;
        for (int k = 0; k < 4; ++k) {
            put(input.thresholds[k], c.thresholds[k]);
        }
        // Empty unused thresholds are fine; fill them so only the order counts.
        for (int k = c.rankSelection + 1; k < 4; ++k) {
            if (input.thresholds[k][0] == '\0')
                put(input.thresholds[k], "0");
        }
        EXPECT_EQ(checkSettingsInput(input), c.code)
            << c.rankSelection << ": " << c.thresholds[0] << ' ' << c.thresholds[1] << ' '
            << c.thresholds[2] << ' ' << c.thresholds[3];
    }
}

TEST(SettingsRules, TwoRanksNeedOnlyTheirFirstThreshold) {
    fillCompletePage();
    input.rankCountSelection = 0;
    for (int k = 1; k < kMaxThresholds; ++k) {
        put(input.thresholds[k], "");
    }
    for (int k = 2; k < kMaxRanks; ++k) {
        put(input.rankNames[k], "");
        put(input.rankComments[k], "");
    }
    EXPECT_EQ(checkSettingsInput(input), 0);
    put(input.thresholds[0], "");
    EXPECT_EQ(checkSettingsInput(input), 19);
}

TEST(SettingsRules, StoresEveryFieldInUse) {
    set = {};
    set.genreCount = 2; // stored once before
    fillCompletePage();
    put(input.title, "A,B");
    input.modeSelection = 2;
    input.rankCountSelection = 2;
    input.genreCountSelection = 2;
    put(input.rankComments[1], "line 1\r\nline 2");
    put(input.rankNames[2], "\x95\x81\x92\xca"); // two double-byte characters
    put(input.thresholds[0], "10");
    put(input.thresholds[1], "20");
    put(input.thresholds[2], "30");
    put(input.quotas[0], "");
    put(input.quotas[1], "12abc");
    put(input.quotas[2], "-4");
    storeSettingsInput(input, set);

    EXPECT_STREQ(set.title, "A\x81\x43"
                            "B");
    EXPECT_EQ(set.presentationMode, 2);
    EXPECT_EQ(set.genreCount, 3);
    EXPECT_EQ(set.genreQuotas[0], 0);
    EXPECT_EQ(set.genreQuotas[1], 12);
    EXPECT_EQ(set.genreQuotas[2], -4);
    EXPECT_STREQ(set.genreNames[2], "genre");
    EXPECT_EQ(set.rankCount, 4);
    EXPECT_STREQ(set.rankComments[1], "line 1\\r\\nline 2");
    EXPECT_STREQ(set.rankNames[2], "\x95\x81\x92\xca");
    EXPECT_EQ(set.rankThresholds[0], 10);
    EXPECT_EQ(set.rankThresholds[1], 20);
    EXPECT_EQ(set.rankThresholds[2], 30);
    EXPECT_EQ(set.presentedCount, 0);
}

TEST(SettingsRules, KeepsEntriesBeyondTheNewCounts) {
    set = {};
    fillCompletePage();
    set.genreCount = 5;
    storeSettingsInput(input, set);
    ASSERT_EQ(set.rankCount, 5);
    ASSERT_EQ(set.rankThresholds[3], 100);

    fillCompletePage();
    input.rankCountSelection = 1;
    input.genreCountSelection = 1;
    put(input.rankNames[3], "changed");
    put(input.rankComments[4], "changed");
    put(input.thresholds[2], "1");
    put(input.thresholds[3], "2");
    put(input.genreNames[4], "changed");
    put(input.quotas[4], "99");
    storeSettingsInput(input, set);
    EXPECT_EQ(set.rankCount, 3);
    EXPECT_EQ(set.genreCount, 2);
    EXPECT_STREQ(set.rankNames[3], "rank");
    EXPECT_STREQ(set.rankComments[4], "comment");
    EXPECT_EQ(set.rankThresholds[2], 70);
    EXPECT_EQ(set.rankThresholds[3], 100);
    EXPECT_STREQ(set.genreNames[4], "genre");
    EXPECT_EQ(set.genreQuotas[4], 3);
}

TEST(SettingsRules, KeepsTheGenresChosenOnANewSet) {
    set = {};
    fillCompletePage();
    input.genreCountSelection = 3;
    put(input.genreNames[1], "second");
    put(input.quotas[1], "7");
    storeSettingsInput(input, set);
    EXPECT_EQ(set.genreCount, 4);
    EXPECT_STREQ(set.genreNames[0], "genre");
    EXPECT_STREQ(set.genreNames[1], "second");
    EXPECT_EQ(set.genreQuotas[1], 7);
    // A new set whose box has no selection starts with one genre.
    set = {};
    input.genreCountSelection = -1;
    storeSettingsInput(input, set);
    EXPECT_EQ(set.genreCount, 1);
    EXPECT_EQ(set.genreNames[1][0], '\0');
}

TEST(SettingsRules, ABoxWithoutSelectionStoresItsFirstItem) {
    set = {};
    set.genreCount = 3;
    fillCompletePage();
    input.modeSelection = -1;
    input.rankCountSelection = -1;
    input.genreCountSelection = -1;
    storeSettingsInput(input, set);
    EXPECT_EQ(set.presentationMode, 0);
    EXPECT_EQ(set.rankCount, 2);
    EXPECT_EQ(set.genreCount, 1);
}

TEST(SettingsRules, CutsLongTextsToTheirFields) {
    set = {};
    fillCompletePage();
    std::string title(kShortInputSize - 1, 'a');
    put(input.title, title.c_str());
    std::string comment;
    while (comment.size() + 2 < kLongInputSize)
        comment += "\r\n";
    put(input.rankComments[0], comment.c_str());
    storeSettingsInput(input, set);
    EXPECT_EQ(std::strlen(set.title), 255u);
    // Whole escapes only: 1289 of them fill 5156 of the 5159 bytes.
    EXPECT_EQ(std::strlen(set.rankComments[0]), 5156u);
    EXPECT_EQ(std::string(set.rankComments[0]).substr(5152), "\\r\\n");
}

TEST(SettingsCounts, RowsAndItemsFollowTheBoxes) {
    const int rankRows[] = {5, 2, 3, 4, 5, 5}; // selections -1 to 4
    const int genreRows[] = {5, 0, 2, 3, 4, 5, 5};
    for (int s = -1; s <= 4; ++s)
        EXPECT_EQ(rankRowsInUse(s), rankRows[s + 1]) << s;
    for (int s = -1; s <= 5; ++s)
        EXPECT_EQ(genreRowsInUse(s), genreRows[s + 1]) << s;

    EXPECT_EQ(rankCountItem(0), 0);
    EXPECT_EQ(rankCountItem(2), 0);
    EXPECT_EQ(rankCountItem(5), 3);
    EXPECT_EQ(rankCountItem(99), 3);
    EXPECT_EQ(rankCountItem(-7), 0);
    EXPECT_EQ(genreCountItem(0), -1);
    EXPECT_EQ(genreCountItem(1), 0);
    EXPECT_EQ(genreCountItem(5), 4);
    EXPECT_EQ(genreCountItem(6), 4);
    EXPECT_EQ(presentationModeItem(2), 2);
    EXPECT_EQ(presentationModeItem(3), 0);
    EXPECT_EQ(presentationModeItem(-1), 0);
}

} // namespace
