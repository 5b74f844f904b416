// tovtool as a teacher meets it: in Japanese or English, comparing two
// versions of a set, and putting sets together.
#include "model/question_set.h"
#include "tests/tovtool/tool_run.h"
#include "tools/tovtool/messages.h"

#include <gtest/gtest.h>

#include <cstring>

#include <unistd.h>

namespace {

std::size_t placeholders(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("{}"); at != std::string::npos; at = text.find("{}", at + 2)) {
        ++count;
    }
    return count;
}

TEST(Catalogue, EveryTextHasBothLanguagesWithTheSameBlanks) {
    for (int i = 1; i < static_cast<int>(Msg::Count); ++i) {
        const Msg id = static_cast<Msg>(i);
        const std::string ja = messageText(id, Lang::Ja);
        const std::string en = messageText(id, Lang::En);
        EXPECT_FALSE(ja.empty()) << messageKey(id);
        EXPECT_FALSE(en.empty()) << messageKey(id);
        EXPECT_EQ(placeholders(ja), placeholders(en)) << messageKey(id);
        EXPECT_NE(std::string(messageKey(id)).find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), 0u)
            << messageKey(id);
    }
}

class Teacher : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tovtool_teacher_" + std::to_string(getpid()));
        fs::create_directories(dir);
        fillSet();
        put(dir / "a.csv", writtenSet(false));
        put(dir / "a.eep", writtenSet(true));
    }
    void TearDown() override { fs::remove_all(dir); }

    // Two genres, three questions: one of each format but the multiple one.
    static void fillSet() {
        std::memset(&questionSet, 0, sizeof questionSet);
        QuestionSet& s = questionSet;
        std::strcpy(s.title, "T");
        s.rankCount = 2;
        s.genreCount = 2;
        std::strcpy(s.genreNames[0], "G1");
        std::strcpy(s.genreNames[1], "G2");
        s.genreQuotas[0] = 2;
        s.genreQuotas[1] = 1;
        std::strcpy(s.rankNames[0], "F");
        std::strcpy(s.rankNames[1], "P");
        s.rankThresholds[0] = 70;
        std::strcpy(s.rankComments[0], "c");
        const Question questions[] = {
            {1, 2, 1, "q1", 2, 1, "e1", {"a", "b"}},
            {2, 3, 2, "q2", 3, 2, "e2", {"x", "y", "z"}},
            {3, 4, 1, "q3", 1, 3, "e3", {"1", "2", "3", "4"}},
        };
        std::copy(std::begin(questions), std::end(questions), s.questions);
        s.questionCount = 3;
    }

    ToolRun run(const std::vector<std::string>& arguments, const std::string& env = "") {
        return runTool(dir, arguments, env);
    }

    fs::path dir;
};

struct LanguageCase {
    const char* env;
    std::vector<std::string> arguments;
    const char* summary;
};

const LanguageCase kLanguageCases[] = {
    {"", {"check", "a.csv"}, "1 file checked: 1 fine"},
    {"LC_ALL=ja_JP.UTF-8", {"check", "a.csv"}, "1 ファイルを確認しました: 問題なし 1"},
    {"LC_ALL= LANG=ja_JP.UTF-8", {"check", "a.csv"}, "1 ファイルを確認しました"},
    {"LC_ALL=ja_JP.UTF-8", {"--lang", "en", "check", "a.csv"}, "1 file checked"},
    {"", {"--lang=ja", "check", "a.csv"}, "1 ファイルを確認しました"},
    {"", {"--lang", "ja", "diff", "a.csv", "a.eep"}, "a.csv と a.eep は同じ問題集です"},
    {"", {"--lang", "ja", "check", "--help"}, "各ファイルを tov と同じように読み"},
};

TEST_F(Teacher, SpeaksJapaneseWhereTheUserDoes) {
    for (const LanguageCase& c : kLanguageCases) {
        // runTool makes the locale C; an assignment after it changes that.
        const ToolRun r = run(
            c.arguments, std::string(c.env).empty() ? "" : std::string("export ") + c.env + ";");
        EXPECT_NE(r.out.find(c.summary), std::string::npos) << c.env << "\n" << r.out << r.err;
    }
}

struct DiffCase {
    const char* name;
    void (*change)(QuestionSet&);
    const char* field; // in the JSON report
    int question;
};

const DiffCase kDiffCases[] = {
    {"title", [](QuestionSet& s) { std::strcpy(s.title, "U"); }, "title", 0},
    {"mode", [](QuestionSet& s) { s.presentationMode = 1; }, "presentationMode", 0},
    {"ranks", [](QuestionSet& s) { s.rankCount = 3; }, "rankCount", 0},
    {"genres", [](QuestionSet& s) { s.genreCount = 3; }, "genreCount", 0},
    {"rank name", [](QuestionSet& s) { std::strcpy(s.rankNames[4], "R"); }, "rank name 5", 0},
    {"threshold", [](QuestionSet& s) { s.rankThresholds[1] = 9; }, "threshold 2", 0},
    {"comment", [](QuestionSet& s) { std::strcpy(s.rankComments[0], "d"); }, "rank comment 1", 0},
    {"genre name", [](QuestionSet& s) { std::strcpy(s.genreNames[1], "H"); }, "genre name 2", 0},
    {"quota", [](QuestionSet& s) { s.genreQuotas[0] = 1; }, "genre quota 1", 0},
    {"id", [](QuestionSet& s) { s.questions[2].questionId = 7; }, "questionId", 3},
    {"format", [](QuestionSet& s) { s.questions[1].format = 4; }, "format", 2},
    {"genre", [](QuestionSet& s) { s.questions[0].genre = 2; }, "genre", 1},
    {"text", [](QuestionSet& s) { std::strcpy(s.questions[0].text, "q0"); }, "text", 1},
    {"answer", [](QuestionSet& s) { s.questions[2].answer = 4; }, "answer", 3},
    {"points", [](QuestionSet& s) { s.questions[1].points = 5; }, "points", 2},
    {"explanation", [](QuestionSet& s) { s.questions[1].explanation[0] = 'E'; }, "explanation", 2},
    {"choice", [](QuestionSet& s) { std::strcpy(s.questions[2].choices[3], "four"); }, "choice 4",
     3},
    {"added",
     [](QuestionSet& s) {
         s.questions[3] = s.questions[0];
         s.questionCount = 4;
     },
     "", 4},
    {"removed",
     [](QuestionSet& s) {
         s.questionCount = 2;
         s.questions[2] = {};
     },
     "", 3},
};

TEST_F(Teacher, DiffNamesEachChangeOnceAndNothingForTheSameSet) {
    const ToolRun same = run({"diff", "--json", "a.csv", "a.eep"});
    EXPECT_EQ(same.exitCode, 0) << same.out;
    EXPECT_NE(same.out.find("\"same\": true"), std::string::npos);
    for (const DiffCase& c : kDiffCases) {
        fillSet();
        c.change(questionSet);
        put(dir / "b.eep", writtenSet(true));
        const ToolRun r = run({"diff", "--json", "a.csv", "b.eep"});
        EXPECT_EQ(r.exitCode, 1) << c.name;
        const std::string entry = std::string("{\"question\": ") + std::to_string(c.question) +
                                  ", \"field\": \"" + c.field + "\"";
        const std::size_t at = r.out.find(entry);
        EXPECT_NE(at, std::string::npos) << c.name << "\n" << r.out;
        EXPECT_EQ(r.out.find("{\"question\"", at + 1), std::string::npos) << c.name << "\n"
                                                                          << r.out;
    }
    EXPECT_EQ(run({"diff", "a.csv", "missing.csv"}).exitCode, 2);
}

TEST_F(Teacher, DiffShortensLongTextsAroundTheirFirstDifference) {
    std::memset(questionSet.questions[0].text, 'a', 3000);
    put(dir / "a.csv", writtenSet(false));
    questionSet.questions[0].text[2000] = 'b';
    put(dir / "b.csv", writtenSet(false));
    const ToolRun r = run({"diff", "a.csv", "b.csv"});
    EXPECT_NE(r.out.find("question 1, question text: \"…aaaaaaaaaaaaaaaaaaaaaaaa…\" → "
                         "\"…aaaaaaaabaaaaaaaaaaaaaaa…\""),
              std::string::npos)
        << r.out;
}

TEST_F(Teacher, MergeMatchesGenresByNameAndLeavesDuplicatesOut) {
    questionSet.questions[0].text[0] = 'Q';       // new; the other two are duplicates
    std::strcpy(questionSet.genreNames[0], "G3"); // its genre 1 is a new genre
    questionSet.questions[1].genre = 1;
    put(dir / "b.csv", writtenSet(false));
    put(dir / "sheet.csv", "問題文,選択肢1,選択肢2,正解,解説文,ジャンル\r\nq9,a,b,2,e,G2\r\n");
    const ToolRun r = run({"merge", "a.eep", "b.csv", "sheet.csv", "m.csv"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("b.csv:line 9: \"q3\": the same text and choices as question 3: skipped"),
              std::string::npos)
        << r.out;
    const std::vector<std::string> lines = linesOf(bytesOf(dir / "m.csv"));
    ASSERT_EQ(lines.size(), 11u) << r.out;
    EXPECT_EQ(lines[0], "T,0,5,2,3");
    EXPECT_EQ(lines[1], "G1,G2,G3,,");
    EXPECT_EQ(lines[2], "2,1,1,0,0");
    EXPECT_EQ(lines[9], "4,2,3,Q1,2,1,e1,a,b,,,");
    EXPECT_EQ(lines[10], "5,2,2,q9,2,1,e,a,b,,,");
}

TEST_F(Teacher, MergeRefusesASixthGenreNamingIt) {
    for (const char* name : {"G3", "G4", "G5", "G6"}) {
        std::strcpy(questionSet.genreNames[0], name);
        questionSet.questions[0].text[1] = name[1];
        put(dir / (std::string(name) + ".csv"), writtenSet(false));
    }
    const ToolRun r = run({"merge", "a.csv", "G3.csv", "G4.csv", "G5.csv", "G6.csv", "m.csv"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("「G6」"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "m.csv"));
}

} // namespace
