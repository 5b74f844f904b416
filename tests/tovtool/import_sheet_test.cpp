// Spreadsheets saved as text, read into tov questions; and the way out to a
// spreadsheet and back, through the real program, on random sets.
#include "model/question_file.h"
#include "model/question_set.h"
#include "tests/tovtool/tool_run.h"
#include "tools/tovtool/import/import_record.h"
#include "tools/tovtool/import/question_mapping.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

#include <unistd.h>

namespace {

using namespace std::string_literals;

// ASCII as Excel's "Unicode text" saves it.
std::string utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

struct SheetCase {
    const char* name;
    std::string bytes;
    char delimiter;
    Msg error;
    std::vector<Msg> said;
    // The first question as the file holds it, from its question text on.
    const char* firstQuestion;
};

const std::string kHead = "問題文,選択肢1,選択肢2,選択肢3,正解,解説文\r\n";

const SheetCase kSheetCases[] = {
    {"quoted cells",
     kHead + "\"a \"\"b\"\",\nc\",x,y,z,2,e\r\n",
     ',',
     Msg::None,
     {},
     "a \"b\"\x81\x43\\r\\nc,2,1,e,x,y,z,,"},
    {"LF rows, no line end at the end",
     "問題文,選択肢1,選択肢2,正解\nq,x,y,1",
     ',',
     Msg::None,
     {Msg::NoExplanation},
     "q,1,1,,x,y,,,"},
    {"CP932 with 0x5C second bytes",
     "\x96\xE2\x91\xE8\x95\xB6,\x91\x49\x91\xF0\x8E\x88\x82\x50,"
     "\x91\x49\x91\xF0\x8E\x88\x82\x51,\x90\xB3\x89\xF0\r\n"
     "\x83\x5C\x95\x5C,\x83\x5C,\x95\x5C,2\r\n",
     ',',
     Msg::None,
     {Msg::NoExplanation},
     "\x83\x5C\x95\x5C,2,1,,\x83\x5C,\x95\x5C,,,"},
    {"UTF-16 with tabs",
     utf16("q\tquestion\tchoice1\tchoice2\tanswer\nx\tq\t1\t2\tB"),
     '\t',
     Msg::None,
     {Msg::UnknownColumn, Msg::NoExplanation},
     "q,2,1,,1,2,,,"},
    {"English headers in any order, full-width",
     "Answer,Explanation,Choice 2,Choice１,Question,"
     "Points,Genre,Format\r\n"
     "Ａ・ｃ,e,y,x,q,３,g,複数選択\r\n",
     ',',
     Msg::None,
     {Msg::SkipMarkOnMissing},
     nullptr},
    {"answers by letter and separators",
     kHead + "q,x,y,z,\"1、3\",e\r\nq,x,y,z,２・３,e\r\n",
     ',',
     Msg::None,
     {Msg::FillChoice, Msg::FillChoice},
     "q,10300,1,e,x,y,z,,"},
    {"format by number agrees",
     "出題形式," + kHead + "3,q,x,y,z,3,e\r\n",
     ',',
     Msg::None,
     {},
     "q,3,1,e,x,y,z,,"},
    {"format unknown",
     "出題形式," + kHead + "5択,q,x,y,z,3,e\r\n",
     ',',
     Msg::None,
     {Msg::SkipFormatUnknown},
     nullptr},
    {"points not a number",
     "配点," + kHead + "many,q,x,y,z,3,e\r\n",
     ',',
     Msg::None,
     {Msg::SkipPointsUnreadable},
     nullptr},
    {"answer names no choice",
     kHead + "q,x,y,z,first,e\r\n",
     ',',
     Msg::None,
     {Msg::SkipAnswerUnreadable},
     nullptr},
    {"blank rows and an unknown column",
     "\r\n備考," + kHead + ",,,,,,\r\nn,q,x,y,,1,e\r\n",
     ',',
     Msg::None,
     {Msg::UnknownColumn},
     "q,1,1,e,x,y,,,"},
    {"no question column", "選択肢1,正解\r\nx,1\r\n", ',', Msg::NoQuestionColumn, {}, nullptr},
    {"no answer column", "問題文,選択肢1\r\nx,1\r\n", ',', Msg::NoAnswerColumn, {}, nullptr},
    {"empty file", "", ',', Msg::NoQuestionColumn, {}, nullptr},
};

// The question line tov writes for slot 0, from its text on.
std::string firstQuestionLine() {
    std::string line = linesOf(writtenSet(false)).at(kHeaderLines);
    for (int field = 0; field < 3; ++field) {
        line.erase(0, line.find(',') + 1);
    }
    return line;
}

TEST(ImportSheet, ReadsTheTemplatesColumnsAsSpreadsheetsSaveThem) {
    for (const SheetCase& c : kSheetCases) {
        ImportBatch batch;
        readDelimited(c.bytes, c.delimiter, batch);
        EXPECT_EQ(batch.error, c.error) << c.name;
        std::memset(&questionSet, 0, sizeof questionSet);
        ImportState state = startImport(0);
        ImportReport report;
        importRecords(batch, "in", state, report);
        finishImport(state);
        questionSet.questionCount = state.questions;
        std::vector<Msg> said;
        for (const ImportReportLine& line : report) {
            said.push_back(line.id);
        }
        EXPECT_EQ(said, c.said) << c.name;
        if (c.firstQuestion != nullptr) {
            EXPECT_EQ(firstQuestionLine(), c.firstQuestion) << c.name;
        }
    }
}

// ---- Out to a spreadsheet and back, through the program

// Characters a teacher types, among them second bytes of 0x5C, the
// extensions Windows adds and the line-break escape.
const char* const kPieces[] = {
    "\x83\x5C", "\x95\x5C", "\x87\x40", "\xFB\xFC", "\x81\x43", "\x82\xA0", "\x88\x9F", "a",
    " ",        "\"",       "\\r\\n",   "'",        "=",        "\x81\x60", "\x81\x8F", "\xB1"};

std::string randomText(std::mt19937& random, int most, bool lines) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(1, most)(random);
    for (int i = 0; i < count; ++i) {
        const char* piece = kPieces[random() % std::size(kPieces)];
        if (lines || std::strcmp(piece, "\\r\\n") != 0) {
            text += piece;
        }
    }
    return text.empty() ? "x" : text;
}

// A set as tov's pages leave one: every format, genres named once each,
// choices filled up to the format's count.
void fillRandomSet(std::mt19937& random, int questions) {
    std::memset(&questionSet, 0, sizeof questionSet);
    QuestionSet& s = questionSet;
    std::strcpy(s.title, "T");
    s.questionCount = questions;
    s.presentationMode = static_cast<std::int32_t>(random() % 3);
    s.rankCount = 3;
    s.genreCount = 1 + static_cast<std::int32_t>(random() % 5);
    for (int g = 0; g < s.genreCount; ++g) {
        std::snprintf(s.genreNames[g], kNameSize, "G%d%s", g, randomText(random, 3, false).c_str());
        s.genreQuotas[g] = g;
    }
    std::strcpy(s.rankNames[2], "R");
    s.rankThresholds[1] = 50;
    std::strcpy(s.rankComments[0], "c\\r\\nc");
    for (int k = 0; k < questions; ++k) {
        Question& q = s.questions[k];
        q.questionId = k + 1;
        q.format = 1 + static_cast<std::int32_t>(random() % 4);
        q.genre = 1 + static_cast<std::int32_t>(random() % static_cast<unsigned>(s.genreCount));
        q.points = 1 + static_cast<std::int32_t>(random() % 100);
        const int choices = q.format == 1 ? 5 : q.format;
        q.answer = q.format == 1 ? 10000 * static_cast<std::int32_t>(random() % 2) + 300 + 5
                                 : 1 + static_cast<std::int32_t>(random() % choices);
        std::strcpy(q.text, randomText(random, 200, true).c_str());
        std::strcpy(q.explanation, randomText(random, 40, true).c_str());
        for (int c = 0; c < choices; ++c) {
            std::strcpy(q.choices[c], randomText(random, 20, false).c_str());
        }
    }
}

// The question lines with each genre by its name: a set made without
// --settings numbers the genres in the order it meets them.
std::vector<std::string> questionLines(const std::string& file) {
    const std::vector<std::string> lines = linesOf(file);
    std::vector<std::string> names;
    std::istringstream header(lines.at(1));
    for (std::string name; std::getline(header, name, ',');) {
        names.push_back(name);
    }
    std::vector<std::string> out;
    for (std::size_t i = kHeaderLines; i < lines.size(); ++i) {
        const std::size_t from = lines[i].find(',', lines[i].find(',') + 1) + 1;
        const std::size_t to = lines[i].find(',', from);
        const std::size_t genre = std::stoul(lines[i].substr(from, to - from));
        out.push_back(lines[i].substr(0, from) + names.at(genre - 1) + lines[i].substr(to));
    }
    return out;
}

class SheetRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tovtool_sheet_" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Re-saves the sheet as Excel's other encodings do.
    void resave(const char* from, const char* to, const char* how) {
        const std::string script =
            "import csv,io,sys\n"
            "rows=list(csv.reader(io.open(sys.argv[1],encoding='utf-8-sig',newline='')))\n"
            "enc,delim={'cp932':('cp932',','),'utf16':('utf-16',chr(9))}[sys.argv[3]]\n"
            "out=io.StringIO();csv.writer(out,delimiter=delim,lineterminator='\\r\\n')"
            ".writerows(rows)\n"
            "open(sys.argv[2],'wb').write(out.getvalue().encode(enc))\n";
        put(dir / "resave.py", script);
        const std::string command = "python3 " + quotedArgument((dir / "resave.py").string()) +
                                    " " + quotedArgument((dir / from).string()) + " " +
                                    quotedArgument((dir / to).string()) + " " + how;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    fs::path dir;
};

TEST_F(SheetRoundTrip, ASetComesBackFromItsSpreadsheetInEveryEncoding) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 6; ++round) {
        fillRandomSet(random, round == 0 ? kMaxQuestions : 1 + round * 7);
        const bool scrambled = round % 2 == 1;
        const std::string set = writtenSet(scrambled);
        const std::string name = scrambled ? "set.eep" : "set.csv";
        put(dir / name, set);
        ASSERT_EQ(runTool(dir, {"export", "--to", "csv", name, "sheet.csv"}).exitCode, 0);
        EXPECT_EQ(bytesOf(dir / "sheet.csv").compare(0, 3, "\xEF\xBB\xBF"), 0);
        resave("sheet.csv", "sheet-cp932.csv", "cp932");
        resave("sheet.csv", "sheet-utf16.txt", "utf16");
        for (const char* sheet : {"sheet.csv", "sheet-cp932.csv", "sheet-utf16.txt"}) {
            const ToolRun plain = runTool(dir, {"import", sheet, "back.csv"});
            EXPECT_EQ(plain.exitCode, 0) << round << sheet << plain.out << plain.err;
            EXPECT_TRUE(questionLines(bytesOf(dir / "back.csv")) ==
                        questionLines(writtenSet(false)))
                << round << sheet;
            const ToolRun kept =
                runTool(dir, {"import", "--settings", name, sheet, "back" + name.substr(3)});
            EXPECT_EQ(kept.exitCode, 0) << round << sheet << kept.out << kept.err;
            EXPECT_TRUE(bytesOf(dir / ("back" + name.substr(3))) == set) << round << sheet;
        }
    }
}

} // namespace
