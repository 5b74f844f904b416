// What each course puts on a new settings page before the stored set is
// shown, and which of those controls the course lets the user change.
#pragma once

struct CourseDefaults {
    bool modeEnabled;
    bool genreCountEnabled;
    bool rankCountEnabled;
    bool firstRanksEnabled; // rank name and comment fields 1 and 2
    bool firstThresholdEnabled;
    const wchar_t* rankNames[5];
    const wchar_t* rankComments[5];
    const wchar_t* thresholds[4];
};

// By course: beginner, intermediate, advanced.
constexpr CourseDefaults kCourseDefaults[3] = {
    {false,
     false,
     false,
     false,
     false,
     {L"不合格", L"合格", L"", L"", L""},
     {L"不合格です", L"合格です", L"", L"", L""},
     {L"70", L"", L"", L""}},
    {true,
     true,
     false,
     false,
     true,
     {L"不合格", L"合格", L"", L"", L""},
     {L"不合格です", L"合格です", L"", L"", L""},
     {L"70", L"", L"", L""}},
    {true,
     true,
     true,
     true,
     true,
     {L"低いランク", L"やや低いランク", L"普通のランク", L"やや高いランク", L"最高ランク"},
     {L"低いランクです", L"やや低いランクです", L"普通のランクです", L"やや高いです",
      L"最高ランクです"},
     {L"30", L"50", L"70", L"100"}},
};
