#include "model/question_file.h"

#include "model/file_open.h"
#include "model/question_set.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

constexpr int kHeaderLines = 6;
constexpr int kQuestionFields = 12;

// One field of a line, pointing into the model. The writer and the readers
// walk the same lists, so the two cannot drift apart.
enum class FieldKind { Number, Text, RestOfLine };

struct Field {
    FieldKind kind;
    std::int32_t* number;
    char* text;
    std::size_t size;
};

Field numberField(std::int32_t& value) {
    return {FieldKind::Number, &value, nullptr, 0};
}

template <std::size_t N> Field textField(char (&text)[N]) {
    return {FieldKind::Text, nullptr, text, N};
}

template <std::size_t N> int textFields(char (&texts)[5][N], Field* fields) {
    for (int i = 0; i < 5; ++i) {
        fields[i] = textField(texts[i]);
    }
    return 5;
}

int numberFields(std::int32_t* values, int count, Field* fields) {
    for (int i = 0; i < count; ++i) {
        fields[i] = numberField(values[i]);
    }
    return count;
}

int headerFields(int line, Field* fields) {
    QuestionSet& set = questionSet;
    switch (line) {
    case 1:
        fields[0] = textField(set.title);
        fields[1] = numberField(set.presentationMode);
        fields[2] = numberField(set.presentedCount);
        fields[3] = numberField(set.rankCount);
        fields[4] = numberField(set.genreCount);
        return 5;
    case 2:
        return textFields(set.genreNames, fields);
    case 3:
        return numberFields(set.genreQuotas, kMaxGenres, fields);
    case 4:
        return textFields(set.rankNames, fields);
    case 5:
        return numberFields(set.rankThresholds, kMaxThresholds, fields);
    default:
        return textFields(set.rankComments, fields);
    }
}

int questionFields(Question& question, Field* fields) {
    fields[0] = numberField(question.questionId);
    fields[1] = numberField(question.format);
    fields[2] = numberField(question.genre);
    fields[3] = textField(question.text);
    fields[4] = numberField(question.answer);
    fields[5] = numberField(question.points);
    fields[6] = textField(question.explanation);
    textFields(question.choices, fields + 7);
    fields[11].kind = FieldKind::RestOfLine;
    return kQuestionFields;
}

// ---- Writing

bool putText(std::FILE* stream, const char* text, std::size_t size) {
    const void* end = std::memchr(text, '\0', size);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : size;
    return std::fwrite(text, 1, length, stream) == length;
}

bool putField(std::FILE* stream, const Field& field) {
    if (field.kind == FieldKind::Number) {
        return std::fprintf(stream, "%d", static_cast<int>(*field.number)) > 0;
    }
    return putText(stream, field.text, field.size);
}

bool writeLine(std::FILE* stream, const Field* fields, int count) {
    for (int i = 0; i < count; ++i) {
        const char* separator = i + 1 == count ? "\r\n" : ",";
        if (!putField(stream, fields[i]) || std::fputs(separator, stream) < 0) {
            return false;
        }
    }
    return true;
}

bool writeQuestionLine(std::FILE* stream, int slot, bool scrambled) {
    if (scrambled) {
        swapPairs(slot);
    }
    Field fields[kQuestionFields];
    const int count = questionFields(questionSet.questions[slot], fields);
    const bool written = writeLine(stream, fields, count);
    if (scrambled) {
        swapPairs(slot);
    }
    return written;
}

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Quotas read from a file may be anything; their sum saturates.
std::int32_t derivedPresentedCount() {
    if (questionSet.presentationMode == Sequential || questionSet.presentationMode == FullRandom) {
        return questionSet.questionCount;
    }
    std::int64_t sum = 0;
    for (std::int32_t quota : questionSet.genreQuotas) {
        sum += quota;
    }
    return clampToInt32(sum);
}

// ---- Reading
//
// The file is read through one fixed block, field by field straight into
// the model, so a line of any length is read without a line buffer.

struct Input {
    std::FILE* file;
    bool readFailed;
    std::size_t position;
    std::size_t length;
    unsigned char block[1 << 16];
};

Input input;

bool openInput(const wchar_t* path) {
    input.file = openFile(path, "rb");
    input.readFailed = false;
    input.position = 0;
    input.length = 0;
    return input.file != nullptr;
}

// False when a read error cut the file short.
bool closeInput() {
    const bool intact = !input.readFailed && !std::ferror(input.file);
    std::fclose(input.file);
    input.file = nullptr;
    return intact;
}

bool refill() {
    input.position = 0;
    input.length = std::fread(input.block, 1, sizeof input.block, input.file);
    input.readFailed = input.readFailed || std::ferror(input.file) != 0;
    return input.length > 0;
}

// The next byte, EOF at the end. CR and zero bytes are never part of a
// field: a CR LF line end reads as LF, and a zero byte cannot be held.
int peekByte() {
    for (;;) {
        if (input.position == input.length && !refill()) {
            return EOF;
        }
        const unsigned char byte = input.block[input.position];
        if (byte != '\r' && byte != '\0') {
            return byte;
        }
        ++input.position;
    }
}

void skipByte() {
    ++input.position;
}

bool isLineEnd(int byte) {
    return byte == EOF || byte == '\n';
}

bool hasLine() {
    return peekByte() != EOF;
}

void finishLine() {
    int byte;
    while (!isLineEnd(byte = peekByte())) {
        skipByte();
    }
    if (byte == '\n') {
        skipByte();
    }
}

bool isBlank(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f';
}

bool isDigit(int byte) {
    return byte >= '0' && byte <= '9';
}

enum class NumberRead { Value, Blank, Bad };

// White space, an optional sign and digits; saturates instead of overflowing.
NumberRead readNumber(std::int32_t& target) {
    int byte;
    while (isBlank(byte = peekByte())) {
        skipByte();
    }
    if (isLineEnd(byte)) {
        return NumberRead::Blank;
    }
    const bool negative = byte == '-';
    if (byte == '-' || byte == '+') {
        skipByte();
        byte = peekByte();
    }
    if (!isDigit(byte)) {
        return NumberRead::Bad;
    }
    constexpr std::int64_t kCap = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; isDigit(byte); skipByte(), byte = peekByte()) {
        magnitude = std::min(magnitude * 10 + (byte - '0'), kCap);
    }
    target = clampToInt32(negative ? -magnitude : magnitude);
    return NumberRead::Value;
}

bool endsRun(unsigned char byte, bool toLineEnd) {
    return byte == '\n' || byte == '\r' || byte == '\0' || (byte == ',' && !toLineEnd);
}

// Reads up to the next comma (or the line end) into `text`, a run of plain
// bytes at a time; what does not fit is dropped. A cut scrambled text keeps
// an even length, so that unswapping gives a prefix of the original. True
// when cut.
bool readText(const Field& field, bool scrambled) {
    const bool toLineEnd = field.kind == FieldKind::RestOfLine;
    const std::size_t limit = field.size - 1;
    std::size_t length = 0;
    bool cut = false;
    int byte;
    while (!isLineEnd(byte = peekByte()) && (toLineEnd || byte != ',')) {
        const unsigned char* run = input.block + input.position;
        const std::size_t available = input.length - input.position;
        std::size_t count = 1;
        while (count < available && !endsRun(run[count], toLineEnd)) {
            ++count;
        }
        const std::size_t taken = std::min(count, limit - length);
        std::memcpy(field.text + length, run, taken);
        length += taken;
        cut = cut || taken < count;
        input.position += count;
    }
    if (cut && scrambled && length % 2 != 0) {
        --length;
    }
    field.text[length] = '\0';
    return cut;
}

// A cut text must not end in the first half of a double-byte character.
void dropPartialCharacter(char* text) {
    std::size_t i = 0;
    while (text[i] != '\0') {
        if (!isLeadByte(static_cast<unsigned char>(text[i]))) {
            ++i;
        } else if (text[i + 1] == '\0') {
            text[i] = '\0';
        } else {
            i += 2;
        }
    }
}

void dropPartialCharacters(const Field* fields, const bool* cut, int count) {
    for (int i = 0; i < count; ++i) {
        if (cut[i]) {
            dropPartialCharacter(fields[i].text);
        }
    }
}

// Parses one line into its fields, stopping at the first field it cannot
// read; the fields from there on keep their values. False when the line's
// first field is a number and the line begins with something else.
bool parseLine(const Field* fields, int count, bool scrambled, bool* cut) {
    std::fill(cut, cut + count, false);
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (peekByte() != ',') {
                return true;
            }
            skipByte();
        }
        if (fields[i].kind != FieldKind::Number) {
            cut[i] = readText(fields[i], scrambled);
            continue;
        }
        const NumberRead read = readNumber(*fields[i].number);
        if (read != NumberRead::Value) {
            return i > 0 || read == NumberRead::Blank;
        }
    }
    return true;
}

bool readHeaderLine(int line) {
    Field fields[kQuestionFields];
    bool cut[kQuestionFields];
    const int count = headerFields(line, fields);
    const bool parsed = parseLine(fields, count, false, cut);
    finishLine();
    dropPartialCharacters(fields, cut, count);
    return parsed;
}

// The slot is unswapped right after its line, so that a later failure never
// leaves scrambled text in the model.
bool readQuestionLine(int slot, bool scrambled) {
    Field fields[kQuestionFields];
    bool cut[kQuestionFields];
    const int count = questionFields(questionSet.questions[slot], fields);
    const bool parsed = parseLine(fields, count, scrambled, cut);
    finishLine();
    if (scrambled) {
        swapPairs(slot);
    }
    dropPartialCharacters(fields, cut, count);
    return parsed;
}

void swapField(char* text, std::size_t size) {
    for (std::size_t p = 0; p + 1 < size; p += 2) {
        if (text[p] == '\0' || text[p + 1] == '\0') {
            return;
        }
        std::swap(text[p], text[p + 1]);
    }
}

} // namespace

void swapPairs(int slot) {
    if (slot < 0 || slot >= kMaxQuestions) {
        return;
    }
    Question& question = questionSet.questions[slot];
    swapField(question.text, sizeof question.text);
    swapField(question.explanation, sizeof question.explanation);
    for (char* choice : question.choices) {
        swapField(choice, kNameSize);
    }
}

bool writeQuestionSet(std::FILE* stream, bool scrambled) {
    if (stream == nullptr) {
        return false;
    }
    questionSet.presentedCount = derivedPresentedCount();
    bool written = true;
    for (int line = 1; line <= kHeaderLines && written; ++line) {
        Field fields[kQuestionFields];
        const int count = headerFields(line, fields);
        written = writeLine(stream, fields, count);
    }
    const int questions = std::min<std::int32_t>(questionSet.questionCount, kMaxQuestions);
    for (int slot = 0; slot < questions && written; ++slot) {
        written = writeQuestionLine(stream, slot, scrambled);
    }
    return written && std::fflush(stream) == 0 && std::ferror(stream) == 0;
}

int readHeaderLines(const wchar_t* path) {
    if (!openInput(path)) {
        return -1;
    }
    bool lastLineRead = true;
    for (int line = 1; line <= kHeaderLines && hasLine(); ++line) {
        lastLineRead = readHeaderLine(line);
    }
    return closeInput() && lastLineRead ? 0 : -1;
}

int readQuestionLines(const wchar_t* path) {
    if (!openInput(path)) {
        return -1;
    }
    const bool scrambled = isEepPath(path);
    for (int line = 1; line <= kHeaderLines && hasLine(); ++line) {
        finishLine();
    }
    // Lines past the last slot are not looked at.
    bool lastLineRead = true;
    for (int slot = 0; slot < kMaxQuestions && hasLine(); ++slot) {
        lastLineRead = readQuestionLine(slot, scrambled);
    }
    return closeInput() && lastLineRead ? 0 : -1;
}

bool isEepPath(const wchar_t* path) {
    const wchar_t* dot = path != nullptr ? std::wcsrchr(path, L'.') : nullptr;
    return dot != nullptr && std::wcsncmp(dot + 1, L"eep", 3) == 0;
}
