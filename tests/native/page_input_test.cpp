#include "pages/page_input.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

TEST(ReadNumber, ReadsAsASignedDecimalAndSaturates) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"0", 0},
        {"70", 70},
        {"  \t42", 42},
        {"+7", 7},
        {"-15", -15},
        {"12abc", 12},
        {"3 4", 3},
        {"-", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
        {"\x82\x50", 0}, // a full-width digit is not a digit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

std::string stored(const char* text, std::size_t size, TextLines lines) {
    char field[64];
    std::memset(field, 'x', sizeof field);
    storeFieldText(text, field, size, lines);
    for (std::size_t i = std::strlen(field); i < size; ++i) {
        EXPECT_EQ(field[i], '\0') << "byte " << i << " of the field is not zero";
    }
    EXPECT_EQ(field[size], 'x') << "written past the field";
    return field;
}

TEST(StoreFieldText, KeepsLineBreaksAsTheFieldSays) {
    EXPECT_EQ(stored("a\r\nb", 32, TextLines::Escaped), "a\\r\\nb");
    EXPECT_EQ(stored("a\rb\nc", 32, TextLines::Escaped), "a\\r\\nb\\r\\nc");
    EXPECT_EQ(stored("\r\n\r\n", 32, TextLines::Escaped), "\\r\\n\\r\\n");
    EXPECT_EQ(stored("a\r\nb\nc", 32, TextLines::Single), "a b c");
    // A backslash typed by the user is kept as it is.
    EXPECT_EQ(stored("C:\\r", 32, TextLines::Escaped), "C:\\r");
}

TEST(StoreFieldText, NeverLetsACommaThrough) {
    EXPECT_EQ(stored("a,b", 32, TextLines::Single), "a\x81\x43"
                                                    "b");
    EXPECT_EQ(stored(",,", 32, TextLines::Escaped), "\x81\x43\x81\x43");
    // The second byte of a double-byte character may be any byte but a comma
    // never is one, so only real commas change.
    EXPECT_EQ(stored("\x83\x41,", 32, TextLines::Single), "\x83\x41\x81\x43");
}

TEST(StoreFieldText, CutsOnlyBetweenWholePieces) {
    struct Case {
        const char* text;
        std::size_t size;
        TextLines lines;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 4, TextLines::Single, "abc"},
        {"ab\x82\xA0", 4, TextLines::Single, "ab"},         // the character needs two bytes
        {"ab\x82\xA0", 5, TextLines::Single, "ab\x82\xA0"}, // exactly fits
        {"a,", 3, TextLines::Single, "a"},                  // "，" does not fit
        {"ab\r\nc", 6, TextLines::Escaped, "ab"},           // nor does the escape
        {"ab\r\nc", 7, TextLines::Escaped, "ab\\r\\n"},
        {"ab\x82", 8, TextLines::Single, "ab"}, // a lone lead byte at the end
        {"", 1, TextLines::Single, ""},
        {"abc", 1, TextLines::Single, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stored(c.text, c.size, c.lines), c.expected)
            << '"' << c.text << "\" in " << c.size;
    }
}

TEST(StoreFieldText, FillsTheWholeModelFieldAtMost) {
    std::string typed(kLongInputSize - 1, '\0');
    for (std::size_t i = 0; i + 1 < typed.size(); i += 2) {
        typed[i] = '\x88';
        typed[i + 1] = '\xA0';
    }
    typed.back() = 'z';
    char field[5160];
    storeFieldText(typed.c_str(), field, TextLines::Escaped);
    const std::size_t length = std::strlen(field);
    EXPECT_EQ(length, 5158u); // 2579 whole characters; the next would leave no terminator
    EXPECT_EQ(field[5159], '\0');
}

} // namespace
