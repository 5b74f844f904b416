// Any bytes must read without a sanitizer report, and what the writer makes
// of them must read back into the same bytes: write, read, write gives the
// same file twice. Both forms are tried on every input.
#include "model/file_open.h"
#include "model/question_file.h"
#include "model/question_set.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path scratch;

std::wstring scratchPath(const char* name) {
    return (scratch / name).wstring();
}

void removeScratch() {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

void writeBytes(const std::wstring& path, const void* data, std::size_t size) {
    std::FILE* file = openFile(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
}

std::string bytesOf(const std::wstring& path) {
    std::FILE* file = openFile(path.c_str(), "rb");
    if (file == nullptr) {
        std::abort();
    }
    std::string bytes;
    char block[1 << 16];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) {
        bytes.append(block, n);
    }
    std::fclose(file);
    return bytes;
}

// More than the slots a file of this many line ends can reach.
int questionLinesAtMost(const std::uint8_t* data, std::size_t size) {
    const auto lineEnds = static_cast<std::size_t>(std::count(data, data + size, '\n'));
    const std::size_t lines = lineEnds + 1;
    return lines <= 6 ? 0 : static_cast<int>(std::min<std::size_t>(lines - 6, kMaxQuestions));
}

// Zeroes the header and the first `slots` questions: all a read can touch.
void clearModel(int slots) {
    std::memset(&questionSet, 0, offsetof(QuestionSet, questions));
    std::memset(questionSet.questions, 0, sizeof(Question) * static_cast<std::size_t>(slots));
}

void readInto(const std::wstring& path, int slots) {
    clearModel(slots);
    readHeaderLines(path.c_str());
    readQuestionLines(path.c_str());
    questionSet.questionCount = slots;
}

std::string writtenTo(const std::wstring& path, bool scrambled) {
    std::FILE* file = openFile(path.c_str(), "wb");
    if (file == nullptr || !writeQuestionSet(file, scrambled) || std::fclose(file) != 0) {
        std::abort();
    }
    return bytesOf(path);
}

void roundTrip(const std::uint8_t* data, std::size_t size, bool scrambled) {
    const char* suffix = scrambled ? ".eep" : ".csv";
    const std::wstring input = scratchPath((std::string("input") + suffix).c_str());
    const std::wstring first = scratchPath((std::string("first") + suffix).c_str());
    const std::wstring second = scratchPath((std::string("second") + suffix).c_str());
    const int slots = questionLinesAtMost(data, size);

    writeBytes(input, data, size);
    readInto(input, slots);
    const std::string firstBytes = writtenTo(first, scrambled);
    readInto(first, slots);
    if (writtenTo(second, scrambled) != firstBytes) {
        std::fprintf(stderr, "write, read, write changed the %s file\n", suffix);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratch = fs::temp_directory_path() / ("tov_fuzz_" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    std::atexit(removeScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    roundTrip(data, size, false);
    roundTrip(data, size, true);
    return 0;
}
