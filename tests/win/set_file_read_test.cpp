// The load reads the file whole and parses it in memory; what the set holds
// after it, and every failure it reports, are the stream readers' own, over
// the fuzzer's corpus and random sets, in both forms.
#include "model/load_and_output.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

QuestionSet before;
QuestionSet viaStreams;

// A number, now and then with blanks, a sign or more after it; or a text of
// double-byte halves, now and then with what ends or splits a field, and
// now and then past any field's size.
std::string randomField(std::mt19937& random) {
    if (random() % 2 == 0) {
        return std::string(random() % 8 == 0 ? " " : "") + (random() % 8 == 0 ? "-" : "") +
               std::to_string(random() % 300) + (random() % 16 == 0 ? "x" : "");
    }
    static const char kPlain[] = "\x82\xa0\xe0\x9f\xfc\x40xyz 7";
    static const char kSpecial[] = {'\r', '\n', ',', '\0', '\x1a'};
    const std::size_t length = random() % 16 == 0 ? random() % 12000 : random() % 40;
    std::string field;
    for (std::size_t i = 0; i < length; ++i) {
        field += random() % 64 == 0 ? kSpecial[random() % sizeof kSpecial]
                                    : kPlain[random() % (sizeof kPlain - 1)];
    }
    return field;
}

// Lines of up to 14 fields; the last may end without a line end.
std::string randomSet(std::mt19937& random, std::size_t atLeast) {
    std::string file;
    const int lines = static_cast<int>(random() % 300);
    for (int line = 0; line < lines || file.size() < atLeast; ++line) {
        const int fields = static_cast<int>(random() % 15);
        for (int field = 0; field < fields; ++field) {
            file += (field > 0 ? "," : "") + randomField(random);
        }
        if (line + 1 < lines || random() % 2 == 0) {
            file += random() % 4 == 0 ? "\n" : random() % 4 == 0 ? "\r" : "\r\n";
        }
    }
    return file;
}

void expectBothReadsAlike(const std::string& bytes, const std::wstring& name) {
    const std::wstring path = temporaryFile(name);
    ASSERT_TRUE(writeFileBytes(path, bytes));
    questionSet = before;
    const int header = readHeaderLines(path.c_str());
    const int questions = readQuestionLines(path.c_str());
    viaStreams = questionSet;
    questionSet = before;
    const SetFileRead read = readSetFile(path.c_str());
    EXPECT_TRUE(read.opened);
    EXPECT_EQ(read.header, header);
    EXPECT_EQ(read.questions, questions);
    EXPECT_EQ(std::memcmp(&questionSet, &viaStreams, sizeof questionSet), 0);
    DeleteFileW(path.c_str());
}

void expectAlikeInBothForms(const std::string& bytes) {
    expectBothReadsAlike(bytes, L"read.csv");
    expectBothReadsAlike(bytes, L"read.eep");
}

class SetFileReads : public ::testing::Test {
  protected:
    // Whatever the set held before shows where a read left a field alone.
    void SetUp() override {
        std::mt19937 random(7);
        for (std::size_t i = 0; i < sizeof before; ++i) {
            reinterpret_cast<unsigned char*>(&before)[i] = static_cast<unsigned char>(random());
        }
    }
    void TearDown() override { std::memset(&questionSet, 0, sizeof questionSet); }
};

TEST_F(SetFileReads, TheFuzzCorpusReadsAsThroughTheStreams) {
    const std::wstring corpus = windowsPath(TOV_FUZZ_CORPUS);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((corpus + L"\\*.*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            SCOPED_TRACE(toAnsi(found.cFileName));
            expectAlikeInBothForms(readFileBytes(corpus + L"\\" + found.cFileName));
            ++files;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_GT(files, 0);
}

TEST_F(SetFileReads, RandomSetsReadAsThroughTheStreams) {
    std::mt19937 random(20);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        expectAlikeInBothForms(randomSet(random, 0));
    }
}

// Past what the largest set makes, the load reads through the streams itself.
TEST_F(SetFileReads, AFileLargerThanAnySetReadsAsThroughTheStreams) {
    std::mt19937 random(5);
    expectAlikeInBothForms(randomSet(random, 5 * 1024 * 1024));
}

TEST_F(SetFileReads, AFileThatCannotBeOpenedIsNotRead) {
    questionSet = before;
    const SetFileRead read = readSetFile(temporaryFile(L"no such set.csv").c_str());
    EXPECT_FALSE(read.opened);
    EXPECT_EQ(std::memcmp(&questionSet, &before, sizeof before), 0);
}

} // namespace
