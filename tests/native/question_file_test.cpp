#include "model/question_file.h"

#include "model/file_open.h"
#include "model/question_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char kHeaderText[] = "T,0,1,2,1\r\nG,,,,\r\n1,0,0,0,0\r\nF,P,,,\r\n70,0,0,0\r\nc1,c2,,,\r\n";
const std::string kPlainExample = std::string(kHeaderText) + "1,2,1,ab,1,10,xy,cd,ef,,,\r\n";
const std::string kScrambledExample = std::string(kHeaderText) + "1,2,1,ba,1,10,yx,dc,fe,,,\r\n";

QuestionSet expected; // a copy of the model to compare with

Question& slot(int k) {
    return questionSet.questions[k];
}

void fillExampleSet() {
    QuestionSet& s = questionSet;
    std::strcpy(s.title, "T");
    s.genreCount = 1;
    std::strcpy(s.genreNames[0], "G");
    s.genreQuotas[0] = 1;
    s.rankCount = 2;
    std::strcpy(s.rankNames[0], "F");
    std::strcpy(s.rankNames[1], "P");
    s.rankThresholds[0] = 70;
    std::strcpy(s.rankComments[0], "c1");
    std::strcpy(s.rankComments[1], "c2");
    s.questionCount = 1;
    Question& q = slot(0);
    q = Question{1, 2, 1, "ab", 1, 10, "xy", {"cd", "ef"}};
}

// Exactly size - 1 bytes, never a comma, CR, LF or zero, never ending in
// half a character; the seed makes each field different.
void fillMaximal(char* text, std::size_t size, int seed) {
    static const char piece[] = "\x96\xe2\x91\xe8\\r\\n \x83\x5c-";
    const std::size_t pieceLength = sizeof piece - 1;
    std::size_t n = 0;
    text[n++] = static_cast<char>('A' + seed % 26);
    text[n++] = static_cast<char>('a' + seed / 26 % 26);
    for (; n + pieceLength < size; n += pieceLength) {
        std::memcpy(text + n, piece, pieceLength);
    }
    for (; n < size - 1; ++n) {
        text[n] = 'z';
    }
    text[n] = '\0';
}

template <std::size_t N> void fillMaximal(char (&text)[N], int seed) {
    fillMaximal(text, N, seed);
}

void fillMaximalSet() {
    QuestionSet& s = questionSet;
    int seed = 0;
    fillMaximal(s.title, seed++);
    s.presentationMode = GenreQuota;
    s.rankCount = INT32_MIN;
    s.genreCount = INT32_MAX;
    for (int i = 0; i < 5; ++i) {
        fillMaximal(s.genreNames[i], seed++);
        fillMaximal(s.rankNames[i], seed++);
        fillMaximal(s.rankComments[i], seed++);
        s.genreQuotas[i] = -100000000 - i;
    }
    for (int i = 0; i < 4; ++i) {
        s.rankThresholds[i] = INT32_MIN + i;
    }
    s.questionCount = kMaxQuestions;
    for (int k = 0; k < kMaxQuestions; ++k) {
        Question& q = slot(k);
        q.questionId = k + 1;
        q.format = k % 4 + 1;
        q.genre = -k;
        q.answer = INT32_MIN;
        q.points = INT32_MAX - k;
        fillMaximal(q.text, seed++);
        fillMaximal(q.explanation, seed++);
        for (char* choice : q.choices) {
            fillMaximal(choice, kNameSize, seed++);
        }
    }
    // The last field is the rest of the line: commas and spaces belong to it.
    std::memcpy(slot(7).choices[4], "A B,C,,", 7);
}

class QuestionFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&questionSet, 0, sizeof questionSet);
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name) {
            c = c == '/' ? '_' : c;
        }
        dir = fs::path(::testing::TempDir()) /
              ("tov_question_file_" + name + "_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::wstring pathOf(const std::string& name) const { return (dir / name).wstring(); }

    std::wstring fileWith(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return pathOf(name);
    }

    std::string bytesOf(const std::wstring& path) const {
        std::ifstream in(fs::path(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::wstring written(const std::string& name, bool scrambled) const {
        const std::wstring path = pathOf(name);
        std::FILE* file = openFile(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        EXPECT_TRUE(writeQuestionSet(file, scrambled));
        std::fclose(file);
        return path;
    }

    // Reads both parts of a file into a zero model.
    static void readBack(const std::wstring& path) {
        std::memset(&questionSet, 0, sizeof questionSet);
        EXPECT_EQ(readHeaderLines(path.c_str()), 0);
        EXPECT_EQ(readQuestionLines(path.c_str()), 0);
    }

    // A file with the example header and the given question lines.
    std::wstring questionFile(const std::string& name, const std::string& lines) const {
        return fileWith(name, kHeaderText + lines);
    }

    fs::path dir;
};

TEST_F(QuestionFile, WritesTheExampleByteForByteInBothForms) {
    fillExampleSet();
    std::memcpy(&expected, &questionSet, sizeof expected);
    expected.presentedCount = 1;

    EXPECT_EQ(bytesOf(written("plain.csv", false)), kPlainExample);
    EXPECT_EQ(bytesOf(written("scrambled.eep", true)), kScrambledExample);
    EXPECT_EQ(std::memcmp(&questionSet, &expected, sizeof expected), 0)
        << "only presentedCount may change";
}

TEST_F(QuestionFile, ReadsTheExampleBackInBothForms) {
    for (const auto& [name, bytes] :
         {std::pair{"plain.csv", kPlainExample}, std::pair{"scrambled.eep", kScrambledExample}}) {
        SCOPED_TRACE(name);
        readBack(fileWith(name, bytes));
        const QuestionSet& s = questionSet;
        EXPECT_STREQ(s.title, "T");
        EXPECT_EQ(s.presentationMode, 0);
        EXPECT_EQ(s.presentedCount, 1);
        EXPECT_EQ(s.rankCount, 2);
        EXPECT_EQ(s.genreCount, 1);
        EXPECT_STREQ(s.genreNames[0], "G");
        EXPECT_STREQ(s.genreNames[4], "");
        EXPECT_EQ(s.genreQuotas[0], 1);
        EXPECT_STREQ(s.rankNames[1], "P");
        EXPECT_EQ(s.rankThresholds[0], 70);
        EXPECT_STREQ(s.rankComments[1], "c2");
        const Question& q = slot(0);
        EXPECT_EQ(q.questionId, 1);
        EXPECT_EQ(q.format, 2);
        EXPECT_EQ(q.genre, 1);
        EXPECT_STREQ(q.text, "ab");
        EXPECT_EQ(q.answer, 1);
        EXPECT_EQ(q.points, 10);
        EXPECT_STREQ(q.explanation, "xy");
        EXPECT_STREQ(q.choices[0], "cd");
        EXPECT_STREQ(q.choices[1], "ef");
        EXPECT_STREQ(q.choices[4], "");
        EXPECT_EQ(slot(1).questionId, 0);
    }
}

TEST_F(QuestionFile, UnswapsOnlyForALowerCaseEepExtension) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"a.eep", true},     {L"a.EEP", false},     {L"a.csv", false},       {L"a.eepx", true},
        {L"a.tar.eep", true}, {L"a.eep.csv", false}, {L"dir.eep/file", true}, {L"no_dot", false},
        {L"a.ee", false},     {L"a.", false},        {L"a.Eep", false},       {L".eep", true},
    };
    for (const auto& [path, eep] : cases) {
        EXPECT_EQ(isEepPath(path), eep) << "path " << fs::path(path).string();
    }
    readBack(fileWith("upper.EEP", kScrambledExample));
    EXPECT_STREQ(slot(0).text, "ba");
    EXPECT_STREQ(slot(0).choices[1], "fe");
}

TEST_F(QuestionFile, SwapPairsSwapsUpToTheFirstZeroAndUndoesItself) {
    const std::pair<std::string, std::string> cases[] = {
        {"abcde", "badce"},
        {"abcd", "badc"},
        {"", ""},
        {"a", "a"},
        {"\x82\xa0\x82\xa2", "\xa0\x82\xa2\x82"}, // two characters, each one pair
        {"a\x82\xa0z", "\x82"
                       "a"
                       "z\xa0"}, // a character split across pairs
    };
    for (const auto& [text, swapped] : cases) {
        std::memset(&questionSet, 0, sizeof questionSet);
        std::strcpy(slot(3).text, text.c_str());
        std::strcpy(slot(3).explanation, text.c_str());
        std::strcpy(slot(3).choices[4], text.c_str());
        slot(3).choices[4][text.size() + 1] = 'q'; // after the zero: never touched
        swapPairs(3);
        EXPECT_EQ(slot(3).text, swapped);
        EXPECT_EQ(slot(3).explanation, swapped);
        EXPECT_EQ(slot(3).choices[4], swapped);
        EXPECT_EQ(slot(3).choices[4][text.size() + 1], 'q');
        swapPairs(3);
        EXPECT_EQ(slot(3).text, text);
        EXPECT_EQ(slot(3).choices[4], text);
    }
    fillMaximal(slot(0).text, 1);
    std::memcpy(&expected, &questionSet, sizeof expected);
    swapPairs(-1);
    swapPairs(kMaxQuestions);
    EXPECT_EQ(std::memcmp(&questionSet, &expected, sizeof expected), 0);
    swapPairs(0);
    EXPECT_EQ(slot(0).text[0], expected.questions[0].text[1]);
    EXPECT_EQ(slot(0).text[kLongTextSize - 2], expected.questions[0].text[kLongTextSize - 2]);
}

TEST_F(QuestionFile, RoundTripsTheLargestSetInBothForms) {
    for (bool scrambled : {false, true}) {
        SCOPED_TRACE(scrambled ? "scrambled" : "plain");
        std::memset(&questionSet, 0, sizeof questionSet);
        fillMaximalSet();
        const std::string name = scrambled ? "largest.eep" : "largest.csv";
        const std::string bytes = bytesOf(written(name, scrambled));
        std::memcpy(&expected, &questionSet, sizeof expected);

        // The longest lines the writer makes: five comments, and a question
        // with two long texts and five long choices.
        EXPECT_EQ(bytes.find("\r\n", bytes.find(expected.rankComments[0])),
                  bytes.find(expected.rankComments[0]) + 5 * (kLongTextSize - 1) + 4);
        EXPECT_GT(bytes.size(), 256u * (2 * (kLongTextSize - 1) + 5 * (kNameSize - 1)));

        readBack(pathOf(name));
        questionSet.questionCount = expected.questionCount;
        EXPECT_EQ(std::memcmp(&questionSet, &expected, sizeof expected), 0);
        EXPECT_STREQ(slot(7).choices[4], expected.questions[7].choices[4]);
        EXPECT_EQ(bytesOf(written("again", scrambled)), bytes);
    }
}

TEST_F(QuestionFile, ReadsTheHeaderRules) {
    // Genre names and quotas start as "old" and 7 to show what a line leaves.
    for (int i = 0; i < 5; ++i) {
        std::strcpy(questionSet.genreNames[i], "old");
        questionSet.genreQuotas[i] = 7;
    }
    ASSERT_EQ(readHeaderLines(fileWith("h.csv", "T,1,2,3,4,extra\r\nG,\r\n1,2,3,4,5,6\r\n"
                                                "F,P,,,,Z\r\n30,50,70,100,5\r\n")
                                  .c_str()),
              0);
    const QuestionSet& s = questionSet;
    EXPECT_STREQ(s.title, "T");
    EXPECT_EQ(s.genreCount, 4);
    EXPECT_STREQ(s.genreNames[0], "G");
    EXPECT_STREQ(s.genreNames[1], "") << "a comma at the end reaches an empty field";
    EXPECT_STREQ(s.genreNames[2], "old") << "not reached";
    EXPECT_EQ(s.genreQuotas[4], 5);
    EXPECT_STREQ(s.rankNames[4], "");
    const std::int32_t thresholds[4] = {30, 50, 70, 100};
    EXPECT_EQ(std::memcmp(s.rankThresholds, thresholds, sizeof thresholds), 0);
}

TEST_F(QuestionFile, AHeaderFailsOnlyOnALastLineThatBeginsWithSomethingElse) {
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {"T,0\r\nG\r\nx\r\n", -1},
        {"T,0\r\nG\r\n-\r\n", -1},
        {"T,0\r\nG\r\n \t\r\n", 0},
        {"T,0\r\nG\r\n 5\r\n", 0},
        {"T,0\r\nG\r\nx\r\nF\r\n", 0},
        {"T,0\r\nG\r\n1\r\nF\r\nx\r\n", -1},
        {"x\r\n", 0},
        {std::string(kHeaderText) + "x\r\n", 0},
    };
    for (const auto& [file, result] : cases) {
        EXPECT_EQ(readHeaderLines(fileWith("h.csv", file).c_str()), result) << file;
    }
    EXPECT_EQ(readHeaderLines(pathOf("missing.csv").c_str()), -1);
    EXPECT_EQ(readQuestionLines(pathOf("missing.csv").c_str()), -1);
}

TEST_F(QuestionFile, ReadsTheQuestionLineRules) {
    for (int k = 0; k < 4; ++k) {
        slot(k) = Question{-1, -1, -1, "old", -1, -1, "old", {"old", "old", "old", "old", "old"}};
    }
    const std::wstring path = questionFile("q.csv", "1,2,1,ab,1,10,,cd,ef,,,A B,C\r\n"
                                                    "9,4,8,t,x,3,e,c\r\n"
                                                    " -5,+3,99999999999,t,-99999999999\r\n"
                                                    "4,2,1y,t\r\n");
    EXPECT_EQ(readQuestionLines(path.c_str()), 0);

    EXPECT_STREQ(slot(0).explanation, "") << "an empty explanation";
    EXPECT_STREQ(slot(0).choices[0], "cd");
    EXPECT_STREQ(slot(0).choices[1], "ef");
    EXPECT_STREQ(slot(0).choices[4], "A B,C") << "the rest of the line";

    EXPECT_EQ(slot(1).questionId, 9) << "stored as read";
    EXPECT_EQ(slot(1).genre, 8);
    EXPECT_STREQ(slot(1).text, "t");
    EXPECT_EQ(slot(1).answer, -1) << "not a number: the line stops here";
    EXPECT_EQ(slot(1).points, -1);
    EXPECT_STREQ(slot(1).explanation, "old");

    EXPECT_EQ(slot(2).questionId, -5);
    EXPECT_EQ(slot(2).format, 3);
    EXPECT_EQ(slot(2).genre, INT32_MAX) << "saturated";
    EXPECT_EQ(slot(2).answer, INT32_MIN);
    EXPECT_EQ(slot(2).points, -1) << "not reached";

    EXPECT_EQ(slot(3).genre, 1) << "a number without its comma is still taken";
    EXPECT_STREQ(slot(3).text, "old");
    EXPECT_EQ(slot(4).questionId, 0);
}

TEST_F(QuestionFile, QuestionLinesFailOnlyOnALastLineThatBeginsWithSomethingElse) {
    struct Case {
        std::string lines;
        int result;
        const char* firstText;
    };
    const Case cases[] = {
        {"1,2,1,a\r\n2,2,1,b\r\nx\r\n", -1, "a"},
        {"1,2,1,a\r\nx\r\n2,2,1,b\r\n", 0, "a"},
        {"1,2,1,a\r\n  \r\n", 0, "a"},
        {"1,2,1,a\r\n,\r\n", -1, "a"},
        {"", 0, ""},
    };
    for (const Case& c : cases) {
        std::memset(&questionSet, 0, sizeof questionSet);
        EXPECT_EQ(readQuestionLines(questionFile("q.csv", c.lines).c_str()), c.result) << c.lines;
        EXPECT_STREQ(slot(0).text, c.firstText) << c.lines;
    }
}

TEST_F(QuestionFile, AFailedEepReadStillUnswapsTheSlotsRead) {
    const std::wstring path = questionFile("q.eep", "1,2,1,ba,1,10,yx,dc,fe,,,\r\nx\r\n");
    EXPECT_EQ(readQuestionLines(path.c_str()), -1);
    EXPECT_STREQ(slot(0).text, "ab");
    EXPECT_STREQ(slot(0).choices[0], "cd");
}

TEST_F(QuestionFile, ASetWithoutQuestionsReadsBack) {
    fillExampleSet();
    questionSet.questionCount = 0;
    const std::wstring path = written("empty.csv", false);
    EXPECT_EQ(bytesOf(path).size(), std::strlen(kHeaderText));
    readBack(path);
    EXPECT_STREQ(questionSet.rankComments[1], "c2");
    EXPECT_EQ(slot(0).questionId, 0);

    EXPECT_EQ(readHeaderLines(fileWith("nothing.csv", "").c_str()), 0);
    EXPECT_EQ(readQuestionLines(pathOf("nothing.csv").c_str()), 0);
}

TEST_F(QuestionFile, TakesCrLfAndLoneLfAlike) {
    std::string lf = kPlainExample;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) {
        lf.erase(at, 1);
    }
    std::string mixed = kPlainExample;
    mixed.erase(mixed.find("\r\n"), 1);
    mixed.pop_back();
    mixed.pop_back(); // no line end at all after the last line
    for (const std::string& bytes : {lf, mixed}) {
        readBack(fileWith("x.csv", bytes));
        questionSet.questionCount = 1;
        EXPECT_EQ(bytesOf(written("again.csv", false)), kPlainExample);
    }
}

TEST_F(QuestionFile, CutsAnOverlongFieldAtACharacterBoundary) {
    const std::string a254(254, 'a');
    const std::string long300 = std::string(300, 'b');
    const std::string kanji = "\x96\xe2";
    // choice 1 too long; choice 2 too long with a character across the cut;
    // choice 3 exactly 255 bytes; the text far longer than any line the
    // writer makes; the choices after it are still read.
    const std::string line = "1,2,1," + std::string(100000, 't') + ",1,10,e," + long300 + "," +
                             a254 + kanji + "x," + a254 + "c,d,e\r\n";
    readBack(questionFile("q.csv", line));
    EXPECT_EQ(std::string(slot(0).text), std::string(kLongTextSize - 1, 't'));
    EXPECT_EQ(slot(0).answer, 1);
    EXPECT_STREQ(slot(0).explanation, "e");
    EXPECT_EQ(std::string(slot(0).choices[0]), long300.substr(0, 255));
    EXPECT_EQ(std::string(slot(0).choices[1]), a254) << "no half character at the end";
    EXPECT_EQ(std::string(slot(0).choices[2]), a254 + "c");
    EXPECT_STREQ(slot(0).choices[3], "d");
    EXPECT_STREQ(slot(0).choices[4], "e");

    // The same in the scrambled form: the cut is judged on the unswapped text.
    std::string original = "a" + std::string(126, 'b') + kanji;
    while (original.size() < 400) {
        original += kanji;
    }
    std::string swapped = original;
    for (std::size_t p = 0; p + 1 < swapped.size(); p += 2) {
        std::swap(swapped[p], swapped[p + 1]);
    }
    readBack(questionFile("q.eep", "1,2,1,t,1,10,e," + swapped + "," + swapped + "\r\n"));
    const std::string cut = slot(0).choices[0];
    EXPECT_EQ(cut, original.substr(0, 253));
    EXPECT_EQ(cut, std::string(slot(0).choices[1]).substr(0, 253));
}

TEST_F(QuestionFile, FillsTheLastSlotAndIgnoresFurtherLines) {
    std::string lines;
    for (int k = 1; k <= 300; ++k) {
        lines += std::to_string(k) + ",2,1,q" + std::to_string(k) + "\r\n";
    }
    lines += "x\r\n";
    readBack(questionFile("many.csv", lines));
    EXPECT_EQ(slot(0).questionId, 1);
    EXPECT_EQ(slot(kMaxQuestions - 1).questionId, kMaxQuestions);
    EXPECT_STREQ(slot(kMaxQuestions - 1).text, "q256");
}

TEST_F(QuestionFile, WriterDerivesThePresentedCount) {
    struct Case {
        std::int32_t mode;
        std::int32_t quotas[5];
        std::int32_t presented;
    };
    const Case cases[] = {
        {Sequential, {1, 2, 3, 4, 5}, 3},
        {FullRandom, {1, 2, 3, 4, 5}, 3},
        {GenreQuota, {1, 2, 3, 4, 5}, 15},
        {7, {1, 0, 0, 0, 1}, 2},
        {GenreQuota, {INT32_MAX, INT32_MAX, 0, 0, 0}, INT32_MAX},
        {GenreQuota, {INT32_MIN, -1, 0, 0, 0}, INT32_MIN},
    };
    for (const Case& c : cases) {
        questionSet.presentationMode = c.mode;
        std::memcpy(questionSet.genreQuotas, c.quotas, sizeof c.quotas);
        questionSet.questionCount = 3;
        written("x.csv", false);
        EXPECT_EQ(questionSet.presentedCount, c.presented) << "mode " << c.mode;
    }
}

TEST_F(QuestionFile, WriterBoundsTheQuestionCount) {
    for (const auto& [count, lines] : {std::pair{300, 256}, std::pair{-4, 0}}) {
        questionSet.questionCount = count;
        const std::string bytes = bytesOf(written("x.csv", false));
        std::size_t lineEnds = 0;
        for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) {
            ++lineEnds;
        }
        EXPECT_EQ(lineEnds, 6u + lines) << "questionCount " << count;
    }
}

TEST_F(QuestionFile, WriterReportsAFailedWrite) {
    fillExampleSet();
    std::memcpy(&expected, &questionSet, sizeof expected);
    for (bool scrambled : {false, true}) {
        // Room for the header but not the question line: the write fails midway.
        char room[64];
        std::FILE* full = fmemopen(room, sizeof room, "wb");
        ASSERT_NE(full, nullptr);
        std::setvbuf(full, nullptr, _IONBF, 0);
        EXPECT_FALSE(writeQuestionSet(full, scrambled));
        std::fclose(full);
        EXPECT_STREQ(slot(0).text, "ab") << "texts restored after a failed scrambled write";
    }
    std::FILE* readOnly = openFile(fileWith("r.csv", "x").c_str(), "rb");
    EXPECT_FALSE(writeQuestionSet(readOnly, false));
    std::fclose(readOnly);
    EXPECT_FALSE(writeQuestionSet(nullptr, false));
}

// ---- The in-memory seam and the swap made while copying

using namespace std::string_literals;

std::string writtenToMemory(bool scrambled) {
    static char room[4 << 20];
    std::FILE* stream = fmemopen(room, sizeof room, "wb");
    EXPECT_NE(stream, nullptr);
    EXPECT_TRUE(writeQuestionSet(stream, scrambled));
    const auto size = static_cast<std::size_t>(std::ftell(stream));
    std::fclose(stream);
    return std::string(room, size);
}

// The pairs of `text` swapped; an odd last byte stays.
std::string swapped(std::string text) {
    for (std::size_t p = 0; p + 1 < text.size(); p += 2) {
        std::swap(text[p], text[p + 1]);
    }
    return text;
}

TEST_F(QuestionFile, ReadsTheSameFromAPathAStreamAndMemory) {
    const std::string bytes = kPlainExample + "2,2,1,long" + std::string(6000, 'z') + "\r\nx\r\n";
    for (const bool scrambled : {false, true}) {
        SCOPED_TRACE(scrambled ? "scrambled" : "plain");
        const std::wstring path = fileWith(scrambled ? "s.eep" : "s.csv", bytes);
        std::memset(&questionSet, 0, sizeof questionSet);
        EXPECT_EQ(readHeaderLines(path.c_str()), 0);
        EXPECT_EQ(readQuestionLines(path.c_str()), -1) << "the last line is not a number";
        std::memcpy(&expected, &questionSet, sizeof expected);

        std::memset(&questionSet, 0, sizeof questionSet);
        EXPECT_EQ(readHeaderBytes(bytes.data(), bytes.size()), 0);
        EXPECT_EQ(readQuestionBytes(bytes.data(), bytes.size(), scrambled), -1);
        EXPECT_EQ(std::memcmp(&questionSet, &expected, sizeof expected), 0);

        std::memset(&questionSet, 0, sizeof questionSet);
        for (int part = 0; part < 2; ++part) {
            std::FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
            ASSERT_NE(stream, nullptr);
            EXPECT_EQ(part == 0 ? readHeaderStream(stream) : readQuestionStream(stream, scrambled),
                      part == 0 ? 0 : -1);
            std::fclose(stream);
        }
        EXPECT_EQ(std::memcmp(&questionSet, &expected, sizeof expected), 0);
    }
    EXPECT_EQ(readHeaderStream(nullptr), -1);
    EXPECT_EQ(readQuestionStream(nullptr, false), -1);
    EXPECT_EQ(readHeaderBytes(nullptr, 0), 0) << "no bytes: an empty set";
    EXPECT_EQ(readQuestionBytes("", 0, true), 0);
}

TEST_F(QuestionFile, ScrambledWriteSwapsWhileCopyingAndLeavesTheModel) {
    fillExampleSet();
    Question& q = slot(0);
    std::strcpy(q.text, "abcde");              // odd: the last byte stays
    std::strcpy(q.explanation, "");            // a zero in the first pair
    std::strcpy(q.choices[0], "x");            // one byte: no whole pair
    std::memset(q.choices[1], 'c', kNameSize); // no zero in the field at all
    q.choices[1][0] = 'C';
    fillMaximal(q.choices[2], 3);       // 255 bytes: odd, full
    std::strcpy(q.choices[4], "A,B,C"); // commas of the last field
    questionSet.presentedCount = 1;
    std::memcpy(&expected, &questionSet, sizeof expected);

    const std::string full(q.choices[1], kNameSize);
    const std::string line = "1,2,1,badce,1,10,,x," + swapped(full) + "," + swapped(q.choices[2]) +
                             ",," + swapped("A,B,C") + "\r\n";
    EXPECT_EQ(writtenToMemory(true), std::string(kHeaderText) + line);
    EXPECT_EQ(std::memcmp(&questionSet, &expected, sizeof expected), 0) << "model untouched";

    // The slow way round gives the same bytes.
    swapPairs(0);
    const std::string swappedFirst = writtenToMemory(false);
    swapPairs(0);
    EXPECT_EQ(writtenToMemory(true), swappedFirst);
}

TEST_F(QuestionFile, UnswapsWhileReadingAcrossDroppedBytesAndBlocks) {
    // The explanation starts on the last byte of the reader's first block;
    // dropped CR and zero bytes shift its pairs.
    const std::string header =
        std::string(kHeaderText) + "1,2,1," + std::string(65457, 'x') + "\r\n2,2,1,t,1,10,";
    ASSERT_EQ(header.size(), 65535u);
    const std::string text = "ab\rcd\0e"s + std::string(4999, 'f') + "g";
    const std::string bytes = header + text + ",q\r\n";
    std::FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(readQuestionStream(stream, true), 0);
    std::fclose(stream);
    EXPECT_EQ(std::string(slot(1).explanation), swapped("abcde" + std::string(4999, 'f') + "g"));
    EXPECT_STREQ(slot(1).choices[0], "q");

    // Too long for the field, the same text is cut to an even length.
    const std::string longer = header + text + std::string(300, 'h') + "\r\n";
    EXPECT_EQ(readQuestionBytes(longer.data(), longer.size(), true), 0);
    EXPECT_EQ(std::string(slot(1).explanation),
              swapped("abcde" + std::string(4999, 'f') + "g" + std::string(153, 'h')));
}

TEST_F(QuestionFile, AScrambledLineUnswapsTheTextsItDoesNotReach) {
    slot(0) = Question{-1, -1, -1, "old", -1, -1, "old", {"abcd", "", "x", "", "yz"}};
    const std::string bytes = std::string(kHeaderText) + "9,4,8,at,x\r\n";
    EXPECT_EQ(readQuestionBytes(bytes.data(), bytes.size(), true), 0);
    EXPECT_STREQ(slot(0).text, "ta");
    EXPECT_STREQ(slot(0).explanation, "lod") << "the whole slot is unswapped, as always";
    EXPECT_STREQ(slot(0).choices[0], "badc");
    EXPECT_STREQ(slot(0).choices[2], "x");
    EXPECT_STREQ(slot(0).choices[4], "zy");
}

TEST_F(QuestionFile, ACutKeepsWholeCharactersInARunOfLeadBytes) {
    // \x81 leads a character and may also end one: only the run's parity
    // tells where the characters start.
    const std::string leads(10, '\x81');
    const std::string lines = "1,2,1,t,1,10,e," + std::string(253, 'a') + leads + "," +
                              std::string(252, 'a') + leads + "\r\n";
    readBack(questionFile("q.csv", lines));
    EXPECT_EQ(std::string(slot(0).choices[0]), std::string(253, 'a') + "\x81\x81");
    EXPECT_EQ(std::string(slot(0).choices[1]), std::string(252, 'a') + "\x81\x81");
}

// ---- What the readers tell an observer

std::vector<LineNote> notes;

void keepNote(const LineNote& note) {
    notes.push_back(note);
}

std::string describe(const LineNote& n) {
    return "line " + std::to_string(n.line) + " event " +
           std::to_string(static_cast<int>(n.event)) + " field " + std::to_string(n.field) +
           " offset " + std::to_string(n.offset) + " length " + std::to_string(n.length) +
           " kept " + std::to_string(n.kept);
}

std::string describe(const std::vector<LineNote>& list) {
    std::string out;
    for (const LineNote& n : list) {
        out += describe(n) + "\n";
    }
    return out;
}

// Reads `bytes` whole into a zero model, watched or not.
void readWatched(const std::string& bytes, bool scrambled, bool watched) {
    std::memset(&questionSet, 0, sizeof questionSet);
    notes.clear();
    watchLines(watched ? keepNote : nullptr);
    readHeaderBytes(bytes.data(), bytes.size());
    readQuestionBytes(bytes.data(), bytes.size(), scrambled);
    watchLines(nullptr);
}

struct NoteCase {
    const char* name;
    std::string bytes;
    bool scrambled;
    std::vector<LineNote> expected;
};

// The offset of the first `piece` in `bytes`, plus `skip`.
std::size_t at(const std::string& bytes, const std::string& piece, std::size_t skip = 0) {
    return bytes.find(piece) + skip;
}

// Lines 1 to 6 of kHeaderText with line `line` (1-based) replaced.
std::string headerWith(int line, const std::string& content) {
    std::string bytes = kHeaderText;
    std::size_t start = 0;
    for (int k = 1; k < line; ++k) {
        start = bytes.find("\r\n", start) + 2;
    }
    return bytes.replace(start, bytes.find("\r\n", start) - start, content);
}

std::vector<NoteCase> noteCases() {
    using E = LineEvent;
    const std::string kanji = "\x96\xe2";
    const std::string h = kHeaderText;
    std::vector<NoteCase> cases;
    auto add = [&](const char* name, std::string bytes, bool scrambled,
                   std::vector<LineNote> expected) {
        cases.push_back({name, std::move(bytes), scrambled, std::move(expected)});
    };
    std::string b = h + "1,2,1,t,1,10,e," + std::string(254, 'a') + kanji + "x,b,c,d,e\r\n";
    add("cut before half a character", b, false, {{7, E::Cut, 7, at(b, ",aa", 1), 257, 254}});
    b = h + "1,2,1,t,1,10,e," + std::string(300, 'b') + ",b,c,d,e\r\n";
    add("cut plain", b, false, {{7, E::Cut, 7, at(b, ",bb", 1), 300, 255}});
    add("cut scrambled keeps an even length", b, true, {{7, E::Cut, 7, at(b, ",bb", 1), 300, 254}});
    b = h + "1,2,1," + std::string(6000, 't') + ",x,10\r\n";
    add("cut, then no number", b, false,
        {{7, E::Cut, 3, at(b, ",tt", 1), 6000, kLongTextSize - 1},
         {7, E::NotANumber, 4, at(b, ",x", 1), 0, 0}});
    b = h + "1,2,1,a\0b\r,\rx,3\r\n"s;
    add("offsets count skipped bytes", b, false, {{7, E::NotANumber, 4, at(b, "\rx"), 0, 0}});
    b = h + "2,2,1,q2,2,20pt,e\r\n";
    add("more than a number", b, false, {{7, E::MoreThanANumber, 5, at(b, "20pt"), 0, 0}});
    b = headerWith(1, "T,0,1,2,1x");
    add("more than a number in a line's last field", b, false,
        {{1, E::MoreThanANumber, 4, at(b, "1x"), 0, 0}});
    b = h + "1,2,1,q2\r\n";
    add("ends before a text's comma", b, false, {{7, E::EndsBefore, 4, at(b, "q2\r\n", 3), 0, 0}});
    b = h + "1,2, \r\n";
    add("ends in a number field", b, false, {{7, E::EndsBefore, 2, at(b, " \r\n", 2), 0, 0}});
    b = h + "1,2,1,q";
    add("ends with the file", b, false, {{7, E::EndsBefore, 4, b.size(), 0, 0}});
    b = h + "1\r\nx,3,2\r\n";
    add("unreadable", b, false,
        {{7, E::EndsBefore, 1, at(b, "\r\n1\r\nx", 4), 0, 0},
         {8, E::Unreadable, 0, at(b, "x,3"), 0, 0}});
    b = headerWith(3, "  ,1");
    add("unreadable header line", b, false, {{3, E::Unreadable, 0, at(b, "  ,1"), 0, 0}});
    b = headerWith(2, "G1,G,2,,,");
    add("extra fields after a text", b, false, {{2, E::ExtraFields, 5, at(b, ",,,", 2), 0, 0}});
    b = headerWith(5, "70,0,0,0,5");
    add("a fifth threshold", b, false, {{5, E::ExtraFields, 4, at(b, "0,5", 1), 0, 0}});
    add("blank lines", h + "  \r\n\r\n\0\r\n"s, false, {});
    std::string lines;
    for (int k = 1; k <= kMaxQuestions; ++k) {
        lines += std::to_string(k) + ",2,1,q,1,1,e,a,b,,,\r\n";
    }
    add("lines past the last slot", h + lines + "x,x\r\n", false, {});
    return cases;
}

TEST_F(QuestionFile, TellsTheObserverWhatEachLineHoldsBeyondItsFields) {
    for (const NoteCase& c : noteCases()) {
        SCOPED_TRACE(c.name);
        readWatched(c.bytes, c.scrambled, false);
        std::memcpy(&expected, &questionSet, sizeof expected);
        EXPECT_TRUE(notes.empty()) << "no observer, no notes";
        readWatched(c.bytes, c.scrambled, true);
        EXPECT_EQ(describe(notes), describe(c.expected));
        EXPECT_EQ(std::memcmp(&questionSet, &expected, sizeof expected), 0)
            << "the model read is the same watched or not";
    }
}

TEST_F(QuestionFile, TellsNothingOfAFileTheWriterMade) {
    for (const bool scrambled : {false, true}) {
        SCOPED_TRACE(scrambled ? "scrambled" : "plain");
        std::memset(&questionSet, 0, sizeof questionSet);
        fillMaximalSet();
        const std::string bytes = writtenToMemory(scrambled);
        readWatched(bytes, scrambled, true);
        EXPECT_EQ(describe(notes), "");
        questionSet.questionCount = kMaxQuestions;
        EXPECT_EQ(writtenToMemory(scrambled), bytes);
    }
}

TEST_F(QuestionFile, TellsAStreamsOffsetsPastItsFirstBlock) {
    const std::string bytes = kPlainExample + "2,2,1," + std::string(70000, 'x') + ",20pt\r\n";
    std::FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    ASSERT_NE(stream, nullptr);
    notes.clear();
    watchLines(keepNote);
    EXPECT_EQ(readQuestionStream(stream, false), 0);
    watchLines(nullptr);
    std::fclose(stream);
    ASSERT_EQ(notes.size(), 2u) << describe(notes);
    EXPECT_EQ(notes[0].offset, bytes.find("xx"));
    EXPECT_EQ(notes[0].length, 70000u);
    EXPECT_EQ(notes[1].event, LineEvent::MoreThanANumber);
    EXPECT_EQ(notes[1].line, 8);
    EXPECT_EQ(bytes.substr(notes[1].offset, 4), "20pt");
}

// The names follow the lists the writer walks: as many as it writes fields.
TEST_F(QuestionFile, NamesEveryFieldTheWriterWrites) {
    fillExampleSet();
    const std::string bytes = writtenToMemory(false);
    int line = 1;
    for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos;
         start = end + 2, ++line) {
        const auto fields =
            static_cast<int>(std::count(bytes.begin() + start, bytes.begin() + end, ',')) + 1;
        SCOPED_TRACE(line);
        EXPECT_STRNE(fieldName(line, fields - 1), "");
        EXPECT_STREQ(fieldName(line, fields), "");
    }
    EXPECT_EQ(line, 8);
    EXPECT_STREQ(fieldName(1, 1), "presentationMode");
    EXPECT_STREQ(fieldName(5, 3), "threshold 4");
    EXPECT_STREQ(fieldName(6, 0), "rank comment 1");
    EXPECT_STREQ(fieldName(300, 11), "choice 5");
    EXPECT_STREQ(fieldName(0, 0), "");
    EXPECT_STREQ(fieldName(7, -1), "");
    EXPECT_FALSE(isNumberField(1, 0));
    EXPECT_TRUE(isNumberField(3, 4));
    EXPECT_TRUE(isNumberField(7, 5));
    EXPECT_FALSE(isNumberField(7, 6));
    EXPECT_FALSE(isNumberField(5, 4));
}

} // namespace
