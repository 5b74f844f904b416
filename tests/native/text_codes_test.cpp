#include "model/text_codes.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>

namespace {

TEST(DigitPositionCode, SumsTheWeightsOfTheCorrectChoices) {
    struct Case {
        bool correct[5];
        std::int32_t code;
    };
    const Case cases[] = {
        {{false, true, false, true, false}, 2040},  {{false, false, false, false, true}, 5},
        {{true, false, true, false, false}, 10300}, {{true, true, true, true, true}, 12345},
        {{false, false, false, false, false}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(digitPositionCode(c.correct), c.code);
    }
}

TEST(DigitPositionCode, EveryCombinationComesBack) {
    for (int mask = 0; mask < 32; ++mask) {
        bool correct[5];
        for (int k = 0; k < 5; ++k) {
            correct[k] = (mask >> k) & 1;
        }
        bool back[5];
        correctChoicesFromCode(digitPositionCode(correct), back);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(back[k], correct[k]) << "mask " << mask << " choice " << k + 1;
        }
    }
}

TEST(DigitPositionCode, AnyNonZeroDigitMarksItsChoice) {
    struct Case {
        std::int32_t code;
        bool correct[5];
    };
    const Case cases[] = {
        {10305, {true, false, true, false, true}},
        {99999, {true, true, true, true, true}},
        {-2040, {false, true, false, true, false}},
        {INT32_MIN, {true, true, true, true, true}}, // ...83648
        {1000000, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        bool correct[5];
        correctChoicesFromCode(c.code, correct);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(correct[k], c.correct[k]) << "code " << c.code << " choice " << k + 1;
        }
    }
}

TEST(ChoiceCount, FollowsTheFormat) {
    const std::pair<std::int32_t, int> cases[] = {{1, 5}, {2, 2}, {3, 3}, {4, 4},
                                                  {0, 0}, {5, 0}, {-1, 0}};
    for (const auto& [format, count] : cases) {
        EXPECT_EQ(choiceCount(format), count) << "format " << format;
    }
}

std::wstring escaped(const wchar_t* in, std::size_t outCount = 64) {
    wchar_t out[64];
    const std::size_t length = escapeLineBreaks(in, out, outCount);
    EXPECT_EQ(length, std::wcslen(out));
    return out;
}

std::wstring restored(const wchar_t* in, std::size_t outCount = 64) {
    wchar_t out[64];
    const std::size_t length = restoreLineBreaks(in, out, outCount);
    EXPECT_EQ(length, std::wcslen(out));
    return out;
}

TEST(LineBreakEscape, TurnsEveryLineBreakIntoTheEscape) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"A\r\nB", L"A\\r\\nB"},
        {L"AB\r\nCD", L"AB\\r\\nCD"},
        {L"\r\n\r\n", L"\\r\\n\\r\\n"},
        {L"end\r\n", L"end\\r\\n"},
        {L"lone\nfeed", L"lone\\r\\nfeed"},
        {L"lone\rreturn", L"lone\\r\\nreturn"},
        {L"a\\b", L"a\\b"},
        {L"", L""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(escaped(in), out);
    }
}

TEST(LineBreakEscape, RestoresOnlyWholeEscapes) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"A\\r\\nB", L"A\r\nB"}, {L"\\r\\n\\r\\n", L"\r\n\r\n"}, {L"end\\r\\n", L"end\r\n"},
        {L"a\\x", L"a\\x"},       {L"a\\r\\", L"a\\r\\"},         {L"\\\\r\\n", L"\\\r\n"},
        {L"\\n\\r", L"\\n\\r"},   {L"a\\r\\r\\nb", L"a\\r\r\nb"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(restored(in), out);
    }
}

TEST(LineBreakEscape, StopsBeforeWhatDoesNotFitWhole) {
    // Room for outCount - 1 units: an escape, a CR LF pair or a surrogate
    // pair is left out entirely rather than cut.
    EXPECT_EQ(escaped(L"ab\r\ncd", 6), L"ab");
    EXPECT_EQ(escaped(L"ab\r\ncd", 7), L"ab\\r\\n");
    EXPECT_EQ(escaped(L"a\xD83D\xDE00z", 3), L"a");
    EXPECT_EQ(escaped(L"a\xD83D\xDE00z", 4), L"a\xD83D\xDE00");
    EXPECT_EQ(restored(L"a\\r\\nb", 3), L"a");
    EXPECT_EQ(restored(L"a\\r\\nb", 4), L"a\r\n");
    EXPECT_EQ(restored(L"a\xD83D\xDE00", 3), L"a");
    EXPECT_EQ(escaped(L"abc", 1), L"");

    wchar_t untouched[1] = {L'x'};
    EXPECT_EQ(escapeLineBreaks(L"abc", untouched, 0), 0u);
    EXPECT_EQ(restoreLineBreaks(L"abc", untouched, 0), 0u);
    EXPECT_EQ(untouched[0], L'x');
}

TEST(LineBreakEscape, RestoreUndoesEscape) {
    const wchar_t* text = L"一行目\r\n二行目\r\n\r\n\\ backslash";
    wchar_t out[64];
    escapeLineBreaks(text, out, 64);
    EXPECT_EQ(restored(out), text);
}

} // namespace
