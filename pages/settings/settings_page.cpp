#include "pages/settings/settings_page.h"

#include "app/control_ids.h"
#include "app/editor_state.h"
#include "model/question_set.h"
#include "pages/page_controls.h"
#include "pages/settings/settings_counts.h"
#include "pages/settings/settings_defaults.h"
#include "pages/settings/settings_rules.h"

HWND settingsControls[kSettingsControlCount] = {};

namespace {

constexpr DWORD kSingleLine = 0x50801000;
constexpr DWORD kDigits = 0x50803000;
constexpr DWORD kMultiLine = 0x50A01004;
constexpr DWORD kList = 0x50000103;

constexpr int kTitle = 17;
constexpr int kMode = 18;
constexpr int kRankCount = IDC_RANK_COUNT;
constexpr int kGenreCount = IDC_GENRE_COUNT;
// Field k (1-based) of each kind has the id base + k.
constexpr int kRankNameBase = 19;
constexpr int kRankCommentBase = 24;
constexpr int kThresholdBase = 29;
constexpr int kGenreNameBase = 34;
constexpr int kQuotaBase = 39;

constexpr PageControls kPage = {IDC_SETTINGS_FIRST, kSettingsControlCount, settingsControls};

// In the order of creation.
constexpr ControlPlace kControls[kSettingsControlCount] = {
    {kTitle, L"EDIT", kSingleLine, 150, 40, 400, 22},
    {kMode, L"COMBOBOX", kList, 150, 80, 400, 300},
    {kRankCount, L"COMBOBOX", kList, 150, 140, 80, 300},
    {20, L"EDIT", kSingleLine, 90, 200, 140, 22},
    {30, L"EDIT", kDigits, 150, 255, 80, 22},
    {25, L"EDIT", kMultiLine, 320, 200, 300, 80},
    {21, L"EDIT", kSingleLine, 90, 310, 140, 22},
    {31, L"EDIT", kDigits, 150, 365, 80, 22},
    {26, L"EDIT", kMultiLine, 320, 310, 300, 80},
    {22, L"EDIT", kSingleLine, 90, 420, 140, 22},
    {32, L"EDIT", kDigits, 150, 475, 80, 22},
    {27, L"EDIT", kMultiLine, 320, 420, 300, 80},
    {23, L"EDIT", kSingleLine, 90, 530, 140, 22},
    {33, L"EDIT", kDigits, 150, 585, 80, 22},
    {28, L"EDIT", kMultiLine, 320, 530, 300, 80},
    {24, L"EDIT", kSingleLine, 90, 640, 140, 22},
    {29, L"EDIT", kMultiLine, 320, 640, 300, 80},
    {kGenreCount, L"COMBOBOX", kList, 880, 140, 80, 300},
    {35, L"EDIT", kSingleLine, 790, 200, 170, 22},
    {40, L"EDIT", kDigits, 880, 255, 80, 22},
    {36, L"EDIT", kSingleLine, 790, 310, 170, 22},
    {41, L"EDIT", kDigits, 880, 365, 80, 22},
    {37, L"EDIT", kSingleLine, 790, 420, 170, 22},
    {42, L"EDIT", kDigits, 880, 475, 80, 22},
    {38, L"EDIT", kSingleLine, 790, 530, 170, 22},
    // Quota field 4 alone takes any character.
    {43, L"EDIT", kSingleLine, 880, 585, 80, 22},
    {39, L"EDIT", kSingleLine, 790, 640, 170, 22},
    {44, L"EDIT", kDigits, 880, 695, 80, 22},
};

constexpr const wchar_t* kModeItems[] = {
    L"全問題を順番に出題",
    L"ジャンル毎に出題数を決めてランダムに出題",
    L"全問題を完全にランダムに出題",
};
constexpr const wchar_t* kRankCountItems[] = {L"2", L"3", L"4", L"5"};
constexpr const wchar_t* kGenreCountItems[] = {L"1", L"2", L"3", L"4", L"5"};

// Rank row k: its name and comment, and from row 2 the threshold above it.
constexpr ControlRow kRankRows[kMaxRanks] = {
    {2, {20, 25}}, {3, {21, 26, 30}}, {3, {22, 27, 31}}, {3, {23, 28, 32}}, {3, {24, 29, 33}},
};
constexpr ControlRow kGenreRows[kMaxGenres] = {
    {2, {35, 40}}, {2, {36, 41}}, {2, {37, 42}}, {2, {38, 43}}, {2, {39, 44}},
};

constexpr LabelPlace kLabels[] = {
    {L"問題集タイトル", 20, 40}, {L"ランダム", 20, 80},    {L"ランク数", 20, 140},
    {L"ランク1", 20, 200},       {L"ランク2", 20, 310},    {L"ランク3", 20, 420},
    {L"ランク4", 20, 530},       {L"ランク5", 20, 640},    {L"閾値", 90, 255},
    {L"閾値", 90, 365},          {L"閾値", 90, 475},       {L"閾値", 90, 585},
    {L"コメント", 250, 200},     {L"コメント", 250, 310},  {L"コメント", 250, 420},
    {L"コメント", 250, 530},     {L"コメント", 250, 640},  {L"ジャンル数", 700, 140},
    {L"ジャンル1", 700, 200},    {L"ジャンル2", 700, 310}, {L"ジャンル3", 700, 420},
    {L"ジャンル4", 700, 530},    {L"ジャンル5", 700, 640}, {L"出題数", 790, 255},
    {L"出題数", 790, 365},       {L"出題数", 790, 475},    {L"出題数", 790, 585},
    {L"出題数", 790, 695},
};

HWND control(int id) {
    return pageControl(kPage, id);
}

void enable(int id, bool enabled) {
    EnableWindow(control(id), enabled ? TRUE : FALSE);
}

void enableRankRows(int rowsInUse) {
    for (int k = 3; k <= kMaxRanks; ++k) {
        enableRow(kPage, kRankRows[k - 1], k <= rowsInUse);
    }
}

void enableGenreRows(int rowsInUse) {
    for (int k = 1; k <= kMaxGenres; ++k) {
        enableRow(kPage, kGenreRows[k - 1], k <= rowsInUse);
    }
}

void resetNavigationButtons() {
    EnableWindow(nextButton, FALSE);
    EnableWindow(nextButton, TRUE);
    if (outputButton != nullptr) {
        EnableWindow(outputButton, FALSE);
    }
    EnableWindow(prevButton, FALSE);
}

void fillBoxes() {
    fillComboBox(control(kMode), kModeItems, 3);
    selectComboItem(control(kMode), 0);
    fillComboBox(control(kRankCount), kRankCountItems, 4);
    selectComboItem(control(kRankCount), 0);
    fillComboBox(control(kGenreCount), kGenreCountItems, 5);
    selectComboItem(control(kGenreCount), 0);
}

void applyCourseDefaults() {
    const CourseDefaults& defaults = kCourseDefaults[course >= 0 && course <= 2 ? course : 0];
    enable(kMode, defaults.modeEnabled);
    enable(kGenreCount, defaults.genreCountEnabled);
    enable(kRankCount, defaults.rankCountEnabled);
    for (int k = 1; k <= kMaxRanks; ++k) {
        SetWindowTextW(control(kRankNameBase + k), defaults.rankNames[k - 1]);
        SetWindowTextW(control(kRankCommentBase + k), defaults.rankComments[k - 1]);
    }
    for (int k = 1; k <= kMaxThresholds; ++k) {
        SetWindowTextW(control(kThresholdBase + k), defaults.thresholds[k - 1]);
    }
    for (int k = 1; k <= 2; ++k) {
        enable(kRankNameBase + k, defaults.firstRanksEnabled);
        enable(kRankCommentBase + k, defaults.firstRanksEnabled);
    }
    enable(kThresholdBase + 1, defaults.firstThresholdEnabled);
}

void refillRanks() {
    for (int k = 1; k <= questionSet.rankCount && k <= kMaxRanks; ++k) {
        enableRow(kPage, kRankRows[k - 1], true);
        setControlText(control(kRankNameBase + k), questionSet.rankNames[k - 1], kShortReadUnits);
        if (k >= 2) {
            setControlNumber(control(kThresholdBase + k - 1), questionSet.rankThresholds[k - 2]);
        }
        showEscapedText(control(kRankCommentBase + k), questionSet.rankComments[k - 1],
                        kLongReadUnits);
    }
}

void refillGenres() {
    for (int k = 1; k <= questionSet.genreCount && k <= kMaxGenres; ++k) {
        enableRow(kPage, kGenreRows[k - 1], true);
        setControlText(control(kGenreNameBase + k), questionSet.genreNames[k - 1], kShortReadUnits);
        setControlNumber(control(kQuotaBase + k), questionSet.genreQuotas[k - 1]);
    }
}

// The stored set, over the defaults; it only ever enables.
void refillFromQuestionSet() {
    setControlText(control(kTitle), questionSet.title, kShortReadUnits);
    selectComboItem(control(kMode), presentationModeItem(questionSet.presentationMode));
    selectComboItem(control(kRankCount), rankCountItem(questionSet.rankCount));
    refillRanks();
    selectComboItem(control(kGenreCount), genreCountItem(questionSet.genreCount));
    refillGenres();
}

void readShortText(int id, char (&out)[kShortInputSize]) {
    readControlText(control(id), kShortReadUnits, out);
}

void readSettingsInput(SettingsPageInput& input) {
    readShortText(kTitle, input.title);
    for (int k = 1; k <= kMaxRanks; ++k) {
        readShortText(kRankNameBase + k, input.rankNames[k - 1]);
        readControlText(control(kRankCommentBase + k), kLongReadUnits, input.rankComments[k - 1]);
    }
    for (int k = 1; k <= kMaxThresholds; ++k) {
        readShortText(kThresholdBase + k, input.thresholds[k - 1]);
    }
    for (int k = 1; k <= kMaxGenres; ++k) {
        readShortText(kGenreNameBase + k, input.genreNames[k - 1]);
        readShortText(kQuotaBase + k, input.quotas[k - 1]);
    }
    input.modeSelection = comboSelection(control(kMode));
    input.rankCountSelection = comboSelection(control(kRankCount));
    input.genreCountSelection = comboSelection(control(kGenreCount));
}

} // namespace

void buildSettingsPage(HWND window) {
    resetNavigationButtons();
    createControls(window, kControls, kPage);
    fillBoxes();
    applyCourseDefaults();
    enableRankRows(rankRowsInUse(0));
    enableGenreRows(genreRowsInUse(0));
    refillFromQuestionSet();
}

void paintSettingsLabels(HWND window) {
    paintLabels(window, kLabels, static_cast<int>(sizeof kLabels / sizeof kLabels[0]));
}

void teardownSettingsPage(HWND window) {
    destroyControls(kPage);
    blankLabels(window);
}

void onRankCountChanged(HWND) {
    enableRankRows(rankRowsInUse(comboSelection(control(kRankCount))));
}

void onGenreCountChanged(HWND) {
    enableGenreRows(genreRowsInUse(comboSelection(control(kGenreCount))));
}

MessageCode validateSettingsPage(HWND) {
    readSettingsInput(settingsPageInput);
    return checkSettingsInput(settingsPageInput);
}

void storeSettingsPage(HWND) {
    readSettingsInput(settingsPageInput);
    storeSettingsInput(settingsPageInput, questionSet);
}
