#include "pages/settings/settings_counts.h"

namespace {

// By selection; any other selection enables every row.
constexpr int kRankRows[] = {2, 3, 4, 5};
constexpr int kGenreRows[] = {0, 2, 3, 4, 5};

template <int Count> int rowsBySelection(const int (&rows)[Count], int selection) {
    return selection >= 0 && selection < Count ? rows[selection] : rows[Count - 1];
}

} // namespace

int rankRowsInUse(int selection) {
    return rowsBySelection(kRankRows, selection);
}

int genreRowsInUse(int selection) {
    return rowsBySelection(kGenreRows, selection);
}

int rankCountItem(std::int32_t rankCount) {
    if (rankCount < 2) {
        return 0;
    }
    return rankCount > 5 ? 3 : rankCount - 2;
}

int genreCountItem(std::int32_t genreCount) {
    if (genreCount < 1) {
        return -1;
    }
    return genreCount > 5 ? 4 : genreCount - 1;
}

int presentationModeItem(std::int32_t presentationMode) {
    return presentationMode >= 0 && presentationMode <= 2 ? presentationMode : 0;
}
