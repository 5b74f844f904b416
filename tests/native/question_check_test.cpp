#include "model/question_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <vector>

namespace {

std::deque<bool> promptAnswers;
std::vector<int> promptedSlots;

bool answerFromQueue(int slot) {
    promptedSlots.push_back(slot);
    if (promptAnswers.empty()) {
        ADD_FAILURE() << "unexpected deletion prompt for slot " << slot;
        return false;
    }
    const bool answer = promptAnswers.front();
    promptAnswers.pop_front();
    return answer;
}

void fillGoodQuestion(Question& q, int id, int format, int genre) {
    q.questionId = id;
    q.format = format;
    q.genre = genre;
    q.points = 10;
    std::strcpy(q.text, "question");
    std::strcpy(q.explanation, "because");
    for (int c = 0; c < kMaxChoices; ++c) {
        std::strcpy(q.choices[c], "choice");
    }
}

class QuestionCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&questionSet, 0, sizeof questionSet);
        promptAnswers.clear();
        promptedSlots.clear();
    }
    void TearDown() override { EXPECT_TRUE(promptAnswers.empty()) << "a prompt never came"; }

    // Questions numbered 1..n in genre 1, two-choice, all well entered.
    static void addQuestions(int n, int genre = 1) {
        int slot = 0;
        while (questionSet.questions[slot].questionId != 0) {
            ++slot;
        }
        for (int i = 0; i < n; ++i, ++slot) {
            fillGoodQuestion(questionSet.questions[slot], slot + 1, 2, genre);
        }
    }
    static Question& slot(int k) { return questionSet.questions[k]; }
    static bool slotIsZero(int k) {
        static const Question zero{};
        return std::memcmp(&slot(k), &zero, sizeof zero) == 0;
    }
};

TEST(QuestionJudging, EachMissingPieceMakesAQuestionBad) {
    struct Case {
        const char* what;
        int format;
        void (*spoil)(Question&);
        bool bad;
    };
    const Case cases[] = {
        {"complete multiple selection", 1, [](Question&) {}, false},
        {"points 0", 2, [](Question& q) { q.points = 0; }, true},
        {"negative points count as entered", 2, [](Question& q) { q.points = -5; }, false},
        {"empty text", 2, [](Question& q) { q.text[0] = '\0'; }, true},
        {"empty explanation", 4, [](Question& q) { q.explanation[0] = '\0'; }, true},
        {"two-choice without choice 1", 2, [](Question& q) { q.choices[0][0] = '\0'; }, true},
        {"two-choice without choice 2", 2, [](Question& q) { q.choices[1][0] = '\0'; }, true},
        {"two-choice without choices 3-5", 2,
         [](Question& q) { q.choices[2][0] = q.choices[3][0] = q.choices[4][0] = '\0'; }, false},
        {"three-choice without choice 3", 3, [](Question& q) { q.choices[2][0] = '\0'; }, true},
        {"three-choice without choice 4", 3, [](Question& q) { q.choices[3][0] = '\0'; }, false},
        {"four-choice without choice 4", 4, [](Question& q) { q.choices[3][0] = '\0'; }, true},
        {"four-choice without choice 5", 4, [](Question& q) { q.choices[4][0] = '\0'; }, false},
        {"multiple selection without choice 3", 1, [](Question& q) { q.choices[2][0] = '\0'; },
         true},
        {"multiple selection without choice 5", 1, [](Question& q) { q.choices[4][0] = '\0'; },
         true},
        {"unknown format still needs choice 2", 9, [](Question& q) { q.choices[1][0] = '\0'; },
         true},
        {"unknown format with two choices", 9,
         [](Question& q) { q.choices[2][0] = q.choices[3][0] = q.choices[4][0] = '\0'; }, false},
    };
    for (const Case& c : cases) {
        Question q{};
        fillGoodQuestion(q, 1, c.format, 1);
        c.spoil(q);
        EXPECT_EQ(isBadlyEntered(q), c.bad) << c.what;
    }
}

TEST_F(QuestionCheck, FiveGoodQuestionsAreCountedWithoutAPrompt) {
    addQuestions(5);
    EXPECT_EQ(checkQuestions(answerFromQueue), 0);
    EXPECT_EQ(questionSet.questionCount, 5);
    EXPECT_TRUE(promptedSlots.empty());
}

TEST_F(QuestionCheck, DeletingMovesLaterQuestionsDownWithTheirIds) {
    addQuestions(5);
    slot(1).points = 0;
    slot(2).points = 0;
    promptAnswers = {true, true};
    EXPECT_EQ(checkQuestions(answerFromQueue), 0);
    EXPECT_EQ(promptedSlots, (std::vector<int>{1, 1}));
    EXPECT_EQ(questionSet.questionCount, 3);
    EXPECT_EQ(slot(0).questionId, 1);
    EXPECT_EQ(slot(1).questionId, 4);
    EXPECT_EQ(slot(2).questionId, 5);
    EXPECT_STREQ(slot(2).choices[1], "choice");
    EXPECT_TRUE(slotIsZero(3));
    EXPECT_TRUE(slotIsZero(4));
}

TEST_F(QuestionCheck, KeepingABadQuestionAsksToOutputAnyway) {
    addQuestions(5);
    slot(1).points = 0;
    slot(2).points = 0;
    promptAnswers = {false, false};
    EXPECT_EQ(checkQuestions(answerFromQueue), kCodeBadQuestionKept);
    EXPECT_EQ(promptedSlots, (std::vector<int>{1, 2}));
    EXPECT_EQ(questionSet.questionCount, 5);
    EXPECT_EQ(slot(1).questionId, 2);
    EXPECT_EQ(slot(1).points, 0);
}

TEST_F(QuestionCheck, DeletingEveryQuestionLeavesAnEmptySet) {
    addQuestions(3);
    for (int k = 0; k < 3; ++k) {
        slot(k).text[0] = '\0';
    }
    promptAnswers = {true, true, true};
    EXPECT_EQ(checkQuestions(answerFromQueue), 0);
    EXPECT_EQ(questionSet.questionCount, 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(slotIsZero(k)) << k;
    }
}

TEST_F(QuestionCheck, DeletingFromAFullSetZeroesTheLastSlot) {
    addQuestions(kMaxQuestions);
    slot(0).points = 0;
    promptAnswers = {true};
    EXPECT_EQ(checkQuestions(answerFromQueue), 0);
    EXPECT_EQ(questionSet.questionCount, kMaxQuestions - 1);
    EXPECT_EQ(slot(0).questionId, 2);
    EXPECT_EQ(slot(kMaxQuestions - 2).questionId, kMaxQuestions);
    EXPECT_TRUE(slotIsZero(kMaxQuestions - 1));
}

TEST_F(QuestionCheck, QuotaModeReportsAGenreShortOfQuestions) {
    questionSet.presentationMode = GenreQuota;
    questionSet.genreCount = 2;
    questionSet.genreQuotas[0] = 3;
    questionSet.genreQuotas[1] = 2;
    addQuestions(3, 1);
    addQuestions(1, 2);
    EXPECT_EQ(checkQuestions(answerFromQueue), kCodeGenreShortOfQuestions);
    EXPECT_EQ(questionSet.genreQuotas[0], 3) << "quota mode keeps the user's quotas";
    EXPECT_EQ(questionSet.genreQuotas[1], 2);
}

TEST_F(QuestionCheck, ModesPresentingEveryQuestionDeriveTheQuotas) {
    for (std::int32_t mode : {Sequential, FullRandom}) {
        SetUp();
        questionSet.presentationMode = mode;
        questionSet.genreCount = 2;
        questionSet.genreQuotas[0] = 7;
        addQuestions(3, 1);
        addQuestions(2, 2);
        EXPECT_EQ(checkQuestions(answerFromQueue), kCodeGenreQuotaMissing) << mode;
        EXPECT_EQ(questionSet.genreQuotas[0], 3) << mode;
        EXPECT_EQ(questionSet.genreQuotas[1], 2) << mode;
        EXPECT_EQ(questionSet.genreQuotas[2], 0) << mode;
    }
}

TEST_F(QuestionCheck, OneGenreNeedsNoSecondQuota) {
    questionSet.presentationMode = FullRandom;
    questionSet.genreCount = 1;
    addQuestions(4);
    EXPECT_EQ(checkQuestions(answerFromQueue), 0);
    EXPECT_EQ(questionSet.genreQuotas[0], 4);
}

TEST_F(QuestionCheck, ShortfallOutranksMissingQuotaWhichOutranksAKeptBadQuestion) {
    questionSet.presentationMode = GenreQuota;
    questionSet.genreCount = 3;
    questionSet.genreQuotas[0] = 1;
    questionSet.genreQuotas[1] = 0;
    questionSet.genreQuotas[2] = 1;
    addQuestions(2, 1);
    slot(0).points = 0;
    promptAnswers = {false};
    EXPECT_EQ(checkQuestions(answerFromQueue), kCodeGenreShortOfQuestions) << "genre 3 is empty";

    addQuestions(1, 3);
    promptAnswers = {false};
    EXPECT_EQ(checkQuestions(answerFromQueue), kCodeGenreQuotaMissing);

    questionSet.genreQuotas[1] = 1;
    addQuestions(1, 2);
    promptAnswers = {false};
    EXPECT_EQ(checkQuestions(answerFromQueue), kCodeBadQuestionKept);
}

TEST_F(QuestionCheck, CountsReadFromAFileOutsideTheirRangeAreHarmless) {
    questionSet.presentationMode = 7;
    questionSet.genreCount = 99;
    for (int g = 0; g < kMaxGenres; ++g) {
        questionSet.genreQuotas[g] = 1;
    }
    addQuestions(5);
    slot(2).genre = 0;
    slot(3).genre = 6;
    slot(4).genre = -1;
    EXPECT_EQ(checkQuestions(answerFromQueue), kCodeGenreShortOfQuestions);
    EXPECT_EQ(questionSet.questionCount, 5);

    SetUp();
    questionSet.genreCount = -4;
    addQuestions(1);
    EXPECT_EQ(checkQuestions(answerFromQueue), 0);
}

} // namespace
