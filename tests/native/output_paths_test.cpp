#include "model/output_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "C:\" and folders of 'd' up to `length` characters in all, the last one
// ending in a separator.
std::wstring folderOf(std::size_t length) {
    std::wstring folder = L"C:\\";
    while (folder.size() < length) {
        folder += folder.size() % 100 == 99 || folder.size() + 1 == length ? L'\\' : L'd';
    }
    return folder;
}

TEST(OutputPaths, EveryTargetTheSaveDialogCanReturnGetsItsNamesBeside) {
    // Long names in short folders put the target, not the names beside it,
    // near MAX_PATH.
    for (const std::size_t nameLength :
         {std::size_t{1}, std::size_t{7}, std::size_t{40}, std::size_t{200}}) {
        for (std::size_t length = 5 + nameLength; length <= kMaxPlainPath; ++length) {
            const std::wstring folder = folderOf(length - nameLength);
            const std::wstring target = folder + std::wstring(nameLength, L'n');
            ASSERT_EQ(target.size(), length);
            OutputPaths paths;
            ASSERT_TRUE(makeOutputPaths(target.c_str(), 0x0123abcdu, paths)) << length;

            const bool extended = length >= 246 || folder.size() + 15 >= 246;
            const std::wstring prefix = extended ? L"\\\\?\\" : L"";
            EXPECT_EQ(paths.target, prefix + target) << length;
            EXPECT_EQ(paths.temporary, prefix + folder + L"tov0123abcd.tmp") << length;
            EXPECT_EQ(paths.backup, prefix + folder + L"tov0123abcd.bak") << length;
        }
    }
}

TEST(OutputPaths, TheLongFormKeepsUncAndMakesBackslashes) {
    const std::wstring share = L"\\\\server\\share/" + std::wstring(240, L'd') + L"/";
    OutputPaths paths;
    ASSERT_TRUE(makeOutputPaths((share + L"x.csv").c_str(), 0xffffffffu, paths));
    const std::wstring folder = L"\\\\?\\UNC\\server\\share\\" + std::wstring(240, L'd') + L"\\";
    EXPECT_EQ(paths.target, folder + L"x.csv");
    EXPECT_EQ(paths.temporary, folder + L"tovffffffff.tmp");

    const std::wstring already = L"\\\\?\\C:\\" + std::wstring(250, L'd') + L"\\x.csv";
    ASSERT_TRUE(makeOutputPaths(already.c_str(), 1, paths));
    EXPECT_EQ(paths.target, already) << "a path in the long form stays as it is";

    ASSERT_TRUE(makeOutputPaths(L"x.csv", 1, paths));
    EXPECT_EQ(paths.temporary, std::wstring(L"tov00000001.tmp")) << "beside a bare name";
}

TEST(OutputPaths, RefusesWhatCannotBeNamedOrFit) {
    OutputPaths paths;
    EXPECT_FALSE(makeOutputPaths(L"", 1, paths));
    EXPECT_FALSE(makeOutputPaths(L"C:\\folder\\", 1, paths)) << "no file name";
    const std::wstring relative = std::wstring(255, L'd') + L"\\x.csv";
    EXPECT_FALSE(makeOutputPaths(relative.c_str(), 1, paths)) << "a long relative path";
    const std::wstring tooLong = L"C:\\" + std::wstring(290, L'd') + L"\\x.csv";
    EXPECT_FALSE(makeOutputPaths(tooLong.c_str(), 1, paths));
}

} // namespace
