// The one step from records to tov questions, and the code-page conversion
// it stores texts with: one row per rule.
#include "model/question_set.h"
#include "pages/page_input.h"
#include "tools/tovtool/import/question_mapping.h"
#include "tools/tovtool/import/text_encoding.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ImportRecord record(std::vector<std::string> choices, std::vector<double> credit, int format = 0) {
    ImportRecord r;
    r.place.line = 7;
    r.text = "問題";
    r.explanation = "解説";
    r.choices = std::move(choices);
    r.credit = std::move(credit);
    r.format = format;
    return r;
}

struct MappingCase {
    const char* name;
    ImportRecord in;
    bool kept;
    std::int32_t format;
    std::int32_t answer;
    std::vector<Msg> said; // in order
};

ImportRecord with(ImportRecord r, void (*change)(ImportRecord&)) {
    change(r);
    return r;
}

const std::vector<std::string> kThree = {"a", "b", "c"};
const std::vector<std::string> kFive = {"a", "b", "c", "d", "e"};

const MappingCase kMappingCases[] = {
    {"one of three", record(kThree, {0, 100, 0}), true, 3, 2, {}},
    {"one of two, empties after", record({"a", "b", "", ""}, {100}), true, 2, 1, {}},
    {"one of five", record(kFive, {0, 0, 100, 0, 0}), true, 1, 300, {Msg::BecomesMultiple}},
    {"one of five stated multiple", record(kFive, {0, 0, 100}, 1), true, 1, 300, {}},
    {"several of three", record(kThree, {100, 0, 100}), true, 1, 10300, {Msg::FillChoice}},
    {"weights only", record(kThree, {50, 50, -100}), true, 1, 12000, {Msg::FillChoice}},
    {"partial beside full",
     record({"a", "b", "c", "d"}, {100, 50, 0, 0}),
     true,
     4,
     1,
     {Msg::PartialCreditDropped}},
    {"stated format agrees", record({"a", "b", "c", "d"}, {0, 0, 0, 100}, 4), true, 4, 4, {}},
    {"stated format disagrees", record(kThree, {100}, 2), false, 0, 0, {Msg::SkipFormatDisagrees}},
    {"several stated single",
     record(kThree, {100, 100}, 3),
     false,
     0,
     0,
     {Msg::SkipFormatDisagrees}},
    {"one choice", record({"a"}, {100}), false, 0, 0, {Msg::SkipFewChoices}},
    {"six choices",
     record({"a", "b", "c", "d", "e", "f"}, {100}),
     false,
     0,
     0,
     {Msg::SkipManyChoices}},
    {"gap", record({"a", "", "c"}, {100}), false, 0, 0, {Msg::SkipGap}},
    {"none correct", record(kThree, {0, 0, -50}), false, 0, 0, {Msg::SkipNoCorrect}},
    {"mark on a missing choice",
     record(kThree, {0, 0, 0, 100}),
     false,
     0,
     0,
     {Msg::SkipMarkOnMissing}},
    {"reader's skip",
     with(record(kThree, {100}), [](ImportRecord& r) { r.skip = Msg::SkipType; }),
     false,
     0,
     0,
     {Msg::SkipType}},
    {"points rounded",
     with(record(kThree, {100}),
          [](ImportRecord& r) {
              r.hasPoints = true;
              r.points = 2.5;
          }),
     true,
     3,
     1,
     {Msg::PointsRounded}},
    {"points zero",
     with(record(kThree, {100}),
          [](ImportRecord& r) {
              r.hasPoints = true;
              r.points = 0.4;
          }),
     false,
     0,
     0,
     {Msg::SkipPointsTooLow}},
    {"no explanation, no text",
     with(record(kThree, {100}),
          [](ImportRecord& r) {
              r.text = "";
              r.explanation = "";
          }),
     true,
     3,
     1,
     {Msg::NoText, Msg::NoExplanation}},
    {"accents, 〓 and a cut",
     with(record(kThree, {100}),
          [](ImportRecord& r) {
              r.text = "café 😀";
              r.choices[0] = std::string(300, 'x');
          }),
     true,
     3,
     1,
     {Msg::NotInCodePage, Msg::Cut, Msg::Accents}},
    {"line breaks cut as escapes",
     with(record(kThree, {100}), [](ImportRecord& r) { r.text = std::string(2000, '\n'); }),
     true,
     3,
     1,
     {Msg::Cut}},
    {"reader's note kept",
     with(record(kThree, {100}),
          [](ImportRecord& r) {
              r.notes.push_back({r.place, Msg::FeedbackDropped, {}});
          }),
     true,
     3,
     1,
     {Msg::FeedbackDropped}},
};

TEST(ImportMapping, EachRecordBecomesAQuestionOrASkipWithItsReason) {
    for (const MappingCase& c : kMappingCases) {
        std::memset(&questionSet, 0, sizeof questionSet);
        ImportBatch batch;
        batch.records.push_back(c.in);
        ImportState state = startImport(0);
        ImportReport report;
        importRecords(batch, "in.csv", state, report);
        std::vector<Msg> said;
        for (const ImportReportLine& line : report) {
            said.push_back(line.id);
            EXPECT_EQ(line.place.line, 7) << c.name;
            EXPECT_EQ(line.skipped, !c.kept) << c.name;
            EXPECT_EQ(line.question, c.kept ? 1 : 0) << c.name;
        }
        EXPECT_EQ(said, c.said) << c.name;
        EXPECT_EQ(state.questions, c.kept ? 1 : 0) << c.name;
        const Question& q = questionSet.questions[0];
        EXPECT_EQ(q.questionId, c.kept ? 1 : 0) << c.name;
        EXPECT_EQ(q.format, c.format) << c.name;
        EXPECT_EQ(q.answer, c.answer) << c.name;
    }
}

TEST(ImportMapping, NumbersGenresInTheOrderMetAndSkipsASixth) {
    std::memset(&questionSet, 0, sizeof questionSet);
    ImportBatch batch;
    const char* genres[] = {"B", "A", "", "B", "C", "D", "E", "F", "A"};
    for (const char* g : genres) {
        batch.records.push_back(record(kThree, {100}));
        batch.records.back().genre = g;
    }
    batch.records[1].choices = {"only"}; // skipped: A takes no number, and comes sixth
    ImportState state = startImport(0);
    ImportReport report;
    importRecords(batch, "in.gift", state, report);
    finishImport(state);
    ASSERT_EQ(state.questions, 7);
    EXPECT_EQ(state.skipped, 2);
    const std::int32_t expected[] = {1, 1, 1, 2, 3, 4, 5};
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(questionSet.questions[slot].genre, expected[slot]) << slot;
    }
    EXPECT_STREQ(questionSet.genreNames[4], "F");
    EXPECT_EQ(questionSet.genreCount, 5);
    EXPECT_EQ(questionSet.genreQuotas[0], 3);
    EXPECT_EQ(questionSet.genreQuotas[4], 1);
    EXPECT_EQ(report.back().id, Msg::SkipSixthGenre);
}

TEST(ImportMapping, KeepsTheGivenGenresAndTheirQuotas) {
    std::memset(&questionSet, 0, sizeof questionSet);
    std::strcpy(questionSet.genreNames[0], "x");
    std::strcpy(questionSet.genreNames[1], "y");
    questionSet.genreQuotas[0] = 9;
    ImportBatch batch;
    for (const char* g : {"y", "z"}) {
        batch.records.push_back(record(kThree, {100}));
        batch.records.back().genre = g;
    }
    ImportState state = startImport(2);
    ImportReport report;
    importRecords(batch, "in.csv", state, report);
    finishImport(state);
    EXPECT_EQ(questionSet.questions[0].genre, 2);
    EXPECT_EQ(questionSet.questions[1].genre, 3);
    EXPECT_EQ(questionSet.genreQuotas[0], 9);
    EXPECT_EQ(questionSet.genreQuotas[2], 1);
    EXPECT_EQ(questionSet.genreCount, 3);
}

TEST(ImportMapping, StopsAtTheLastSlot) {
    std::memset(&questionSet, 0, sizeof questionSet);
    ImportBatch batch;
    batch.records.assign(kMaxQuestions + 2, record(kThree, {100}));
    ImportState state = startImport(0);
    ImportReport report;
    importRecords(batch, "in.csv", state, report);
    EXPECT_EQ(state.questions, kMaxQuestions);
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[1].id, Msg::SkipPastLast);
    EXPECT_EQ(questionSet.questions[kMaxQuestions - 1].questionId, kMaxQuestions);
}

struct StoredText {
    const char* utf8;
    const char* stored; // as a text field of the model holds it
    bool approximated;
    const char* unrepresented;
};

// Windows' own choices where CP932 holds a character twice, and the forms
// other systems write for the same characters.
const StoredText kStoredTexts[] = {
    {"髙①㈱Ⅲ≒", "\xFB\xFC\x87\x40\x87\x8A\x87\x56\x81\xE0", false, ""},
    {"〜‖−—¢£¬", "\x81\x60\x81\x61\x81\x7C\x81\x5C\x81\x91\x81\x92\x81\xCA", false, ""},
    {"～∥－―￠￡￢", "\x81\x60\x81\x61\x81\x7C\x81\x5C\x81\x91\x81\x92\x81\xCA", false, ""},
    {"¥100",
     "\x81\x8F"
     "100",
     false, ""},
    {"a\xC2\xA0"
     "b\xE2\x80\x83"
     "c\xE2\x80\xAF"
     "d",
     "a b c d", false, ""},
    {"éñßÆ–", "enssAE-", true, ""},
    {"ソ表", "\x83\x5C\x95\x5C", false, ""},
    {"a,b",
     "a\x81\x43"
     "b",
     false, ""},
    {"行1\r\n行2\n行3\r",
     "\x8D\x73"
     "1\\r\\n\x8D\x73"
     "2\\r\\n\x8D\x73"
     "3\\r\\n",
     false, ""},
    {"😀한😀", "\x81\xAC\x81\xAC\x81\xAC", false, "😀한"},
};

TEST(ImportText, ConvertsAsWindowsWritesTheCodePage) {
    for (const StoredText& t : kStoredTexts) {
        const Cp932Text text = cp932FromUtf8(t.utf8);
        char field[64];
        storeFieldText(text.bytes.c_str(), field, TextLines::Escaped);
        EXPECT_STREQ(field, t.stored) << t.utf8;
        EXPECT_EQ(text.approximated, t.approximated) << t.utf8;
        EXPECT_EQ(text.unrepresented, t.unrepresented) << t.utf8;
    }
}

struct Decoded {
    std::string bytes;
    const char* utf8;
};

using namespace std::string_literals;

const Decoded kDecoded[] = {
    {"\xEF\xBB\xBF\xE6\x9D\xB1"s, "東"},
    {"\xFF\xFE\x71\x67\x3D\xD8\x00\xDE"s, "東😀"},
    {"\xFE\xFF\x67\x71\x00\x61"s, "東a"},
    {"\x83\x5C\x95\x5C,a"s, "ソ表,a"},
    {"\xE6\x9D\xB1"s, "東"},
    {"\xFF\xFE\x00\xD8"
     "a\x00"s,
     "\xEF\xBF\xBD"
     "a"},
};

TEST(ImportText, DecodesByTheBomElseUtf8ElseTheCodePage) {
    for (const Decoded& d : kDecoded) {
        EXPECT_EQ(decodeText(d.bytes), d.utf8);
    }
}

} // namespace
