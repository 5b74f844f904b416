// Writing and reading the largest set the model holds (256 questions, every
// text full), against a plain copy of the same bytes through the same kind
// of stdio stream: the ratios say what the format itself costs.
#include "model/file_open.h"
#include "model/question_file.h"
#include "model/question_set.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path scratch;
std::vector<char> fileImage; // the bytes the writer makes of the set

std::wstring pathOf(const char* name) {
    return (scratch / name).wstring();
}

std::FILE* openOrDie(const char* name, const char* mode) {
    std::FILE* file = openFile(pathOf(name).c_str(), mode);
    if (file == nullptr) {
        std::perror(name);
        std::exit(1);
    }
    return file;
}

// size - 1 bytes of Shift_JIS text with an escape now and then.
void fillFull(char* text, std::size_t size) {
    static const char piece[] = "\x96\xe2\x91\xe8\x95\xb6\\r\\n abc";
    std::size_t n = 0;
    for (; n + sizeof piece - 1 < size; n += sizeof piece - 1) {
        std::memcpy(text + n, piece, sizeof piece - 1);
    }
    std::memset(text + n, 'z', size - 1 - n);
    text[size - 1] = '\0';
}

void fillLargestSet() {
    QuestionSet& s = questionSet;
    fillFull(s.title, kNameSize);
    s.presentationMode = GenreQuota;
    s.rankCount = kMaxRanks;
    s.genreCount = kMaxGenres;
    for (int i = 0; i < 5; ++i) {
        fillFull(s.genreNames[i], kNameSize);
        fillFull(s.rankNames[i], kNameSize);
        fillFull(s.rankComments[i], kLongTextSize);
        s.genreQuotas[i] = 51;
    }
    for (int i = 0; i < kMaxThresholds; ++i) {
        s.rankThresholds[i] = 20 * (i + 1);
    }
    s.questionCount = kMaxQuestions;
    for (int k = 0; k < kMaxQuestions; ++k) {
        Question& q = s.questions[k];
        q = Question{k + 1, 1, k % 5 + 1, "", 12345, 100, "", {}};
        fillFull(q.text, kLongTextSize);
        fillFull(q.explanation, kLongTextSize);
        for (char* choice : q.choices) {
            fillFull(choice, kNameSize);
        }
    }
}

void countBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fileImage.size()));
}

void writeSet(benchmark::State& state, bool scrambled) {
    for (auto _ : state) {
        std::FILE* file = openOrDie(scrambled ? "set.eep" : "set.csv", "wb");
        if (!writeQuestionSet(file, scrambled)) {
            state.SkipWithError("write failed");
        }
        std::fclose(file);
    }
    countBytes(state);
}

void readSet(benchmark::State& state, bool scrambled) {
    const std::wstring path = pathOf(scrambled ? "set.eep" : "set.csv");
    for (auto _ : state) {
        if (readHeaderLines(path.c_str()) != 0 || readQuestionLines(path.c_str()) != 0) {
            state.SkipWithError("read failed");
        }
    }
    countBytes(state);
}

void plainWrite(benchmark::State& state) {
    for (auto _ : state) {
        std::FILE* file = openOrDie("copy.csv", "wb");
        std::fwrite(fileImage.data(), 1, fileImage.size(), file);
        std::fclose(file);
    }
    countBytes(state);
}

void plainRead(benchmark::State& state) {
    std::vector<char> copy(fileImage.size());
    for (auto _ : state) {
        std::FILE* file = openOrDie("set.csv", "rb");
        std::size_t total = 0;
        for (std::size_t n; (n = std::fread(copy.data() + total, 1, 1 << 16, file)) > 0;) {
            total += n;
        }
        benchmark::DoNotOptimize(copy.data());
        std::fclose(file);
    }
    countBytes(state);
}

// Keeps each benchmark's real time per iteration for the ratios.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            seconds[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void printRatio(const RecordingReporter& reporter, const char* name, const char* baseline) {
    const auto measured = reporter.seconds.find(name);
    const auto plain = reporter.seconds.find(baseline);
    if (measured != reporter.seconds.end() && plain != reporter.seconds.end()) {
        std::printf("%-16s %6.1f ms  %-11s %6.1f ms  ratio %5.2f\n", name, measured->second * 1e3,
                    baseline, plain->second * 1e3, measured->second / plain->second);
    }
}

void prepare() {
    scratch = fs::temp_directory_path() / "tov_file_benchmark";
    fs::create_directories(scratch);
    fillLargestSet();
    for (const char* name : {"set.csv", "set.eep"}) {
        std::FILE* file = openOrDie(name, "wb");
        if (!writeQuestionSet(file, name[4] == 'e')) {
            std::exit(1);
        }
        std::fclose(file);
    }
    std::FILE* in = openOrDie("set.csv", "rb");
    fileImage.resize(fs::file_size(scratch / "set.csv"));
    if (std::fread(fileImage.data(), 1, fileImage.size(), in) != fileImage.size()) {
        std::exit(1);
    }
    std::fclose(in);
    std::printf("largest set: %zu bytes\n", fileImage.size());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    prepare();
    benchmark::RegisterBenchmark("WritePlain", writeSet, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WriteScrambled", writeSet, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainWrite", plainWrite)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ReadPlain", readSet, false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ReadScrambled", readSet, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainRead", plainRead)->Unit(benchmark::kMillisecond);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nAgainst a plain copy of the same %zu bytes:\n", fileImage.size());
    printRatio(reporter, "WritePlain", "PlainWrite");
    printRatio(reporter, "WriteScrambled", "PlainWrite");
    printRatio(reporter, "ReadPlain", "PlainRead");
    printRatio(reporter, "ReadScrambled", "PlainRead");
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return 0;
}
