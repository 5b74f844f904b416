// tovtool run as a user runs it, on files made by tov's writer and on
// broken ones: exit code, report, written bytes.
#include "model/file_open.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "tests/tovtool/tool_run.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// "ソ" and "表" end in 0x5C, the backslash byte; the \r\n escape is a line break.
const char kSjisText[] = "\x83\x5c\x95\x5c\x82\xcc\\r\\n<b>&";

void setText(char* field, const char* text) {
    std::strcpy(field, text);
}

// Mode 1 with two genres (quotas 2 and 1) and one question of each format:
// a set the check has nothing to say about.
void fillGoodSet() {
    std::memset(&questionSet, 0, sizeof questionSet);
    QuestionSet& s = questionSet;
    setText(s.title, "\x8e\x8e\x8c\xb1 A/B"); // 試験 A/B
    s.presentationMode = GenreQuota;
    s.rankCount = 2;
    s.genreCount = 2;
    setText(s.genreNames[0], "G1");
    setText(s.genreNames[1], "G2");
    s.genreQuotas[0] = 3;
    s.genreQuotas[1] = 1;
    setText(s.rankNames[0], "F");
    setText(s.rankNames[1], "P");
    s.rankThresholds[0] = 70;
    setText(s.rankComments[0], "c1\\r\\nc1");
    setText(s.rankComments[1], "c2");
    const Question questions[] = {
        {1, 1, 1, "", 10300, 10, "ex1", {"a", "b", "c", "d", "e"}},
        {2, 2, 1, "q2", 2, 20, "ex2", {"yes", "no"}},
        {3, 3, 2, "q3", 3, 30, "ex3", {"x", "y", "z"}},
        {4, 4, 1, "q4", 4, 40, "ex4", {"1", "2", "3", "4"}},
    };
    for (int k = 0; k < 4; ++k) {
        s.questions[k] = questions[k];
    }
    setText(s.questions[0].text, kSjisText);
    s.questionCount = 4;
}

class Tovtool : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tovtool_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fillGoodSet();
        plain = writtenSet(false);
        scrambled = writtenSet(true);
    }
    void TearDown() override { fs::remove_all(dir); }

    ToolRun run(const std::vector<std::string>& arguments, const std::string& prefix = "") const {
        return runTool(dir, arguments, prefix);
    }

    std::string file(const std::string& name, const std::string& bytes) const {
        put(dir / name, bytes);
        return name;
    }

    fs::path dir;
    std::string plain;
    std::string scrambled;
};

TEST_F(Tovtool, ChecksASetMadeByTheWriterAsFineInBothForms) {
    const ToolRun r = run({"check", file("good.csv", plain), file("good.eep", scrambled)});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "2 files checked: 2 fine, 0 with problems (0 problems), 0 unreadable\n");
    EXPECT_EQ(r.err, "");
}

struct BrokenCase {
    const char* name;
    int line; // replaced (1-based), or appended at the end when past it
    std::string content;
    int reportedLine;
    const char* kind;
    const char* field;
    int checkCode;
};

const std::string kLongText(6000, 't');

const BrokenCase kBrokenCases[] = {
    {"points 0", 8, "2,2,1,q2,2,0,ex2,yes,no,,,", 8, "badly-entered", "points", 50},
    {"no text", 8, "2,2,1,,2,20,ex2,yes,no,,,", 8, "badly-entered", "text", 50},
    {"no explanation", 8, "2,2,1,q2,2,20,,yes,no,,,", 8, "badly-entered", "explanation", 50},
    {"four choices, no fourth", 10, "4,4,1,q4,4,40,ex4,1,2,3,,", 10, "badly-entered", "choice 4",
     50},
    {"multiple selection, no fifth", 7, "1,1,1,q,10300,10,ex,a,b,c,d,", 7, "badly-entered",
     "choice 5", 50},
    {"format 7", 8, "2,7,1,q2,2,20,ex2,yes,no,,,", 8, "out-of-range", "format", 0},
    {"genre beyond the set's", 8, "2,2,3,q2,2,20,ex2,yes,no,,,", 8, "out-of-range", "genre", 49},
    {"answer beyond the choices", 10, "4,4,1,q4,5,40,ex4,1,2,3,4,", 10, "out-of-range", "answer",
     0},
    {"answer no digit-position code", 7, "1,1,1,q,10301,10,ex,a,b,c,d,e", 7, "out-of-range",
     "answer", 0},
    {"comma typed in the text", 8, "2,2,1,q,r,2,20,ex2,yes,no,,,", 8, "stopped-early", "answer",
     50},
    {"number with more after it", 8, "2,2,1,q2,2,20pt,ex2,yes,no,,,", 8, "stopped-early", "points",
     50},
    {"line not beginning with a number", 9, "x,3,2,q3,3,30,ex3,x,y,z,,", 9, "unreadable-line",
     "questionId", 49},
    {"text too long", 8, "2,2,1," + kLongText + ",2,20,ex2,yes,no,,,", 8, "cut", "text", 0},
    {"line cut short", 8, "2,2,1,q2", 8, "short-line", "answer", 50},
    {"comma in a genre name", 2, "G1,G,2,,,", 2, "extra-fields", "", 0},
    {"a fifth threshold", 5, "70,0,0,0,5", 5, "extra-fields", "", 0},
    {"comma in the title", 1, "A,B,1,3,2,2", 1, "stopped-early", "presentationMode", 0},
    {"genre without quota", 3, "3,0,0,0,0", 3, "quota-missing", "genre quota 2", 47},
    {"genre short of questions", 3, "3,2,0,0,0", 3, "short-of-questions", "genre quota 2", 49},
    {"question id 0 in the middle", 8, "0,2,1,q2,2,20,ex2,yes,no,,,", 8, "set-ends-early",
     "questionId", 49},
};

class BrokenFile : public Tovtool, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFile, IsReportedWithItsLineKindAndField) {
    const BrokenCase& c = GetParam();
    std::vector<std::string> lines = linesOf(plain);
    lines.resize(std::max<std::size_t>(lines.size(), c.line));
    lines[c.line - 1] = c.content;
    const std::string name = file("broken.csv", joined(lines));

    const ToolRun text = run({"check", name});
    EXPECT_EQ(text.exitCode, 1) << text.out;
    EXPECT_NE(text.out.find("broken.csv:" + std::to_string(c.reportedLine) + ": " + c.kind + ": "),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("1 file checked: 0 fine, 1 with problems"), std::string::npos);

    const ToolRun json = run({"check", "--json", name});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_NE(json.out.find("{\"line\": " + std::to_string(c.reportedLine) + ", \"kind\": \"" +
                            c.kind + "\", \"field\": \"" + c.field + "\""),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"checkCode\": " + std::to_string(c.checkCode) + ","),
              std::string::npos)
        << json.out;
}

INSTANTIATE_TEST_SUITE_P(EveryProblemKind, BrokenFile, ::testing::ValuesIn(kBrokenCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

// A folder of sets checked at once: broken, fine, missing, too long, short.
TEST_F(Tovtool, ChecksManyFilesAndSaysWhichCouldNotBeRead) {
    std::string tooLong = plain;
    for (int k = 0; k < 260; ++k) {
        tooLong += std::to_string(k + 5) + ",2,1,q,1,1,e,a,b,,,\r\n";
    }
    std::vector<std::string> header = linesOf(plain);
    header.resize(3);
    const ToolRun r = run({"check", file("long.csv", tooLong), "missing.csv",
                           file("short.csv", joined(header)), file("good.csv", plain)});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("long.csv:263: too-many-lines: more than 256 question lines: lines 263 "
                         "to 270 are not read"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("short.csv:4: short-header:"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("good.csv"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("missing.csv: cannot open the file"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("4 files checked: 1 fine, 2 with problems"), std::string::npos);
    EXPECT_NE(r.out.find(", 1 unreadable\n"), std::string::npos);
}

TEST_F(Tovtool, FormOptionReadsAScrambledFileWhateverItsName) {
    const std::string name = file("scrambled.txt", scrambled);
    // Read as plain, the swapped multiple-selection text is no longer the writer's, but still a
    // text: the file is fine either way; converted, only --form eep gives the set back.
    EXPECT_EQ(run({"convert", "--form", "eep", name, "back.csv"}).exitCode, 0);
    EXPECT_EQ(bytesOf(dir / "back.csv"), plain);
    EXPECT_EQ(run({"convert", name, "same.csv"}).exitCode, 0);
    EXPECT_EQ(bytesOf(dir / "same.csv"), scrambled);
    EXPECT_EQ(run({"check", "--form", "csv", file("plain.eep", plain)}).exitCode, 0);
}

// The details come from what the reader did: what it kept of a cut text in
// the form asked for, and what a field it stopped at holds.
TEST_F(Tovtool, ReportsWhatTheReaderKeptAndWhatAFieldHolds) {
    std::vector<std::string> lines = linesOf(plain);
    lines[7] = "2,2,1,q2,2,20,ex2,yes," + std::string(300, 'b') + ",,,";
    lines[8] = "3,3,2,q3,3,30pt,ex3,x,y,z,,";
    lines[9] = "4,4,1,q4,4,40,ex4," + std::string(254, 'a') + "\x96\xe2" + "x,2,3,4,";
    const std::string name = file("cut.csv", joined(lines));
    const std::string cutTo = "cut.csv:8: cut: choice 2 holds 300 bytes and is cut to the ";

    const ToolRun asPlain = run({"check", name});
    EXPECT_NE(asPlain.out.find(cutTo + "255 that tov keeps\n"), std::string::npos) << asPlain.out;
    EXPECT_NE(asPlain.out.find("cut.csv:9: stopped-early: points holds \"30pt\", more than a "
                               "number: reading of the line stops after its leading number and "
                               "the fields after it are not read (most often a comma typed "
                               "inside a text before it, which split the text)\n"),
              std::string::npos)
        << asPlain.out;
    EXPECT_NE(asPlain.out.find("cut.csv:10: cut: choice 1 holds 257 bytes and is cut to the 254 "
                               "that tov keeps\n"),
              std::string::npos)
        << asPlain.out;

    // Scrambled, a cut text keeps an even length: read so, not unswapped after.
    const ToolRun asScrambled = run({"check", "--form", "eep", name});
    EXPECT_NE(asScrambled.out.find(cutTo + "254 that tov keeps\n"), std::string::npos)
        << asScrambled.out;
    EXPECT_EQ(run({"convert", "--form", "eep", name, "asked.csv"}).exitCode, 1);
    EXPECT_EQ(run({"convert", file("cut.eep", joined(lines)), "named.csv"}).exitCode, 1);
    EXPECT_EQ(bytesOf(dir / "asked.csv"), bytesOf(dir / "named.csv"));
}

TEST_F(Tovtool, ConvertsBothWaysToTheWritersBytes) {
    EXPECT_EQ(run({"convert", file("in.csv", plain), "out.eep"}).exitCode, 0);
    EXPECT_EQ(bytesOf(dir / "out.eep"), scrambled);
    EXPECT_EQ(run({"convert", "out.eep", "again.csv"}).exitCode, 0);
    EXPECT_EQ(bytesOf(dir / "again.csv"), plain);
    EXPECT_EQ(run({"convert", "in.csv", "copy.csv"}).exitCode, 0);
    EXPECT_EQ(bytesOf(dir / "copy.csv"), plain);
    // Nothing is left beside the results.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 6);
}

// Badly entered questions and quotas short of questions are converted as
// they are: the check's deletions and derived quotas are no part of it.
TEST_F(Tovtool, ConvertKeepsBadlyEnteredQuestionsAndQuotas) {
    questionSet.questions[1].points = 0;
    questionSet.genreQuotas[1] = 7;
    const std::string badPlain = writtenSet(false);
    const std::string badScrambled = writtenSet(true);
    EXPECT_EQ(run({"convert", file("bad.csv", badPlain), "bad.eep"}).exitCode, 0);
    EXPECT_EQ(bytesOf(dir / "bad.eep"), badScrambled);
}

TEST_F(Tovtool, ConvertSaysWhatTheFileHeldBeyondTheSet) {
    std::vector<std::string> lines = linesOf(plain);
    lines[7] = "0,2,1,q2,2,20,ex2,yes,no,,,";
    const ToolRun r = run({"convert", file("ended.csv", joined(lines)), "ended.eep"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("ended.csv:8: set-ends-early:"), std::string::npos) << r.err;
    questionSet.questionCount = 1;
    EXPECT_EQ(bytesOf(dir / "ended.eep"), writtenSet(true));
}

TEST_F(Tovtool, FailedWritesLeaveAnExistingOutIntact) {
    std::memset(questionSet.questions[0].explanation, 'e', 3000); // past the limit below
    const std::string in = file("in.csv", writtenSet(false));
    put(dir / "out.eep", "kept");
    // A file size limit plays the full disk: the write fails with EFBIG.
    const ToolRun full = run({"convert", in, "out.eep"}, "ulimit -f 1; trap '' XFSZ;");
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_NE(full.err.find("out.eep: cannot write the file"), std::string::npos) << full.err;
    EXPECT_EQ(bytesOf(dir / "out.eep"), "kept");

    fs::create_directory(dir / "taken.eep");
    EXPECT_EQ(run({"convert", in, "taken.eep"}).exitCode, 2);
    EXPECT_TRUE(fs::is_directory(dir / "taken.eep"));
    EXPECT_EQ(run({"convert", in, "no/such/dir.eep"}).exitCode, 2);
    EXPECT_EQ(run({"export", "--to", "html", in, "no/such/dir.html"}).exitCode, 2);

    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5)
        << "a partial file was left behind";
}

TEST_F(Tovtool, UnreadableInputAndUsageErrorsExitWithTwo) {
    const ToolRun missing = run({"convert", "missing.csv", "out.eep"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("missing.csv: cannot open the file"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "out.eep"));
    fs::create_directory(dir / "folder.csv");
    EXPECT_EQ(run({"check", "folder.csv"}).exitCode, 2);
    EXPECT_EQ(run({"export", "--to", "moodle", "missing.csv", "out.xml"}).exitCode, 2);

    EXPECT_EQ(run({}).exitCode, 2);
    EXPECT_EQ(run({"check"}).exitCode, 2);
    EXPECT_EQ(run({"check", "--form", "txt", "a.csv"}).exitCode, 2);
    EXPECT_EQ(run({"export", "--to", "pdf", "a.csv", "b"}).exitCode, 2);
    EXPECT_EQ(run({"convert", "a.csv"}).exitCode, 2);
    const ToolRun help = run({"export", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--to"), std::string::npos);
}

std::string xmllint(const fs::path& file, const char* options) {
    const fs::path err = file.string() + ".lint";
    const std::string command = std::string("xmllint --noout ") + options + " " +
                                quotedArgument(file.string()) + " 2>" +
                                quotedArgument(err.string());
    const int status = std::system(command.c_str());
    return (status == 0 ? "" : "exit " + std::to_string(status) + " ") + bytesOf(err);
}

struct Expected {
    const char* single;
    std::vector<std::string> fractions; // of the answers in order
    std::vector<std::string> texts;
};

TEST_F(Tovtool, ExportsMoodleXmlWithOneCategoryPerGenre) {
    const ToolRun r = run({"export", "--to", "moodle", file("set.eep", scrambled), "set.xml"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(xmllint(dir / "set.xml", ""), "");

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((dir / "set.xml").c_str()));
    pugi::xml_node question = doc.child("quiz").first_child();
    // Genre 1 holds questions 1, 2 and 4; genre 2 question 3.
    const char* categories[] = {"$course$/top/試験 A//B/G1", "$course$/top/試験 A//B/G2"};
    const std::vector<std::vector<int>> genres = {{1, 2, 4}, {3}};
    const Expected expected[] = {
        {"false", {"50", "0", "50", "0", "0"}, {"a", "b", "c", "d", "e"}},
        {"true", {"0", "100"}, {"yes", "no"}},
        {"true", {"0", "0", "100"}, {"x", "y", "z"}},
        {"true", {"0", "0", "0", "100"}, {"1", "2", "3", "4"}},
    };
    const int points[] = {10, 20, 30, 40};
    for (int g = 0; g < 2; ++g) {
        ASSERT_STREQ(question.attribute("type").value(), "category");
        EXPECT_STREQ(question.child("category").child_value("text"), categories[g]);
        question = question.next_sibling();
        for (const int number : genres[g]) {
            const Expected& e = expected[number - 1];
            SCOPED_TRACE(number);
            ASSERT_STREQ(question.attribute("type").value(), "multichoice");
            EXPECT_EQ(question.child("name").child_value("text"), "問" + std::to_string(number));
            EXPECT_STREQ(question.child_value("single"), e.single);
            EXPECT_EQ(question.child_value("defaultgrade"), std::to_string(points[number - 1]));
            EXPECT_EQ(question.child("generalfeedback").child_value("text"),
                      "ex" + std::to_string(number));
            std::size_t k = 0;
            for (pugi::xml_node a : question.children("answer")) {
                ASSERT_LT(k, e.fractions.size());
                EXPECT_EQ(a.attribute("fraction").value(), e.fractions[k]);
                EXPECT_EQ(a.child_value("text"), e.texts[k]);
                ++k;
            }
            EXPECT_EQ(k, e.fractions.size());
            question = question.next_sibling();
        }
    }
    EXPECT_FALSE(question);
    // The Shift_JIS text, its line break and its markup, as HTML text in UTF-8.
    pugi::xml_node first = doc.child("quiz").child("question").next_sibling();
    EXPECT_STREQ(first.child("questiontext").attribute("format").value(), "html");
    EXPECT_STREQ(first.child("questiontext").child_value("text"), "ソ表の<br>&lt;b&gt;&amp;");
}

TEST_F(Tovtool, ExportsMoodleSharesForThreeCorrectChoices) {
    questionSet.questions[0].answer = 10340;
    const ToolRun r =
        run({"export", "--to", "moodle", file("set.csv", writtenSet(false)), "set.xml"});
    ASSERT_EQ(r.exitCode, 0);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((dir / "set.xml").c_str()));
    std::string fractions;
    for (pugi::xml_node a : doc.child("quiz").child("question").next_sibling().children("answer")) {
        fractions += std::string(a.attribute("fraction").value()) + " ";
    }
    EXPECT_EQ(fractions, "33.33333 0 33.33333 33.33333 0 ");
}

// A control character is no XML at all, even escaped: it is left out.
TEST_F(Tovtool, ExportsMoodleXmlFromTextsXmlCannotHoldAsTheyAre) {
    std::strcpy(questionSet.questions[0].choices[0], "a\x01\"b\x1f");
    std::strcpy(questionSet.title, "T&\x02");
    const ToolRun r =
        run({"export", "--to", "moodle", file("set.csv", writtenSet(false)), "set.xml"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(xmllint(dir / "set.xml", ""), "");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((dir / "set.xml").c_str()));
    const pugi::xml_node category = doc.child("quiz").child("question");
    EXPECT_STREQ(category.child("category").child_value("text"), "$course$/top/T&/G1");
    EXPECT_STREQ(category.next_sibling().child("answer").child_value("text"), "a&quot;b");
}

std::size_t occurrences(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos;
         at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(Tovtool, ExportsAPrintableHtmlTest) {
    const ToolRun r = run({"export", "--to", "html", file("set.csv", plain), "test.html"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(xmllint(dir / "test.html", "--html"), "");
    const std::string html = bytesOf(dir / "test.html");
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<h1>試験 A/B</h1>"), std::string::npos);
    EXPECT_EQ(occurrences(html, "<div class=\"question\">"), 4u);
    EXPECT_EQ(occurrences(html, "<div class=\"answer\">"), 4u);
    EXPECT_EQ(occurrences(html, "<ol class=\"choices multiple\">"), 1u);
    EXPECT_EQ(occurrences(html, "<ol class=\"choices single\">"), 3u);
    // 5 + 2 + 3 + 4 choices, each with its box.
    EXPECT_EQ(occurrences(html, "<li><span class=\"mark\"></span>"), 14u);
    EXPECT_NE(html.find("<p class=\"text\">ソ表の<br>&lt;b&gt;&amp;</p>"), std::string::npos);
    EXPECT_NE(html.find("問1　正解 1・3 <span class=\"points\">（配点 10点）"), std::string::npos);
    EXPECT_NE(html.find("合計 100点"), std::string::npos);
    EXPECT_NE(html.find("size: A4"), std::string::npos);
    EXPECT_NE(html.find(".key { break-before: page;"), std::string::npos);
    EXPECT_NE(html.find("break-inside: avoid"), std::string::npos);
}

} // namespace
