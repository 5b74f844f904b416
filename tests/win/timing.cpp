// How long a user waits on the largest inputs, measured on the real window
// under Wine (make timing): Next and Prev on a question whose texts are at
// their limit, and load and output of the largest set through the commands.
// It prints figures and asserts only that the commands did their work; the
// time itself is judged by a person, not by the test.
#include "app/control_ids.h"
#include "app/editor_state.h"
#include "app/main_window.h"
#include "model/load_and_output.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "tests/win/page_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kPresses = 20;

double nowMs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// 5159 bytes: 501 lines of double-byte text joined by 500 escapes.
std::string longText() {
    std::string text;
    for (int line = 0; line < 501; ++line) {
        if (line > 0) {
            text += "\\r\\n";
        }
        text += "\x96\xe2\x91\xe8"; // 問題
    }
    text.resize(kLongTextSize - 1, 'x');
    return text;
}

void fillQuestion(Question& question, int id, const std::string& text) {
    question = {};
    question.questionId = id;
    question.format = 1; // five choices, the first correct
    question.genre = 1;
    question.answer = 10000;
    question.points = 5;
    std::memcpy(question.text, text.c_str(), text.size() + 1);
    std::memcpy(question.explanation, text.c_str(), text.size() + 1);
    for (int k = 0; k < kMaxChoices; ++k) {
        std::memset(question.choices[k], 'a' + k, kNameSize - 1);
    }
}

// The questions only: the settings page gives the course's defaults.
void fillSet(int questions, const std::string& text) {
    for (int i = 0; i < questions; ++i) {
        fillQuestion(questionSet.questions[i], i + 1, text);
    }
}

class Timing : public PageTest {
  protected:
    DWORD writtenBytes = 0;
    // A new main window over an empty editor, as when the program starts.
    void restartProgram() {
        DestroyWindow(window);
        pumpMessages();
        UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr));
        resetEditor();
        window = createMainWindow(GetModuleHandleW(nullptr));
        ShowWindow(window, SW_SHOW);
        pumpMessages();
    }
    void enterQuestions() {
        startCourse(Advanced);
        SetWindowTextW(GetDlgItem(window, IDC_SETTINGS_FIRST), L"検定");
        pressMs(IDC_NEXT);
        ASSERT_EQ(onSettingsPage, 0);
    }
    double pressMs(int id) {
        const double start = nowMs();
        sendCommand(window, id);
        pumpMessages();
        return nowMs() - start;
    }
    // Enters the questions of a set already in the model, then Next and
    // Prev kPresses times each, every page passing its check.
    void nextAndPrev(const std::string& text, const char* what) {
        fillSet(kPresses + 1, text);
        enterQuestions();
        std::vector<double> next;
        std::vector<double> prev;
        for (int i = 0; i < kPresses; ++i) {
            next.push_back(pressMs(IDC_NEXT));
        }
        ASSERT_EQ(currentIndex, kPresses);
        for (int i = 0; i < kPresses; ++i) {
            prev.push_back(pressMs(IDC_PREV));
        }
        ASSERT_EQ(currentIndex, 0);
        EXPECT_EQ(std::string(questionSet.questions[3].text), text);
        std::printf("%-28s Next median %7.2f ms, Prev median %7.2f ms (%d presses each)\n", what,
                    median(next), median(prev), kPresses);
    }
    // Outputs the set in the model to `path` in the plain form, then loads
    // it in a new editor; returns the two commands' times.
    std::pair<double, double> outputThenLoad(const std::wstring& path) {
        enterQuestions();
        answerNextBox(IDNO); // plain form
        fillNextFileDialog(path);
        answerNextBox(IDOK);
        const double output = pressMs(IDC_OUTPUT);
        takeBox();
        takeFileDialog();
        EXPECT_EQ(takeBox().text, L"問題集を出力しました");
        WIN32_FILE_ATTRIBUTE_DATA written = {};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &written);
        writtenBytes = written.nFileSizeLow;

        restartProgram();
        fillNextFileDialog(path);
        answerNextBox(IDOK);
        const double load = pressMs(IDC_LOAD);
        takeFileDialog();
        EXPECT_EQ(takeBox().text, L"読み込み完了。検定作成を開始します。");
        return {output, load};
    }
};

TEST_F(Timing, NextAndPrevOnAOneLineQuestion) {
    nextAndPrev("one line", "one-line question:");
}

TEST_F(Timing, NextAndPrevOnTheLongestQuestion) {
    nextAndPrev(longText(), "5159 bytes, 500 line breaks:");
}

// The dialogs take their own time; the same commands on a one-question set
// show that part, and the difference is what the set's size costs.
TEST_F(Timing, OutputAndLoadOfTheLargestSet) {
    const std::wstring path = temporaryFile(L"timing.csv");
    std::vector<double> output[2];
    std::vector<double> load[2];
    for (int round = 0; round < 5; ++round) {
        for (int large = 0; large < 2; ++large) {
            DeleteFileW(path.c_str());
            resetEditor();
            fillSet(large ? kMaxQuestions : 1, large ? longText() : std::string("one line"));
            const auto times = outputThenLoad(path);
            output[large].push_back(times.first);
            load[large].push_back(times.second);
            if (large) {
                EXPECT_EQ(questionSet.questions[255].questionId, 256);
                EXPECT_GT(writtenBytes, 2900000u);
            }
            restartProgram();
        }
    }
    DeleteFileW(path.c_str());
    std::printf("largest set: %lu bytes\n", static_cast<unsigned long>(writtenBytes));
    std::printf("output: largest set %7.2f ms, one question %7.2f ms (medians of 5, dialogs "
                "included)\n",
                median(output[1]), median(output[0]));
    std::printf("load:   largest set %7.2f ms, one question %7.2f ms (medians of 5, dialogs "
                "included)\n",
                median(load[1]), median(load[0]));
}

} // namespace
