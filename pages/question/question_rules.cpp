#include "pages/question/question_rules.h"

#include "model/text_codes.h"
#include "pages/question/question_format.h"

QuestionPageInput questionPageInput = {};

namespace {

enum class Field { Points, Text, Explanation, Choice };

// Format items a rule applies to, one bit each; every format also covers a
// format box without selection.
constexpr unsigned kMultipleSelection = 1u << 0;
constexpr unsigned kThreeChoices = 1u << 2;
constexpr unsigned kFourChoices = 1u << 3;
constexpr unsigned kEveryFormat = ~0u;

// A rule holds when its format applies and its field is empty; with
// `markedCorrect`, only while the choice's box is checked as well.
struct Rule {
    Field field;
    int choice; // 0-based, for Field::Choice
    unsigned formats;
    bool markedCorrect;
    MessageCode code;
};

constexpr Rule kRules[] = {
    {Field::Points, 0, kEveryFormat, false, 36},
    {Field::Text, 0, kEveryFormat, false, 38},
    {Field::Explanation, 0, kEveryFormat, false, 39},
    {Field::Choice, 2, kMultipleSelection, true, 45},
    {Field::Choice, 3, kMultipleSelection, true, 45},
    {Field::Choice, 4, kMultipleSelection, true, 45},
    {Field::Choice, 0, kEveryFormat, false, 40},
    {Field::Choice, 1, kEveryFormat, false, 41},
    // A three-choice question stores its third choice, so it needs one too.
    {Field::Choice, 2, kThreeChoices | kFourChoices, false, 42},
    {Field::Choice, 3, kFourChoices, false, 43},
};

bool appliesTo(unsigned formats, int selection) {
    return formats == kEveryFormat ||
           (isFormatItem(selection) && ((formats >> selection) & 1u) != 0);
}

const char* fieldText(const Rule& rule, const QuestionPageInput& input) {
    switch (rule.field) {
    case Field::Points:
        return input.points;
    case Field::Text:
        return input.text;
    case Field::Explanation:
        return input.explanation;
    case Field::Choice:
        return input.choices[rule.choice];
    }
    return input.points;
}

bool holds(const Rule& rule, const QuestionPageInput& input) {
    if (!appliesTo(rule.formats, input.formatSelection)) {
        return false;
    }
    if (rule.markedCorrect && !input.correct[rule.choice]) {
        return false;
    }
    return fieldText(rule, input)[0] == '\0';
}

std::int32_t storedAnswer(const QuestionPageInput& input, int choiceCount) {
    if (choiceCount == kMaxChoices) {
        return digitPositionCode(input.correct);
    }
    return valueOfItem(input.answerSelection, answerItemCount(choiceCount));
}

} // namespace

MessageCode checkQuestionInput(const QuestionPageInput& input) {
    for (const Rule& rule : kRules) {
        if (holds(rule, input)) {
            return rule.code;
        }
    }
    return 0;
}

void storeQuestionInput(const QuestionPageInput& input, std::int32_t slotIndex,
                        std::int32_t genreCount, Question& slot) {
    slot.questionId = slotIndex + 1;
    slot.format = valueOfItem(input.formatSelection, kFormatItemCount);
    // One genre needs no choosing: the box may even be empty.
    slot.genre = genreCount > 1 ? valueOfItem(input.genreSelection, genreItemCount(genreCount)) : 1;
    slot.points = readNumber(input.points);
    storeFieldText(input.text, slot.text, TextLines::Escaped);
    storeFieldText(input.explanation, slot.explanation, TextLines::Escaped);
    const int choiceCount = choiceCountOf(input.formatSelection);
    for (int k = 0; k < choiceCount; ++k) {
        storeFieldText(input.choices[k], slot.choices[k], TextLines::Single);
    }
    slot.answer = storedAnswer(input, choiceCount);
}
