// Writing and reading the largest set the model holds (256 questions, every
// text full), against a plain copy of the same bytes through the same kind
// of stdio stream: the ratios say what the format itself costs. Everything
// stays in memory, so no file system is measured. Hot, every buffer has
// been touched before; cold, the pages the bytes land in (the written
// stream, the copy read into, the model) are handed back to the system
// before each round, for the copies and the core alike.
#include "model/question_file.h"
#include "model/question_set.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

enum Form { Plain, Scrambled };
enum Temperature { Hot, Cold };

const char* const kFormNames[] = {"Plain", "Scrambled"};
const char* const kTemperatureNames[] = {"hot", "cold"};

std::string images[2]; // the bytes the writer makes of the set, per form

// A page-aligned buffer that can be handed back to the system.
struct Pages {
    char* bytes;
    std::size_t size;
};

Pages written; // where both kinds of write go
Pages copied;  // where the plain read copies to

std::size_t pageSize() {
    return static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

Pages mapPages(std::size_t size) {
    const std::size_t rounded = (size + pageSize() - 1) / pageSize() * pageSize();
    void* bytes =
        ::mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (bytes == MAP_FAILED) {
        std::perror("mmap");
        std::exit(1);
    }
    return {static_cast<char*>(bytes), rounded};
}

// The next touch of each page faults in a fresh zero page.
void dropPages(void* start, std::size_t size) {
    const auto first = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t from = (first + pageSize() - 1) / pageSize() * pageSize();
    const std::uintptr_t to = (first + size) / pageSize() * pageSize();
    if (to > from && ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED) != 0) {
        std::perror("madvise");
        std::exit(1);
    }
}

void cool(benchmark::State& state, Temperature temperature, void* start, std::size_t size) {
    if (temperature == Cold) {
        state.PauseTiming();
        dropPages(start, size);
        state.ResumeTiming();
    }
}

std::FILE* writeStream() {
    std::FILE* stream = fmemopen(written.bytes, written.size, "wb");
    if (stream == nullptr) {
        std::perror("fmemopen");
        std::exit(1);
    }
    return stream;
}

std::FILE* readStream(Form form) {
    std::FILE* stream = fmemopen(images[form].data(), images[form].size(), "rb");
    if (stream == nullptr) {
        std::perror("fmemopen");
        std::exit(1);
    }
    return stream;
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

void countBytes(benchmark::State& state, Form form) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(images[form].size()));
}

void writeSet(benchmark::State& state, Form form, Temperature temperature) {
    for (auto _ : state) {
        cool(state, temperature, written.bytes, written.size);
        std::FILE* stream = writeStream();
        if (!writeQuestionSet(stream, form == Scrambled)) {
            state.SkipWithError("write failed");
        }
        std::fclose(stream);
    }
    countBytes(state, form);
}

void copyWrite(benchmark::State& state, Form form, Temperature temperature) {
    for (auto _ : state) {
        cool(state, temperature, written.bytes, written.size);
        std::FILE* stream = writeStream();
        if (std::fwrite(images[form].data(), 1, images[form].size(), stream) !=
                images[form].size() ||
            std::fflush(stream) != 0) {
            state.SkipWithError("write failed");
        }
        std::fclose(stream);
    }
    countBytes(state, form);
}

// As loading does: the header from one stream, the questions from another.
void readSet(benchmark::State& state, Form form, Temperature temperature) {
    for (auto _ : state) {
        cool(state, temperature, questionSet.questions, sizeof questionSet.questions);
        std::FILE* header = readStream(form);
        std::FILE* questions = readStream(form);
        if (readHeaderStream(header) != 0 ||
            readQuestionStream(questions, form == Scrambled) != 0) {
            state.SkipWithError("read failed");
        }
        std::fclose(header);
        std::fclose(questions);
    }
    countBytes(state, form);
}

void copyRead(benchmark::State& state, Form form, Temperature temperature) {
    for (auto _ : state) {
        cool(state, temperature, copied.bytes, copied.size);
        std::FILE* stream = readStream(form);
        if (std::fread(copied.bytes, 1, copied.size, stream) != images[form].size()) {
            state.SkipWithError("read failed");
        }
        benchmark::DoNotOptimize(copied.bytes);
        std::fclose(stream);
    }
    countBytes(state, form);
}

using Body = void (*)(benchmark::State&, Form, Temperature);

std::string nameOf(const char* kind, Form form, Temperature temperature) {
    return std::string(kind) + kFormNames[form] + "/" + kTemperatureNames[temperature];
}

void registerAll() {
    const std::pair<const char*, Body> bodies[] = {
        {"Write", writeSet}, {"CopyWrite", copyWrite}, {"Read", readSet}, {"CopyRead", copyRead}};
    for (Temperature temperature : {Hot, Cold}) {
        for (Form form : {Plain, Scrambled}) {
            for (const auto& [kind, body] : bodies) {
                benchmark::RegisterBenchmark(nameOf(kind, form, temperature).c_str(), body, form,
                                             temperature)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
}

// Keeps each benchmark's CPU time per iteration for the ratios: on a shared
// machine the real time also counts the time others ran.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            seconds[run.benchmark_name()] = run.cpu_accumulated_time / double(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

double secondsOf(const RecordingReporter& reporter, const char* kind, Form form,
                 Temperature temperature) {
    const auto found = reporter.seconds.find(nameOf(kind, form, temperature));
    return found != reporter.seconds.end() ? found->second : 0;
}

// (write + read) against (copy write + copy read), then against the plain form.
void printRatios(const RecordingReporter& reporter) {
    std::printf("\n(write + read) against a plain copy of the same %zu bytes:\n",
                images[Plain].size());
    for (Temperature temperature : {Hot, Cold}) {
        double core[2] = {};
        for (Form form : {Plain, Scrambled}) {
            core[form] = secondsOf(reporter, "Write", form, temperature) +
                         secondsOf(reporter, "Read", form, temperature);
            const double copy = secondsOf(reporter, "CopyWrite", form, temperature) +
                                secondsOf(reporter, "CopyRead", form, temperature);
            if (core[form] > 0 && copy > 0) {
                std::printf("%-4s %-9s  core %6.2f ms  copy %6.2f ms  ratio %5.2f\n",
                            kTemperatureNames[temperature], kFormNames[form], core[form] * 1e3,
                            copy * 1e3, core[form] / copy);
            }
        }
        if (core[Plain] > 0 && core[Scrambled] > 0) {
            std::printf("%-4s scrambled against plain  ratio %5.2f\n",
                        kTemperatureNames[temperature], core[Scrambled] / core[Plain]);
        }
    }
}

std::string writtenImage(Form form) {
    std::FILE* stream = writeStream();
    if (!writeQuestionSet(stream, form == Scrambled)) {
        std::exit(1);
    }
    const long size = std::ftell(stream);
    std::fclose(stream);
    return std::string(written.bytes, static_cast<std::size_t>(size));
}

void prepare() {
    fillLargestSet();
    written = mapPages(4 << 20);
    copied = mapPages(4 << 20);
    for (Form form : {Plain, Scrambled}) {
        images[form] = writtenImage(form);
    }
    if (images[Plain].size() >= copied.size) {
        std::exit(1);
    }
    std::printf("largest set: %zu bytes\n", images[Plain].size());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    prepare();
    registerAll();
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}
