#include "pages/question/question_format.h"
#include "pages/question/question_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Big records live outside the stack, as in the program.
QuestionPageInput input;
Question slot;

constexpr int kMultiple = 0;
constexpr int kTwo = 1;
constexpr int kThree = 2;
constexpr int kFour = 3;

void put(char* field, const char* text) {
    std::strcpy(field, text);
}

// A four-choice page with every field filled and nothing marked.
void fillCompletePage(int format = kFour) {
    input = {};
    put(input.points, "10");
    put(input.text, "text");
    put(input.explanation, "why");
    for (int k = 0; k < kMaxChoices; ++k) {
        put(input.choices[k], "choice");
    }
    input.formatSelection = format;
    input.genreSelection = 0;
    input.answerSelection = 0;
}

TEST(QuestionRules, EachEmptyFieldHasItsCodeByFormat) {
    struct Case {
        int format;
        const char* field; // "choice3" is choices[2]
        bool markThird;
        MessageCode code;
    };
    const Case cases[] = {
        {kFour, "points", false, 36},      {kFour, "text", false, 38},
        {kFour, "explanation", false, 39}, {kFour, "choice1", false, 40},
        {kFour, "choice2", false, 41},     {kFour, "choice3", false, 42},
        {kFour, "choice4", false, 43},     {kFour, "choice5", false, 0},
        {kThree, "choice3", false, 42},    {kThree, "choice4", false, 0},
        {kTwo, "choice3", false, 0},       {kTwo, "choice2", false, 41},
        {kMultiple, "choice3", false, 0},  {kMultiple, "choice3", true, 45},
        {kMultiple, "choice1", false, 40}, {-1, "choice3", false, 0},
        {-1, "points", false, 36},
    };
    for (const Case& c : cases) {
        fillCompletePage(c.format);
        input.correct[2] = c.markThird;
        const std::string field = c.field;
        char* text = field == "points"        ? input.points
                     : field == "text"        ? input.text
                     : field == "explanation" ? input.explanation
                                              : input.choices[field.back() - '1'];
        text[0] = '\0';
        EXPECT_EQ(checkQuestionInput(input), c.code) << "format " << c.format << ' ' << c.field;
    }
}

TEST(QuestionRules, ReportsTheFirstProblemInTheirOrder) {
    // The page of a new question: points 0 and the placeholders count as entered.
    input = {};
    put(input.points, "0");
    put(input.text, "問題文");
    put(input.explanation, "解説文");
    input.formatSelection = kFour;
    EXPECT_EQ(checkQuestionInput(input), 40);

    // An unentered choice marked correct comes before the first choice.
    input.formatSelection = kMultiple;
    input.correct[4] = true;
    EXPECT_EQ(checkQuestionInput(input), 45);
    input.points[0] = '\0';
    EXPECT_EQ(checkQuestionInput(input), 36);

    // White space is text; nothing needs a box checked.
    fillCompletePage(kMultiple);
    put(input.text, "   ");
    put(input.choices[2], "");
    put(input.choices[3], "");
    put(input.choices[4], "");
    EXPECT_EQ(checkQuestionInput(input), 0);
}

TEST(QuestionRules, StoresTheChoicesOfTheFormatAndKeepsTheRest) {
    slot = {};
    for (int k = 0; k < kMaxChoices; ++k) {
        put(slot.choices[k], "old");
    }
    fillCompletePage(kTwo);
    input.answerSelection = 1;
    put(input.choices[0], "yes");
    put(input.choices[1], "no");
    storeQuestionInput(input, 6, 3, slot);
    EXPECT_EQ(slot.questionId, 7);
    EXPECT_EQ(slot.format, 2);
    EXPECT_EQ(slot.genre, 1);
    EXPECT_EQ(slot.points, 10);
    EXPECT_STREQ(slot.text, "text");
    EXPECT_STREQ(slot.explanation, "why");
    EXPECT_STREQ(slot.choices[0], "yes");
    EXPECT_STREQ(slot.choices[1], "no");
    EXPECT_STREQ(slot.choices[2], "old");
    EXPECT_STREQ(slot.choices[4], "old");
    EXPECT_EQ(slot.answer, 2);

    // No format stores no choice and format 0; no selection gives 0.
    fillCompletePage(-1);
    input.genreSelection = -1;
    input.answerSelection = -1;
    put(input.choices[0], "new");
    storeQuestionInput(input, 0, 3, slot);
    EXPECT_EQ(slot.format, 0);
    EXPECT_EQ(slot.genre, 0);
    EXPECT_EQ(slot.answer, 0);
    EXPECT_STREQ(slot.choices[0], "yes");
}

TEST(QuestionRules, StoresTheMarkedChoicesAsDigitPositions) {
    const struct {
        bool correct[kMaxChoices];
        std::int32_t answer;
    } cases[] = {
        {{false, true, false, true, false}, 2040},
        {{true, true, true, true, true}, 12345},
        {{true, false, true, false, true}, 10305},
        {{false, false, false, false, false}, 0},
    };
    for (const auto& c : cases) {
        fillCompletePage(kMultiple);
        std::memcpy(input.correct, c.correct, sizeof c.correct);
        input.answerSelection = 3; // the greyed answer box counts for nothing
        storeQuestionInput(input, 0, 1, slot);
        EXPECT_EQ(slot.answer, c.answer);
        EXPECT_STREQ(slot.choices[4], "choice");
    }
}

TEST(QuestionRules, StoresTheGenreOnlyWhenThereIsAChoice) {
    fillCompletePage();
    input.genreSelection = 3;
    storeQuestionInput(input, 0, 5, slot);
    EXPECT_EQ(slot.genre, 4);
    storeQuestionInput(input, 0, 1, slot);
    EXPECT_EQ(slot.genre, 1);
    input.genreSelection = -1;
    storeQuestionInput(input, 0, 1, slot);
    EXPECT_EQ(slot.genre, 1);
}

TEST(QuestionRules, StoresPointsAsASaturatedNumber) {
    const struct {
        const char* typed;
        std::int32_t points;
    } cases[] = {
        {"007", 7},
        {"0", 0},
        {"  -12x", -12},
        {"", 0},
        {"abc", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        fillCompletePage();
        put(input.points, c.typed);
        storeQuestionInput(input, 0, 1, slot);
        EXPECT_EQ(slot.points, c.points) << '"' << c.typed << '"';
    }
}

TEST(QuestionRules, EscapesLineBreaksAndNeverLetsACommaThrough) {
    fillCompletePage();
    put(input.text, "AB\r\nCD");
    put(input.explanation, "a,b\r\n\r\n");
    put(input.choices[0], "x,y");
    put(input.choices[1], "two\r\nlines");
    storeQuestionInput(input, 0, 1, slot);
    EXPECT_STREQ(slot.text, "AB\\r\\nCD");
    EXPECT_EQ(std::strlen(slot.text), 8u);
    EXPECT_STREQ(slot.explanation, "a\x81\x43"
                                   "b\\r\\n\\r\\n");
    EXPECT_STREQ(slot.choices[0], "x\x81\x43y");
    EXPECT_EQ(std::strchr(slot.choices[1], ','), nullptr);
    EXPECT_EQ(std::strchr(slot.choices[1], '\r'), nullptr);
    EXPECT_EQ(std::strchr(slot.choices[1], '\n'), nullptr);
}

TEST(QuestionRules, CutsLongTextsAtWholePieces) {
    fillCompletePage();
    // 5157 bytes, then a line break: the escape does not fit whole.
    std::memset(input.text, 'a', 5157);
    put(input.text + 5157, "\r\nend");
    // A double-byte character across the last byte of the field.
    std::memset(input.explanation, 'b', 5158);
    put(input.explanation + 5158, "\x82\xa0");
    std::memset(input.choices[0], 'c', 254);
    put(input.choices[0] + 254, "\x82\xa0");
    storeQuestionInput(input, 0, 1, slot);
    EXPECT_EQ(std::strlen(slot.text), 5157u);
    EXPECT_EQ(std::strlen(slot.explanation), 5158u);
    EXPECT_EQ(std::strlen(slot.choices[0]), 254u);
    EXPECT_EQ(slot.text[sizeof slot.text - 1], '\0');
}

TEST(QuestionFormat, RulesAndItemsFollowTheFormatBox) {
    EXPECT_EQ(formatRule(0).choiceCount, 5);
    EXPECT_TRUE(formatRule(0).correctBoxesEnabled);
    EXPECT_EQ(formatRule(0).answerItems, 0);
    EXPECT_EQ(formatRule(1).answerItems, 2);
    EXPECT_EQ(formatRule(2).answerItems, 3);
    // Any other value is the four-choice rule, but stores no choice.
    EXPECT_EQ(formatRule(-1).answerItems, 4);
    EXPECT_EQ(formatRule(7).choiceCount, 4);
    EXPECT_EQ(choiceCountOf(-1), 0);
    EXPECT_EQ(choiceCountOf(3), 4);
    EXPECT_EQ(answerItemCount(5), 4);
    EXPECT_EQ(genreItemCount(9), kMaxGenres);
    EXPECT_EQ(genreItemCount(-3), 0);
    EXPECT_EQ(itemOfValue(0, 4), -1);
    EXPECT_EQ(itemOfValue(4, 4), 3);
    EXPECT_EQ(itemOfValue(5, 4), -1);
    EXPECT_EQ(itemOfValue(-2147483647 - 1, 4), -1);
}

} // namespace
