// Any bytes must read without a sanitizer report, and what the writer makes
// of them must read back into the same bytes: write, read, write gives the
// same file twice. Both forms are tried on every input, all in memory.
#include "model/question_file.h"
#include "model/question_set.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// More than the slots a file of this many line ends can reach.
int questionLinesAtMost(const char* data, std::size_t size) {
    // memchr, not a loop of the fuzzer's own: its every comparison would be
    // traced.
    std::size_t lines = 1;
    for (const char* at = data;
         (at = static_cast<const char*>(
              std::memchr(at, '\n', static_cast<std::size_t>(data + size - at)))) != nullptr;
         ++at) {
        ++lines;
    }
    return lines <= 6 ? 0 : static_cast<int>(std::min<std::size_t>(lines - 6, kMaxQuestions));
}

// A text that holds nothing: the writer stops at the first zero, and a
// swap at the first pair that holds one. What lies behind stays, so a read
// that forgets a terminator shows in the bytes written.
void clearText(char* text) {
    text[0] = '\0';
    text[1] = '\0';
}

// Empties the header and the first `slots` questions: all a read can touch.
// Whole slots are 11 KB each; emptying their fields is what costs nothing.
void clearModel(int slots) {
    std::memset(&questionSet, 0, offsetof(QuestionSet, questions));
    for (int slot = 0; slot < slots; ++slot) {
        Question& q = questionSet.questions[slot];
        q.questionId = q.format = q.genre = q.answer = q.points = 0;
        clearText(q.text);
        clearText(q.explanation);
        for (char* choice : q.choices) {
            clearText(choice);
        }
    }
}

void readInto(const char* bytes, std::size_t size, bool scrambled, int slots) {
    clearModel(slots);
    readHeaderBytes(bytes, size);
    readQuestionBytes(bytes, size, scrambled);
    questionSet.questionCount = slots;
}

// More than the largest set the model can hold makes, so a write never
// runs out of room; the streams stay open, so no round allocates.
struct Written {
    char bytes[4 << 20];
    std::FILE* stream;
    std::size_t size;
};

Written first;
Written second;

void openStream(Written& out) {
    out.stream = fmemopen(out.bytes, sizeof out.bytes, "wb");
    if (out.stream == nullptr) {
        std::abort();
    }
}

void writeTo(Written& out, bool scrambled) {
    std::rewind(out.stream);
    if (!writeQuestionSet(out.stream, scrambled)) {
        std::abort();
    }
    out.size = static_cast<std::size_t>(std::ftell(out.stream));
}

// The input is read where libFuzzer put it, so that reading one byte past
// its end is caught.
void roundTrip(const char* input, std::size_t size, bool scrambled) {
    const int slots = questionLinesAtMost(input, size);
    readInto(input, size, scrambled, slots);
    writeTo(first, scrambled);
    readInto(first.bytes, first.size, scrambled, slots);
    writeTo(second, scrambled);
    if (second.size != first.size || std::memcmp(second.bytes, first.bytes, first.size) != 0) {
        std::fprintf(stderr, "write, read, write changed the %s file\n",
                     scrambled ? "scrambled" : "plain");
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    openStream(first);
    openStream(second);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* input = reinterpret_cast<const char*>(data);
    roundTrip(input, size, false);
    roundTrip(input, size, true);
    return 0;
}
