#include "tests/e2e/program_test_base.h"

#include "tests/e2e/driver.h"
#include "tests/win/toolkit.h"

void ProgramTest::SetUp() {
    start();
}

void ProgramTest::TearDown() {
    stopTov();
    for (const std::wstring& path : files) {
        DeleteFileW(path.c_str());
    }
}

void ProgramTest::start() {
    stopTov();
    ASSERT_TRUE(startTov());
    window = findTovWindow();
    ASSERT_NE(window, nullptr);
    settle(window);
}

std::wstring ProgramTest::newFile(const std::wstring& name) {
    files.push_back(temporaryFile(name));
    return files.back();
}
