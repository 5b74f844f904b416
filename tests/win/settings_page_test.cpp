// The settings page on the real main window: what each course shows, the
// count rules, the stored set shown again, and the page read back into the
// set, with the real edit controls and combo boxes.
#include "app/control_ids.h"
#include "app/editor_state.h"
#include "app/main_window.h"
#include "model/question_set.h"
#include "pages/settings/settings_page.h"
#include "tests/win/page_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSingleLine = 0x50801000;
constexpr DWORD kDigits = 0x50803000;
constexpr DWORD kMultiLine = 0x50A01004;
constexpr DWORD kList = 0x50000103;

using SettingsPage = PageTest;

// Ids of rank name k, comment k, threshold k, genre name k, quota k (1-based).
int rankName(int k) {
    return 19 + k;
}
int rankComment(int k) {
    return 24 + k;
}
int threshold(int k) {
    return 29 + k;
}
int genreName(int k) {
    return 34 + k;
}
int quota(int k) {
    return 39 + k;
}

TEST_F(SettingsPage, HasItsTwentyEightControlsInPlace) {
    struct Place {
        int id;
        const wchar_t* className;
        DWORD style;
        RECT rect;
    };
    const Place places[] = {
        {17, L"Edit", kSingleLine, {150, 40, 550, 62}},
        {18, L"ComboBox", kList, {150, 80, 550, 0}},
        {19, L"ComboBox", kList, {150, 140, 230, 0}},
        {20, L"Edit", kSingleLine, {90, 200, 230, 222}},
        {30, L"Edit", kDigits, {150, 255, 230, 277}},
        {25, L"Edit", kMultiLine, {320, 200, 620, 280}},
        {21, L"Edit", kSingleLine, {90, 310, 230, 332}},
        {31, L"Edit", kDigits, {150, 365, 230, 387}},
        {26, L"Edit", kMultiLine, {320, 310, 620, 390}},
        {22, L"Edit", kSingleLine, {90, 420, 230, 442}},
        {32, L"Edit", kDigits, {150, 475, 230, 497}},
        {27, L"Edit", kMultiLine, {320, 420, 620, 500}},
        {23, L"Edit", kSingleLine, {90, 530, 230, 552}},
        {33, L"Edit", kDigits, {150, 585, 230, 607}},
        {28, L"Edit", kMultiLine, {320, 530, 620, 610}},
        {24, L"Edit", kSingleLine, {90, 640, 230, 662}},
        {29, L"Edit", kMultiLine, {320, 640, 620, 720}},
        {34, L"ComboBox", kList, {880, 140, 960, 0}},
        {35, L"Edit", kSingleLine, {790, 200, 960, 222}},
        {40, L"Edit", kDigits, {880, 255, 960, 277}},
        {36, L"Edit", kSingleLine, {790, 310, 960, 332}},
        {41, L"Edit", kDigits, {880, 365, 960, 387}},
        {37, L"Edit", kSingleLine, {790, 420, 960, 442}},
        {42, L"Edit", kDigits, {880, 475, 960, 497}},
        {38, L"Edit", kSingleLine, {790, 530, 960, 552}},
        {43, L"Edit", kSingleLine, {880, 585, 960, 607}},
        {39, L"Edit", kSingleLine, {790, 640, 960, 662}},
        {44, L"Edit", kDigits, {880, 695, 960, 717}},
    };
    startRecordingChildren(window);
    startCourse(Advanced);
    const std::vector<CreatedChild> createdChildren = stopRecordingChildren();
    // Prev and Next, then the page in the table's order.
    ASSERT_EQ(createdChildren.size(), 2u + 28u);
    EXPECT_EQ(createdChildren[0].id, IDC_PREV);
    EXPECT_EQ(createdChildren[1].id, IDC_NEXT);
    for (std::size_t i = 0; i < 28; ++i) {
        EXPECT_EQ(createdChildren[2 + i].id, places[i].id) << i;
        EXPECT_EQ(createdChildren[2 + i].style, places[i].style) << places[i].id;
    }
    HWND previous = nullptr;
    for (const Place& place : places) {
        SCOPED_TRACE(place.id);
        const ControlInfo info = readControl(window, place.id);
        ASSERT_TRUE(info.exists);
        EXPECT_EQ(info.className, place.className);
        EXPECT_TRUE(info.visible);
        EXPECT_EQ(info.rect.left, place.rect.left);
        EXPECT_EQ(info.rect.top, place.rect.top);
        EXPECT_EQ(info.rect.right, place.rect.right);
        // A closed drop-down list is as high as its edit part; edits keep theirs.
        if (place.rect.bottom != 0) {
            EXPECT_EQ(info.rect.bottom, place.rect.bottom);
        }
        const HWND control = GetDlgItem(window, place.id);
        if (previous != nullptr) {
            EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), control);
        }
        previous = control;
    }
    EXPECT_EQ(readControl(window, 18).items,
              (std::vector<std::wstring>{L"全問題を順番に出題",
                                         L"ジャンル毎に出題数を決めてランダムに出題",
                                         L"全問題を完全にランダムに出題"}));
    EXPECT_EQ(readControl(window, 19).items, (std::vector<std::wstring>{L"2", L"3", L"4", L"5"}));
    EXPECT_EQ(readControl(window, 34).items,
              (std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5"}));
}

TEST_F(SettingsPage, EachCourseOpensANewSetWithItsDefaults) {
    // Text and enabled state per course: beginner, intermediate, advanced.
    struct Expected {
        int id;
        const wchar_t* text[3];
        bool enabled[3];
    };
    const Expected expected[] = {
        {17, {L"", L"", L""}, {true, true, true}},
        {18,
         {L"全問題を順番に出題", L"全問題を順番に出題", L"全問題を順番に出題"},
         {false, true, true}},
        {19, {L"2", L"2", L"2"}, {false, false, true}},
        {34, {L"", L"", L""}, {false, true, true}},
        {20, {L"不合格", L"不合格", L"低いランク"}, {false, false, true}},
        {21, {L"合格", L"合格", L"やや低いランク"}, {false, false, true}},
        {22, {L"", L"", L"普通のランク"}, {false, false, false}},
        {23, {L"", L"", L"やや高いランク"}, {false, false, false}},
        {24, {L"", L"", L"最高ランク"}, {false, false, false}},
        {25, {L"不合格です", L"不合格です", L"低いランクです"}, {false, false, true}},
        {26, {L"合格です", L"合格です", L"やや低いランクです"}, {false, false, true}},
        {27, {L"", L"", L"普通のランクです"}, {false, false, false}},
        {28, {L"", L"", L"やや高いです"}, {false, false, false}},
        {29, {L"", L"", L"最高ランクです"}, {false, false, false}},
        {30, {L"70", L"70", L"30"}, {false, true, true}},
        {31, {L"", L"", L"50"}, {false, false, false}},
        {32, {L"", L"", L"70"}, {false, false, false}},
        {33, {L"", L"", L"100"}, {false, false, false}},
    };
    for (int c : {Beginner, Intermediate, Advanced}) {
        SCOPED_TRACE(c);
        TearDown();
        SetUp();
        startCourse(static_cast<Course>(c));
        EXPECT_EQ(onStartScreen, 0);
        EXPECT_EQ(onSettingsPage, 1);
        EXPECT_EQ(currentIndex, 0);
        EXPECT_EQ(course, c);
        for (const Expected& e : expected) {
            SCOPED_TRACE(e.id);
            EXPECT_EQ(text(e.id), e.text[c]);
            EXPECT_EQ(enabled(e.id), e.enabled[c]);
        }
        EXPECT_EQ(readControl(window, 34).selection, -1);
        for (int k = 1; k <= 5; ++k) {
            EXPECT_FALSE(enabled(genreName(k))) << k;
            EXPECT_FALSE(enabled(quota(k))) << k;
            EXPECT_EQ(text(genreName(k)), L"") << k;
        }
        // The start screen is gone; Prev is disabled and Next enabled.
        for (int id : {IDC_BEGINNER, IDC_INTERMEDIATE, IDC_ADVANCED, IDC_LOAD}) {
            EXPECT_FALSE(readControl(window, id).exists) << id;
        }
        const ControlInfo prev = readControl(window, IDC_PREV);
        const ControlInfo next = readControl(window, IDC_NEXT);
        EXPECT_EQ(prev.text, L"前へ");
        EXPECT_EQ(next.text, L"次へ");
        EXPECT_EQ(prev.rect.left, 30);
        EXPECT_EQ(next.rect.left, 130);
        EXPECT_EQ(next.rect.bottom, 740);
        EXPECT_FALSE(prev.enabled);
        EXPECT_TRUE(next.enabled);
        EXPECT_EQ(GetWindow(prevButton, GW_HWNDNEXT), nextButton);
        EXPECT_FALSE(readControl(window, IDC_OUTPUT).exists);
    }
}

TEST_F(SettingsPage, ACourseButtonCountsOnlyOnTheStartScreen) {
    startCourse(Intermediate);
    const HWND title = GetDlgItem(window, 17);
    SetWindowTextW(title, L"typed");
    startCourse(Advanced);
    EXPECT_EQ(course, Intermediate);
    EXPECT_EQ(GetDlgItem(window, 17), title);
    EXPECT_EQ(text(17), L"typed");
}

TEST_F(SettingsPage, TheRankCountEnablesRowsThatKeepTheirTexts) {
    startCourse(Advanced);
    choose(IDC_RANK_COUNT, 3);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_TRUE(enabled(rankName(k))) << k;
        EXPECT_TRUE(enabled(rankComment(k))) << k;
    }
    for (int k = 1; k <= 4; ++k) {
        EXPECT_TRUE(enabled(threshold(k))) << k;
    }
    EXPECT_EQ(text(rankName(5)), L"最高ランク");
    EXPECT_EQ(text(threshold(4)), L"100");

    SetWindowTextW(GetDlgItem(window, rankName(4)), L"書いた");
    choose(IDC_RANK_COUNT, 1);
    EXPECT_TRUE(enabled(rankName(3)));
    EXPECT_TRUE(enabled(threshold(2)));
    EXPECT_FALSE(enabled(rankName(4)));
    EXPECT_FALSE(enabled(threshold(3)));
    EXPECT_FALSE(enabled(rankComment(5)));
    choose(IDC_RANK_COUNT, 2);
    EXPECT_TRUE(enabled(rankName(4)));
    EXPECT_FALSE(enabled(rankName(5)));
    EXPECT_EQ(text(rankName(4)), L"書いた");

    // Only a change of selection counts; the box's other news does nothing.
    SendMessageW(GetDlgItem(window, IDC_RANK_COUNT), CB_SETCURSEL, 0, 0);
    sendCommand(window, IDC_RANK_COUNT, CBN_DROPDOWN);
    sendCommand(window, IDC_RANK_COUNT, CBN_SELENDOK);
    EXPECT_TRUE(enabled(rankName(4)));
    sendCommand(window, IDC_RANK_COUNT, CBN_SELCHANGE);
    EXPECT_FALSE(enabled(rankName(3)));
    EXPECT_TRUE(enabled(rankName(2)));
    EXPECT_TRUE(enabled(threshold(1)));
}

TEST_F(SettingsPage, OneGenreUsesNoGenreRow) {
    startCourse(Intermediate);
    choose(IDC_GENRE_COUNT, 2);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(enabled(genreName(k)), k <= 3) << k;
        EXPECT_EQ(enabled(quota(k)), k <= 3) << k;
    }
    choose(IDC_GENRE_COUNT, 4);
    EXPECT_TRUE(enabled(quota(5)));
    choose(IDC_GENRE_COUNT, 0);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_FALSE(enabled(genreName(k))) << k;
        EXPECT_FALSE(enabled(quota(k))) << k;
    }
    // The rank rows are not the genre box's business.
    EXPECT_TRUE(enabled(threshold(1)));
}

TEST_F(SettingsPage, AStoredSetIsShownAgainOverTheCourseDefaults) {
    putAnsi(questionSet.title, L"理科の検定");
    questionSet.presentationMode = GenreQuota;
    questionSet.rankCount = 4;
    const wchar_t* names[] = {L"初段", L"二段", L"三段", L"四段"};
    for (int k = 0; k < 4; ++k) {
        putAnsi(questionSet.rankNames[k], names[k]);
        putAnsi(questionSet.rankComments[k], L"よく\\r\\nできました");
    }
    questionSet.rankThresholds[0] = 0;
    questionSet.rankThresholds[1] = 40;
    questionSet.rankThresholds[2] = 80;
    questionSet.genreCount = 2;
    putAnsi(questionSet.genreNames[0], L"物理");
    putAnsi(questionSet.genreNames[1], L"化学");
    questionSet.genreQuotas[0] = 0;
    questionSet.genreQuotas[1] = 12;
    startCourse(Beginner); // as when going back from the first question

    EXPECT_EQ(text(17), L"理科の検定");
    EXPECT_EQ(readControl(window, 18).selection, 1);
    EXPECT_EQ(readControl(window, 19).selection, 2);
    EXPECT_EQ(readControl(window, 34).selection, 1);
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(enabled(rankName(k)));
        EXPECT_TRUE(enabled(rankComment(k)));
        EXPECT_EQ(text(rankName(k)), names[k - 1]);
        EXPECT_EQ(text(rankComment(k)), L"よく\r\nできました");
        EXPECT_EQ(SendMessageW(GetDlgItem(window, rankComment(k)), EM_GETLINECOUNT, 0, 0), 2);
    }
    EXPECT_EQ(text(threshold(1)), L"0");
    EXPECT_EQ(text(threshold(2)), L"40");
    EXPECT_EQ(text(threshold(3)), L"80");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(enabled(threshold(k))) << k;
    }
    EXPECT_FALSE(enabled(threshold(4)));
    EXPECT_FALSE(enabled(rankName(5)));
    EXPECT_FALSE(enabled(rankComment(5)));
    EXPECT_EQ(text(quota(1)), L"0");
    EXPECT_EQ(text(quota(2)), L"12");
    EXPECT_TRUE(enabled(genreName(2)));
    EXPECT_FALSE(enabled(genreName(3)));
    // The course still fixes the boxes.
    EXPECT_FALSE(enabled(18));
    EXPECT_FALSE(enabled(19));

    // In the advanced course the fifth row, not in use, keeps its default.
    teardownSettingsPage(window);
    course = Advanced;
    buildSettingsPage(window);
    EXPECT_EQ(text(rankName(4)), L"四段");
    EXPECT_EQ(text(rankName(5)), L"最高ランク");
    EXPECT_EQ(text(rankComment(5)), L"最高ランクです");
    EXPECT_EQ(text(threshold(4)), L"100");
    EXPECT_FALSE(enabled(rankName(5)));
    EXPECT_FALSE(enabled(rankComment(5)));
    EXPECT_FALSE(enabled(threshold(4)));
    EXPECT_TRUE(enabled(19));
}

TEST_F(SettingsPage, CountsOutsideTheBoxesShowTheNearestItem) {
    questionSet.presentationMode = 7;
    questionSet.rankCount = 9;
    questionSet.genreCount = 6;
    startCourse(Advanced);
    EXPECT_EQ(readControl(window, 18).selection, 0);
    EXPECT_EQ(readControl(window, 19).selection, 3);
    EXPECT_EQ(readControl(window, 34).selection, 4);
    EXPECT_TRUE(enabled(rankName(5)));
    EXPECT_TRUE(enabled(quota(5)));
    // Stored back, every count is one the boxes offer.
    storeSettingsPage(window);
    EXPECT_EQ(questionSet.presentationMode, 0);
    EXPECT_EQ(questionSet.rankCount, 5);
    EXPECT_EQ(questionSet.genreCount, 5);
}

TEST_F(SettingsPage, OnlyQuotaFourTakesLetters) {
    startCourse(Advanced);
    choose(IDC_RANK_COUNT, 3);
    choose(IDC_GENRE_COUNT, 4);
    for (int id : {30, 31, 32, 33, 40, 41, 42, 43, 44}) {
        SetWindowTextW(GetDlgItem(window, id), L"");
        type(id, L"1a2");
        EXPECT_EQ(text(id), id == 43 ? L"1a2" : L"12") << id;
    }
}

TEST_F(SettingsPage, WhatIsTypedIsCheckedAndStored) {
    startCourse(Advanced);
    EXPECT_EQ(validateSettingsPage(window), 7);
    type(17, L"国語,テスト");
    choose(IDC_RANK_COUNT, 1);
    SetWindowTextW(GetDlgItem(window, threshold(2)), L"");
    EXPECT_EQ(validateSettingsPage(window), 20);
    type(threshold(2), L"20");
    SetWindowTextW(GetDlgItem(window, rankComment(1)), L"");
    type(rankComment(1), L"一行目\r二行目");
    EXPECT_EQ(text(rankComment(1)), L"一行目\r\n二行目");
    EXPECT_EQ(validateSettingsPage(window), 23); // 30 above 20
    SetWindowTextW(GetDlgItem(window, threshold(1)), L"");
    type(threshold(1), L"10");
    EXPECT_EQ(validateSettingsPage(window), 0);
    // Nothing is stored by checking.
    EXPECT_EQ(questionSet.title[0], '\0');

    storeSettingsPage(window);
    EXPECT_EQ(std::string(questionSet.title), toAnsi(L"国語，テスト"));
    EXPECT_EQ(std::string(questionSet.rankComments[0]), toAnsi(L"一行目\\r\\n二行目"));
    EXPECT_EQ(questionSet.rankCount, 3);
    EXPECT_EQ(questionSet.genreCount, 1);
    EXPECT_EQ(questionSet.rankThresholds[0], 10);
    EXPECT_EQ(questionSet.rankThresholds[1], 20);

    // Built again, the page shows what was stored.
    teardownSettingsPage(window);
    buildSettingsPage(window);
    EXPECT_EQ(text(17), L"国語，テスト");
    EXPECT_EQ(text(rankComment(1)), L"一行目\r\n二行目");
    EXPECT_EQ(readControl(window, 19).selection, 1);
    EXPECT_TRUE(enabled(rankName(3)));
    EXPECT_FALSE(enabled(rankName(4)));
}

TEST_F(SettingsPage, FewerRanksKeepTheOthersInTheSet) {
    startCourse(Advanced);
    choose(IDC_RANK_COUNT, 3);
    storeSettingsPage(window);
    ASSERT_EQ(questionSet.rankCount, 5);
    teardownSettingsPage(window);
    buildSettingsPage(window);
    choose(IDC_RANK_COUNT, 1);
    SetWindowTextW(GetDlgItem(window, rankName(4)), L"変えた");
    SetWindowTextW(GetDlgItem(window, threshold(4)), L"1");
    storeSettingsPage(window);
    EXPECT_EQ(questionSet.rankCount, 3);
    EXPECT_EQ(std::string(questionSet.rankNames[3]), toAnsi(L"やや高いランク"));
    EXPECT_EQ(std::string(questionSet.rankComments[4]), toAnsi(L"最高ランクです"));
    EXPECT_EQ(questionSet.rankThresholds[2], 70);
    EXPECT_EQ(questionSet.rankThresholds[3], 100);
}

TEST_F(SettingsPage, ALongTitleIsCutToItsField) {
    questionSet.genreCount = 5;
    startCourse(Advanced);
    std::wstring title(300, L'漢');
    SetWindowTextW(GetDlgItem(window, 17), title.c_str());
    SetWindowTextW(GetDlgItem(window, quota(4)), L"12ab");
    storeSettingsPage(window);
    // 255 characters are read; 127 of them fit the 256 bytes whole.
    EXPECT_EQ(std::strlen(questionSet.title), 254u);
    EXPECT_EQ(fromAnsi(questionSet.title), std::wstring(127, L'漢'));
    EXPECT_EQ(questionSet.genreQuotas[3], 12);
}

TEST_F(SettingsPage, LabelsArePaintedAndBlankedWithThePage) {
    startCourse(Beginner);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    const std::vector<POINT> labels = {{20, 40},   {20, 640},  {90, 585},
                                       {250, 200}, {700, 140}, {790, 695}};
    expectLabelInk(window, labels, true);
    teardownSettingsPage(window);
    for (int id = IDC_SETTINGS_FIRST; id <= IDC_SETTINGS_LAST; ++id) {
        EXPECT_FALSE(readControl(window, id).exists) << id;
        EXPECT_EQ(settingsControls[id - IDC_SETTINGS_FIRST], nullptr) << id;
    }
    expectLabelInk(window, labels, false);
    EXPECT_TRUE(IsWindow(prevButton));
    EXPECT_TRUE(IsWindow(nextButton));
}

} // namespace
