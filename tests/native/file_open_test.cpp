#include "model/file_open.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(OpenFile, OpensAJapanesePathByItsUtf8Name) {
    const fs::path dir =
        fs::path(testing::TempDir()) / ("tov_open_file_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path expected = dir / fs::u8path(u8"問題集.eep");
    const std::wstring path = dir.wstring() + L"/問題集.eep";

    std::FILE* file = openFile(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fputs("x", file), 1);
    std::fclose(file);
    EXPECT_EQ(fs::file_size(expected), 1u);

    file = openFile(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fgetc(file), 'x');
    std::fclose(file);
    fs::remove_all(dir);
}

TEST(OpenFile, RefusesPathsItCannotEncode) {
    const std::wstring lone = std::wstring(L"/tmp/a") + wchar_t(0xD800) + L".csv";
    EXPECT_EQ(openFile(lone.c_str(), "wb"), nullptr);
    const std::wstring tooLong(5000, L'a');
    EXPECT_EQ(openFile(tooLong.c_str(), "rb"), nullptr);
    EXPECT_EQ(openFile(L"/nonexistent/dir/x.csv", "rb"), nullptr);
}

TEST(IsLeadByte, KnowsTheShiftJisLeadRanges) {
    const std::pair<unsigned char, bool> cases[] = {
        {'a', false},  {0x7F, false}, {0x80, false}, {0x81, true}, {0x9F, true},  {0xA0, false},
        {0xB1, false}, {0xDF, false}, {0xE0, true},  {0xFC, true}, {0xFD, false}, {0xFF, false},
    };
    for (const auto& [byte, lead] : cases) {
        EXPECT_EQ(isLeadByte(byte), lead) << "byte " << int(byte);
    }
}

} // namespace
