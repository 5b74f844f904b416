// What the end-to-end stories share: the real program started for each
// test, and the files a test makes, removed after it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Ends the program if it runs and starts it again, its window settled.
    void start();
    // A path in the temporary folder, removed when the test ends.
    std::wstring newFile(const std::wstring& name);

    HWND window = nullptr;

  private:
    std::vector<std::wstring> files;
};
