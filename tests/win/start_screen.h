// The start screen as the user must see it, for the in-process and the
// end-to-end tests alike: written out here, apart from the program.
#pragma once

#include <windows.h>

struct ExpectedButton {
    int id;
    const wchar_t* caption;
    RECT rect; // in the main window's client coordinates
};

inline constexpr ExpectedButton kStartScreenButtons[] = {
    {10, L"初級コース", {400, 100, 600, 200}},
    {11, L"中級コース", {400, 250, 600, 350}},
    {12, L"上級コース", {400, 400, 600, 500}},
    {13, L"問題集読み込み", {400, 550, 600, 650}},
};
