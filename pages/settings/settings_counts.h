// The two count rules of the settings page and the box items that show a
// stored set's counts, as plain numbers.
#pragma once

#include <cstdint>

// Rank rows enabled (2 to 5) for a rank-count box selection; rows 1 and 2
// are never touched by the rule.
int rankRowsInUse(int selection);

// Genre rows enabled (0, or 2 to 5) for a genre-count box selection: one
// genre uses no row at all.
int genreRowsInUse(int selection);

// The item that shows a stored count or mode. A rank count outside 2..5 keeps
// the first item; a genre count below 1 selects nothing, above 5 the last.
int rankCountItem(std::int32_t rankCount);
int genreCountItem(std::int32_t genreCount);
int presentationModeItem(std::int32_t presentationMode);
