// What a user waits for under Wine (make timing), each beside the least
// Win32 can do for the same, in one run: start to first paint, and Next and
// Prev from the press until nothing is left to paint, against
// baseline_window.exe; load against one ReadFile of the same bytes; output
// against CopyFileW. Figures, not a test: a run fails only when a program
// does not do its work, never for being slow.
#include "app/control_ids.h"
#include "app/main_window.h"
#include "model/load_and_output.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "tests/e2e/driver.h"
#include "tests/win/toolkit.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kStartRounds = 30;
constexpr int kPresses = 20;
constexpr double kMiB = 1024.0 * 1024.0;

double nowMs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The value at `fraction` of the sorted values: 0.5 the median.
double quantile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

double median(const std::vector<double>& values) {
    return quantile(values, 0.5);
}

// Times of tov and of its baseline, measured in pairs.
struct Pairs {
    std::vector<double> tov, baseline, ratio;
};

void addPair(Pairs& pairs, double tov, double baseline) {
    pairs.tov.push_back(tov);
    pairs.baseline.push_back(baseline);
    pairs.ratio.push_back(tov / baseline);
}

void printPairs(const Pairs& pairs, const char* what, const char* unit, const char* rounds) {
    std::printf("%s: tov %.1f %s, baseline %.1f %s, ratio %.2f (medians of %zu %s; middle half "
                "of the ratios %.2f to %.2f)\n",
                what, median(pairs.tov), unit, median(pairs.baseline), unit, median(pairs.ratio),
                pairs.ratio.size(), rounds, quantile(pairs.ratio, 0.25),
                quantile(pairs.ratio, 0.75));
}

// ---- Programs started and watched from outside, as a user meets them

struct Program {
    PROCESS_INFORMATION process;
    HWND window;
};

struct WindowOf {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchShownWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowOf*>(parameter);
    wchar_t name[64] = L"";
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    GetClassNameW(window, name, 64);
    if (processId == search.processId && IsWindowVisible(window) &&
        std::wcscmp(name, kMainWindowClass) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

bool nothingToPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) {
        return false;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetUpdateRect(child, nullptr, FALSE)) {
            return false;
        }
    }
    return true;
}

// From `start` until the window answers and neither it nor a child has
// anything left to paint; asked again after the answer, as a paint may
// have come due meanwhile. -1 when that never comes.
double untilPainted(HWND window, double start) {
    for (;;) {
        DWORD_PTR result = 0;
        if (nothingToPaint(window) &&
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) &&
            nothingToPaint(window)) {
            return nowMs() - start;
        }
        if (nowMs() - start > 20000) {
            ADD_FAILURE() << "the window never had all painted";
            return -1;
        }
        Sleep(1);
    }
}

// Starts the program and returns once its window is shown and painted;
// `firstPaint` gets the time that took.
Program startProgram(const char* path, const std::wstring& argument, double& firstPaint) {
    const std::wstring program = windowsPath(path);
    std::wstring commandLine = L"\"" + program + L"\" " + argument;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    Program started = {};
    const double start = nowMs();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started.process)) {
        ADD_FAILURE() << "cannot start " << path;
        return started;
    }
    WindowOf search = {started.process.dwProcessId, nullptr};
    while (search.found == nullptr && nowMs() - start < 20000) {
        EnumWindows(matchShownWindow, reinterpret_cast<LPARAM>(&search));
        Sleep(search.found == nullptr ? 1 : 0);
    }
    started.window = search.found;
    firstPaint = started.window != nullptr ? untilPainted(started.window, start) : -1;
    EXPECT_NE(started.window, nullptr) << path << " showed no window";
    return started;
}

double peakWorkingSetMiB(const Program& program) {
    PROCESS_MEMORY_COUNTERS counters = {};
    K32GetProcessMemoryInfo(program.process.hProcess, &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / kMiB;
}

void closeProgram(Program& program) {
    if (program.process.hProcess == nullptr) {
        return;
    }
    PostMessageW(program.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(program.process.hProcess, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "a program did not close";
        TerminateProcess(program.process.hProcess, 1);
        WaitForSingleObject(program.process.hProcess, 5000);
    }
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    program = {};
}

// A button's command, from the press until nothing is left to paint.
double pressMs(HWND window, int id) {
    const double start = nowMs();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0, SMTO_NORMAL, 10000,
                             &result)) {
        ADD_FAILURE() << "the press was not answered: a box came?";
        return -1;
    }
    return untilPainted(window, start);
}

// Both windows show the same page: controls, strings, selections, checks.
void expectSamePage(HWND tov, HWND baseline) {
    for (int id : {IDC_OUTPUT, IDC_PREV, IDC_NEXT}) {
        const RECT shown = readControl(tov, id).rect;
        const RECT least = readControl(baseline, id).rect;
        EXPECT_TRUE(EqualRect(&shown, &least)) << id;
    }
    for (int id = IDC_QUESTION_FIRST; id <= IDC_QUESTION_LAST; ++id) {
        const ControlInfo shown = readControl(tov, id);
        const ControlInfo least = readControl(baseline, id);
        EXPECT_TRUE(shown.exists && least.exists) << id;
        EXPECT_EQ(shown.className, least.className) << id;
        EXPECT_EQ(shown.style, least.style) << id;
        EXPECT_TRUE(EqualRect(&shown.rect, &least.rect)) << id;
        EXPECT_EQ(shown.text, least.text) << id;
        EXPECT_EQ(shown.enabled, least.enabled) << id;
        EXPECT_EQ(shown.selection, least.selection) << id;
        EXPECT_EQ(shown.items, least.items) << id;
        EXPECT_EQ(SendMessageW(GetDlgItem(tov, id), BM_GETCHECK, 0, 0),
                  SendMessageW(GetDlgItem(baseline, id), BM_GETCHECK, 0, 0))
            << id;
    }
}

// ---- Sets to time

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

// `questions` questions of five choices, the first correct, each with
// `text` as its text and explanation; one genre.
void writeSet(const std::wstring& path, int questions, const std::string& text) {
    std::memset(&questionSet, 0, sizeof questionSet);
    std::strcpy(questionSet.title, "timing");
    questionSet.genreCount = 1;
    std::strcpy(questionSet.genreNames[0], "genre");
    for (int i = 0; i < questions; ++i) {
        Question& question = questionSet.questions[i];
        question.questionId = i + 1;
        question.format = 1;
        question.genre = 1;
        question.answer = 10000;
        question.points = 5;
        std::memcpy(question.text, text.c_str(), text.size() + 1);
        std::memcpy(question.explanation, text.c_str(), text.size() + 1);
        for (int k = 0; k < kMaxChoices; ++k) {
            std::memset(question.choices[k], 'a' + k, kNameSize - 1);
        }
    }
    questionSet.questionCount = questions;
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(writeQuestionSet(file, false));
    std::fclose(file);
    std::memset(&questionSet, 0, sizeof questionSet);
}

// tov.exe with the set loaded through its open dialog, on the first question.
HWND tovWithSet(const std::wstring& path) {
    EXPECT_TRUE(startTov());
    const HWND window = findTovWindow();
    postCommand(window, IDC_LOAD);
    const HWND dialog = findTovBox(L"ファイルを開く");
    EXPECT_NE(dialog, nullptr);
    chooseFile(dialog, path);
    const HWND box = findTovBox(L"開始");
    EXPECT_NE(box, nullptr) << "the set did not load";
    pressButton(box, IDOK);
    EXPECT_TRUE(waitForText(window, 45, L"1"));
    settle(window);
    return window;
}

void nextAndPrev(const std::string& text, const char* what) {
    const std::wstring path = temporaryFile(L"timing-pages.csv");
    writeSet(path, kPresses + 1, text);
    const HWND tov = tovWithSet(path);
    double firstPaint = 0;
    Program baseline = startProgram(TOV_BASELINE, L"\"" + path + L"\"", firstPaint);
    ASSERT_NE(tov, nullptr);
    ASSERT_NE(baseline.window, nullptr);
    expectSamePage(tov, baseline.window);
    for (const int id : {IDC_NEXT, IDC_PREV}) {
        Pairs presses;
        for (int i = 0; i < kPresses; ++i) {
            // Each goes first in every other pair.
            const double first = pressMs(i % 2 == 0 ? tov : baseline.window, id);
            const double second = pressMs(i % 2 == 0 ? baseline.window : tov, id);
            addPair(presses, i % 2 == 0 ? first : second, i % 2 == 0 ? second : first);
        }
        expectSamePage(tov, baseline.window);
        const std::string name = std::string(id == IDC_NEXT ? "Next" : "Prev") + ", " + what;
        printPairs(presses, name.c_str(), "ms", "presses");
    }
    EXPECT_EQ(readControl(tov, 45).text, L"1");
    closeProgram(baseline);
    stopTov();
    DeleteFileW(path.c_str());
}

TEST(Timing, StartToFirstPaint) {
    Pairs paint;
    Pairs memory;
    for (int round = 0; round < kStartRounds; ++round) {
        double times[2] = {};
        double peaks[2] = {};
        // Each goes first in every other round.
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (round + turn) % 2;
            Program program =
                startProgram(which == 0 ? TOV_PROGRAM : TOV_BASELINE, L"", times[which]);
            ASSERT_NE(program.window, nullptr);
            peaks[which] = peakWorkingSetMiB(program);
            closeProgram(program);
        }
        addPair(paint, times[0], times[1]);
        addPair(memory, peaks[0], peaks[1]);
    }
    printPairs(paint, "start to first paint", "ms", "paired rounds");
    printPairs(memory, "peak working set at first paint", "MiB", "paired rounds");
    std::printf("peak working set: tov %+.1f MiB against the baseline\n",
                median(memory.tov) - median(memory.baseline));
}

TEST(Timing, NextAndPrevOnAOneLineQuestion) {
    nextAndPrev("one line", "one-line question");
}

TEST(Timing, NextAndPrevOnTheLongestQuestion) {
    nextAndPrev(longText(), "5159 bytes, 500 line breaks");
}

// The file work of the commands, without their dialogs and boxes.
TEST(Timing, LoadAndOutputOfTheLargestSet) {
    const std::wstring path = temporaryFile(L"timing-largest.csv");
    const std::wstring written = temporaryFile(L"timing-written.csv");
    const std::wstring copied = temporaryFile(L"timing-copied.csv");
    writeSet(path, kMaxQuestions, longText());
    std::wcscpy(loadPath, path.c_str());
    const std::string bytes = readFileBytes(path);
    ASSERT_GT(bytes.size(), 2900000u);
    std::vector<char> buffer(bytes.size() + 1);
    Pairs load;
    Pairs output;
    std::vector<double> streams;
    for (int round = 0; round < 20; ++round) {
        std::memset(&questionSet, 0, sizeof questionSet);
        double start = nowMs();
        const int loaded = loadQuestionSet();
        const double tovLoad = nowMs() - start;
        EXPECT_EQ(loaded, 0);
        EXPECT_EQ(questionSet.questions[255].questionId, 256);

        start = nowMs();
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD got = 0;
        ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
        CloseHandle(file);
        addPair(load, tovLoad, nowMs() - start);
        EXPECT_EQ(got, bytes.size());

        std::memset(&questionSet, 0, sizeof questionSet);
        start = nowMs();
        readHeaderLines(path.c_str());
        readQuestionLines(path.c_str());
        streams.push_back(nowMs() - start);

        // Both onto a file that exists, as a second output of the same set.
        start = nowMs();
        questionSet.questionCount = kMaxQuestions;
        EXPECT_EQ(writeSetFile(nullptr, written.c_str(), false), OutputWritten);
        const double tovOutput = nowMs() - start;
        start = nowMs();
        EXPECT_TRUE(CopyFileW(path.c_str(), copied.c_str(), FALSE));
        addPair(output, tovOutput, nowMs() - start);
    }
    EXPECT_EQ(readFileBytes(written), bytes);
    std::printf("largest set: %zu bytes\n", bytes.size());
    printPairs(load, "load of the largest set", "ms", "rounds, one ReadFile as baseline");
    std::printf("load of the largest set through the stream readers: %.1f ms\n", median(streams));
    printPairs(output, "output of the largest set", "ms", "rounds, CopyFileW as baseline");
    for (const std::wstring& file : {path, written, copied}) {
        DeleteFileW(file.c_str());
    }
    std::memset(&questionSet, 0, sizeof questionSet);
}

} // namespace
