// Writes a question set kept as data in both forms, through tov's own reader
// and writer, for the packages: write_sample IN.csv OUT.csv OUT.eep
#include "model/question_file.h"
#include "model/question_set.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

// Paths come in UTF-8, as the file-open seam takes them back.
std::wstring widen(const char* path) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::wstring wide(std::strlen(path) + 1, L'\0');
    const std::size_t length = std::mbstowcs(wide.data(), path, wide.size());
    wide.resize(length == static_cast<std::size_t>(-1) ? 0 : length);
    return wide;
}

// The questions in use, as the check before output counts them.
std::int32_t questionsInUse() {
    std::int32_t count = 0;
    while (count < kMaxQuestions && questionSet.questions[count].questionId != 0) {
        ++count;
    }
    return count;
}

bool writeForm(const char* path, bool scrambled) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = writeQuestionSet(file, scrambled);
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: write_sample IN.csv OUT.csv OUT.eep\n", stderr);
        return 2;
    }
    const std::wstring in = widen(argv[1]);
    if (readHeaderLines(in.c_str()) != 0 || readQuestionLines(in.c_str()) != 0) {
        std::fprintf(stderr, "write_sample: cannot read %s\n", argv[1]);
        return 1;
    }
    questionSet.questionCount = questionsInUse();
    if (!writeForm(argv[2], false) || !writeForm(argv[3], true)) {
        std::fputs("write_sample: cannot write the samples\n", stderr);
        return 1;
    }
    return 0;
}
