#include "model/question_file.h"

#include "model/file_open.h"
#include "model/question_set.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

constexpr int kQuestionFields = 12;

// The scrambled texts are unswapped while read by putting byte i at i ^ 1,
// which stays inside a field only when its size is even.
static_assert(kNameSize % 2 == 0 && kLongTextSize % 2 == 0, "texts hold whole pairs");

// One field of a line, pointing into the model. The writer and the readers
// walk the same lists, so the two cannot drift apart.
enum class FieldKind { Number, Text, RestOfLine };

struct Field {
    FieldKind kind;
    const char* name; // as reports name it
    std::int32_t* number;
    char* text;
    std::size_t size;
};

using FieldNames = const char* const[5];

constexpr FieldNames kGenreNameFields = {"genre name 1", "genre name 2", "genre name 3",
                                         "genre name 4", "genre name 5"};
constexpr FieldNames kGenreQuotaFields = {"genre quota 1", "genre quota 2", "genre quota 3",
                                          "genre quota 4", "genre quota 5"};
constexpr FieldNames kRankNameFields = {"rank name 1", "rank name 2", "rank name 3", "rank name 4",
                                        "rank name 5"};
constexpr FieldNames kThresholdFields = {"threshold 1", "threshold 2", "threshold 3", "threshold 4",
                                         ""};
constexpr FieldNames kRankCommentFields = {"rank comment 1", "rank comment 2", "rank comment 3",
                                           "rank comment 4", "rank comment 5"};
constexpr FieldNames kChoiceFields = {"choice 1", "choice 2", "choice 3", "choice 4", "choice 5"};

Field numberField(std::int32_t& value, const char* name) {
    return {FieldKind::Number, name, &value, nullptr, 0};
}

template <std::size_t N> Field textField(char (&text)[N], const char* name) {
    return {FieldKind::Text, name, nullptr, text, N};
}

template <std::size_t N>
int textFields(char (&texts)[5][N], const FieldNames& names, Field* fields) {
    for (int i = 0; i < 5; ++i) {
        fields[i] = textField(texts[i], names[i]);
    }
    return 5;
}

int numberFields(std::int32_t* values, int count, const FieldNames& names, Field* fields) {
    for (int i = 0; i < count; ++i) {
        fields[i] = numberField(values[i], names[i]);
    }
    return count;
}

int headerFields(int line, Field* fields) {
    QuestionSet& set = questionSet;
    switch (line) {
    case 1:
        fields[0] = textField(set.title, "title");
        fields[1] = numberField(set.presentationMode, "presentationMode");
        fields[2] = numberField(set.presentedCount, "presentedCount");
        fields[3] = numberField(set.rankCount, "rankCount");
        fields[4] = numberField(set.genreCount, "genreCount");
        return 5;
    case 2:
        return textFields(set.genreNames, kGenreNameFields, fields);
    case 3:
        return numberFields(set.genreQuotas, kMaxGenres, kGenreQuotaFields, fields);
    case 4:
        return textFields(set.rankNames, kRankNameFields, fields);
    case 5:
        return numberFields(set.rankThresholds, kMaxThresholds, kThresholdFields, fields);
    default:
        return textFields(set.rankComments, kRankCommentFields, fields);
    }
}

int questionFields(Question& question, Field* fields) {
    fields[0] = numberField(question.questionId, "questionId");
    fields[1] = numberField(question.format, "format");
    fields[2] = numberField(question.genre, "genre");
    fields[3] = textField(question.text, "text");
    fields[4] = numberField(question.answer, "answer");
    fields[5] = numberField(question.points, "points");
    fields[6] = textField(question.explanation, "explanation");
    textFields(question.choices, kChoiceFields, fields + 7);
    fields[11].kind = FieldKind::RestOfLine;
    return kQuestionFields;
}

// The fields of any line of the file, question lines pointing into slot 0.
int lineFields(int line, Field* fields) {
    return line > kHeaderLines ? questionFields(questionSet.questions[0], fields)
                               : headerFields(line, fields);
}

// A pair as one 16-bit value rotated by a byte, whatever the byte order:
// written so, the compiler turns the loop into vector shifts.
void copySwapped(char* to, const char* from, std::size_t pairs) {
    for (std::size_t i = 0; i < pairs; ++i) {
        std::uint16_t pair;
        std::memcpy(&pair, from + 2 * i, 2);
        pair = static_cast<std::uint16_t>(pair << 8 | pair >> 8);
        std::memcpy(to + 2 * i, &pair, 2);
    }
}

// ---- Writing
//
// The writer fills one fixed block and hands it to the stream whole, so the
// stream sees a few large writes instead of one per field.

struct Output {
    std::FILE* file;
    bool failed;
    std::size_t length;
    char block[1 << 16];
};

Output output;

void flushOutput() {
    if (!output.failed && output.length > 0) {
        output.failed = std::fwrite(output.block, 1, output.length, output.file) != output.length;
    }
    output.length = 0;
}

std::size_t outputRoom() {
    return sizeof output.block - output.length;
}

void putBytes(const char* bytes, std::size_t count) {
    if (count <= outputRoom()) {
        std::memcpy(output.block + output.length, bytes, count);
        output.length += count;
        return;
    }
    while (count > 0) {
        if (outputRoom() == 0) {
            flushOutput();
        }
        const std::size_t taken = std::min(count, outputRoom());
        std::memcpy(output.block + output.length, bytes, taken);
        output.length += taken;
        bytes += taken;
        count -= taken;
    }
}

// The separators, a byte at a time without a copy.
void putByte(char byte) {
    if (outputRoom() == 0) {
        flushOutput();
    }
    output.block[output.length++] = byte;
}

// Each pair swapped on the way; a lone last byte stays as it is.
void putSwapped(const char* bytes, std::size_t count) {
    while (count > 1) {
        const std::size_t room = outputRoom() & ~std::size_t{1};
        if (room == 0) {
            flushOutput();
            continue;
        }
        const std::size_t taken = std::min(count & ~std::size_t{1}, room);
        copySwapped(output.block + output.length, bytes, taken / 2);
        output.length += taken;
        bytes += taken;
        count -= taken;
    }
    putBytes(bytes, count);
}

void putNumber(std::int32_t value) {
    char digits[16];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    putBytes(digits, static_cast<std::size_t>(end.ptr - digits));
}

// A text ends at its first zero byte or at the end of its field. Scrambled,
// its pairs are swapped as swapPairs would: up to the first pair that holds
// a zero byte.
void putText(const char* text, std::size_t size, bool scrambled) {
    const void* end = std::memchr(text, '\0', size);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : size;
    if (scrambled) {
        putSwapped(text, length);
    } else {
        putBytes(text, length);
    }
}

void writeLine(const Field* fields, int count, bool scrambled) {
    for (int i = 0; i < count; ++i) {
        if (fields[i].kind == FieldKind::Number) {
            putNumber(*fields[i].number);
        } else {
            putText(fields[i].text, fields[i].size, scrambled);
        }
        if (i + 1 == count) {
            putByte('\r');
            putByte('\n');
        } else {
            putByte(',');
        }
    }
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
// The file is read through one fixed block (or straight from the caller's
// bytes), field by field into the model, so a line of any length is read
// without a line buffer. A run of plain bytes is looked through a word at a
// time for all the bytes that end it at once: a memchr per kind of byte
// costs four passes, each a byte at a time in some C runtimes (Wine's).

struct Input {
    std::FILE* file; // nullptr for bytes in memory
    bool readFailed;
    const unsigned char* bytes;
    std::size_t consumed; // bytes read before those at `bytes`
    std::size_t position;
    std::size_t length;
    unsigned char block[1 << 16];
};

Input input;

LineObserver lineObserver = nullptr;

// Where the next line feed lies, the end of the bytes when none.
std::size_t nextLineFeed() {
    if (input.position == input.length) {
        return input.length;
    }
    const void* found =
        std::memchr(input.bytes + input.position, '\n', input.length - input.position);
    return found ? static_cast<std::size_t>(static_cast<const unsigned char*>(found) - input.bytes)
                 : input.length;
}

void startInput(std::FILE* file, const unsigned char* bytes, std::size_t size) {
    input.file = file;
    input.readFailed = false;
    input.bytes = file != nullptr ? input.block : bytes;
    input.consumed = 0;
    input.position = 0;
    input.length = file != nullptr ? 0 : size;
}

// False when a read error cut the stream short.
bool inputIntact() {
    return input.file == nullptr || (!input.readFailed && !std::ferror(input.file));
}

bool refill() {
    input.consumed += input.length;
    input.position = 0;
    input.length = 0;
    if (input.file != nullptr) {
        input.length = std::fread(input.block, 1, sizeof input.block, input.file);
        input.readFailed = input.readFailed || std::ferror(input.file) != 0;
    }
    return input.length > 0;
}

// The next byte, EOF at the end. CR and zero bytes are never part of a
// field: a CR LF line end reads as LF, and a zero byte cannot be held.
int peekByte() {
    for (;;) {
        if (input.position == input.length && !refill()) {
            return EOF;
        }
        const unsigned char byte = input.bytes[input.position];
        if (byte > '\r' || (byte != '\r' && byte != '\0')) {
            return byte;
        }
        ++input.position;
    }
}

void skipByte() {
    ++input.position;
}

// Where the reader stands, counted from where the read began.
std::size_t inputOffset() {
    return input.consumed + input.position;
}

bool isLineEnd(int byte) {
    return byte == EOF || byte == '\n';
}

bool hasLine() {
    return peekByte() != EOF;
}

void finishLine() {
    for (;;) {
        const std::size_t lineFeed = nextLineFeed();
        if (lineFeed < input.length) {
            input.position = lineFeed + 1;
            return;
        }
        input.position = input.length;
        if (!refill()) {
            return;
        }
    }
}

bool isBlank(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f';
}

bool isDigit(int byte) {
    return static_cast<unsigned>(byte - '0') <= 9;
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

constexpr std::uint64_t kOnes = 0x0101010101010101u;

// Nonzero when a byte of `word` is below `limit` (at most 128).
std::uint64_t byteBelow(std::uint64_t word, unsigned char limit) {
    return (word - kOnes * limit) & ~word & (kOnes << 7);
}

bool endsRun(unsigned char byte, bool toLineEnd) {
    return byte == '\n' || byte == '\r' || byte == '\0' || (!toLineEnd && byte == ',');
}

// The end of the run of plain bytes at the current position: the next line
// feed, CR, zero byte or, unless `toLineEnd`, comma. Sixteen bytes at a time
// are passed over while none is a comma or below 14 (which holds the other
// three); the bytes of a block that has one are then looked at one by one.
std::size_t runEnd(bool toLineEnd) {
    // To the line end, the line feed stands in for the comma.
    const std::uint64_t comma = kOnes * (toLineEnd ? '\n' : ',');
    const unsigned char* bytes = input.bytes;
    std::size_t at = input.position;
    for (;;) {
        for (; at + 16 <= input.length; at += 16) {
            std::uint64_t words[2];
            std::memcpy(words, bytes + at, 16);
            if ((byteBelow(words[0], 14) | byteBelow(words[0] ^ comma, 1) |
                 byteBelow(words[1], 14) | byteBelow(words[1] ^ comma, 1)) != 0) {
                break;
            }
        }
        const std::size_t blockEnd = std::min(at + 16, input.length);
        for (; at < blockEnd; ++at) {
            if (endsRun(bytes[at], toLineEnd)) {
                return at;
            }
        }
        if (at == input.length) {
            return at;
        }
    }
}

// Puts `count` bytes of a scrambled text that holds `at` bytes already where
// they belong unswapped: byte i at i ^ 1. A lone last byte stays at its own
// place until the other half of its pair comes.
void placeUnswapped(char* text, std::size_t at, const unsigned char* from, std::size_t count) {
    const char* bytes = reinterpret_cast<const char*>(from);
    std::size_t done = 0;
    if (at % 2 != 0 && count > 0) {
        text[at] = text[at - 1];
        text[at - 1] = bytes[0];
        done = 1;
    }
    copySwapped(text + at + done, bytes + done, (count - done) / 2);
    if ((count - done) % 2 != 0) {
        text[at + count - 1] = bytes[count - 1];
    }
}

// A cut text must not end in the first half of a double-byte character.
// A byte that cannot lead always ends a character, so only the run of lead
// bytes after the last such byte is looked at: an odd run ends in a lead.
std::size_t withoutPartialCharacter(const char* text, std::size_t length) {
    std::size_t leads = 0;
    while (leads < length && isLeadByte(static_cast<unsigned char>(text[length - 1 - leads]))) {
        ++leads;
    }
    return length - leads % 2;
}

struct TextRead {
    std::size_t held; // bytes of the field in the file, CR and zero bytes not counted
    std::size_t kept; // of them in the model
};

// Reads up to the next comma (or the line end) into `text`, a run of plain
// bytes at a time; what does not fit is dropped. A scrambled text is
// unswapped as it is copied, and a cut one keeps an even length, so that
// it is a prefix of the original.
TextRead readText(const Field& field, bool scrambled) {
    const bool toLineEnd = field.kind == FieldKind::RestOfLine;
    const std::size_t limit = field.size - 1;
    std::size_t length = 0;
    std::size_t held = 0;
    int byte;
    while (!isLineEnd(byte = peekByte()) && (toLineEnd || byte != ',')) {
        const std::size_t end = runEnd(toLineEnd);
        const std::size_t count = end - input.position;
        const std::size_t taken = std::min(count, limit - length);
        if (scrambled) {
            placeUnswapped(field.text, length, input.bytes + input.position, taken);
        } else {
            std::memcpy(field.text + length, input.bytes + input.position, taken);
        }
        length += taken;
        held += count;
        input.position = end;
    }
    const bool cut = held > limit;
    if (cut && scrambled && length % 2 != 0) {
        --length;
    }
    field.text[length] = '\0';
    if (cut) {
        // The zero after a dropped half stays, as it always has.
        length = withoutPartialCharacter(field.text, length);
        field.text[length] = '\0';
    }
    return {held, length};
}

// ---- What the readers meet, told to the observer when there is one

void note(int line, LineEvent event, int field, std::size_t offset, std::size_t length = 0,
          std::size_t kept = 0) {
    lineObserver({line, event, field, offset, length, kept});
}

// The line did not go on with the comma before field `next`.
void noteNoComma(int line, int next, std::size_t previousStart) {
    if (isLineEnd(peekByte())) {
        note(line, LineEvent::EndsBefore, next, inputOffset());
    } else {
        // Only a number stops short of a comma; a text runs to one.
        note(line, LineEvent::MoreThanANumber, next - 1, previousStart);
    }
}

void noteNoNumber(int line, int field, std::size_t start, NumberRead read) {
    if (read == NumberRead::Blank) {
        // A line of white space only is no line at all.
        if (field > 0) {
            note(line, LineEvent::EndsBefore, field, inputOffset());
        }
    } else {
        note(line, field == 0 ? LineEvent::Unreadable : LineEvent::NotANumber, field, start);
    }
}

// What follows the last field is never read.
void noteLineRest(int line, int count, std::size_t lastStart) {
    const int byte = peekByte();
    if (byte == ',') {
        note(line, LineEvent::ExtraFields, count, inputOffset());
    } else if (!isLineEnd(byte)) {
        note(line, LineEvent::MoreThanANumber, count - 1, lastStart);
    }
}

// Parses one line into its fields, stopping at the first field it cannot
// read; the fields from there on keep their values. False when the line's
// first field is a number and the line begins with something else.
bool parseLine(int line, const Field* fields, int count, bool scrambled, bool* reached) {
    std::fill(reached, reached + count, false);
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (peekByte() != ',') {
                if (lineObserver != nullptr) {
                    noteNoComma(line, i, start);
                }
                return true;
            }
            skipByte();
        }
        start = inputOffset();
        if (fields[i].kind != FieldKind::Number) {
            const TextRead read = readText(fields[i], scrambled);
            if (lineObserver != nullptr && read.held > read.kept) {
                note(line, LineEvent::Cut, i, start, read.held, read.kept);
            }
            reached[i] = true;
            continue;
        }
        const NumberRead read = readNumber(*fields[i].number);
        if (read != NumberRead::Value) {
            if (lineObserver != nullptr) {
                noteNoNumber(line, i, start, read);
            }
            return i > 0 || read == NumberRead::Blank;
        }
    }
    if (lineObserver != nullptr) {
        noteLineRest(line, count, start);
    }
    return true;
}

bool readHeaderLine(int line) {
    Field fields[kQuestionFields];
    bool reached[kQuestionFields];
    const int count = headerFields(line, fields);
    const bool parsed = parseLine(line, fields, count, false, reached);
    finishLine();
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

// The texts a scrambled line did not reach are unswapped too, as the whole
// slot always has been.
void unswapUnreached(const Field* fields, const bool* reached, int count) {
    for (int i = 0; i < count; ++i) {
        if (fields[i].kind != FieldKind::Number && !reached[i]) {
            swapField(fields[i].text, fields[i].size);
        }
    }
}

// The slot is unswapped with its line, so that a later failure never leaves
// scrambled text in the model.
bool readQuestionLine(int slot, bool scrambled) {
    Field fields[kQuestionFields];
    bool reached[kQuestionFields];
    const int count = questionFields(questionSet.questions[slot], fields);
    const bool parsed = parseLine(kHeaderLines + 1 + slot, fields, count, scrambled, reached);
    finishLine();
    if (scrambled) {
        unswapUnreached(fields, reached, count);
    }
    return parsed;
}

int readHeader() {
    bool lastLineRead = true;
    for (int line = 1; line <= kHeaderLines && hasLine(); ++line) {
        lastLineRead = readHeaderLine(line);
    }
    return inputIntact() && lastLineRead ? 0 : -1;
}

int readQuestions(bool scrambled) {
    for (int line = 1; line <= kHeaderLines && hasLine(); ++line) {
        finishLine();
    }
    // Lines past the last slot are not looked at.
    bool lastLineRead = true;
    for (int slot = 0; slot < kMaxQuestions && hasLine(); ++slot) {
        lastLineRead = readQuestionLine(slot, scrambled);
    }
    return inputIntact() && lastLineRead ? 0 : -1;
}

const unsigned char* asBytes(const char* bytes) {
    return reinterpret_cast<const unsigned char*>(bytes);
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
    output.file = stream;
    output.failed = false;
    output.length = 0;
    for (int line = 1; line <= kHeaderLines && !output.failed; ++line) {
        Field fields[kQuestionFields];
        const int count = headerFields(line, fields);
        writeLine(fields, count, false);
    }
    const int questions = std::min<std::int32_t>(questionSet.questionCount, kMaxQuestions);
    for (int slot = 0; slot < questions && !output.failed; ++slot) {
        Field fields[kQuestionFields];
        const int count = questionFields(questionSet.questions[slot], fields);
        writeLine(fields, count, scrambled);
    }
    flushOutput();
    return !output.failed && std::fflush(stream) == 0 && std::ferror(stream) == 0;
}

int readHeaderLines(const wchar_t* path) {
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) {
        return -1;
    }
    const int result = readHeaderStream(file);
    std::fclose(file);
    return result;
}

int readQuestionLines(const wchar_t* path) {
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) {
        return -1;
    }
    const int result = readQuestionStream(file, isEepPath(path));
    std::fclose(file);
    return result;
}

int readHeaderStream(std::FILE* stream) {
    if (stream == nullptr) {
        return -1;
    }
    startInput(stream, nullptr, 0);
    return readHeader();
}

int readQuestionStream(std::FILE* stream, bool scrambled) {
    if (stream == nullptr) {
        return -1;
    }
    startInput(stream, nullptr, 0);
    return readQuestions(scrambled);
}

int readHeaderBytes(const char* bytes, std::size_t size) {
    startInput(nullptr, asBytes(bytes), bytes != nullptr ? size : 0);
    return readHeader();
}

int readQuestionBytes(const char* bytes, std::size_t size, bool scrambled) {
    startInput(nullptr, asBytes(bytes), bytes != nullptr ? size : 0);
    return readQuestions(scrambled);
}

void watchLines(LineObserver observer) {
    lineObserver = observer;
}

const char* fieldName(int line, int field) {
    Field fields[kQuestionFields];
    const int count = line >= 1 ? lineFields(line, fields) : 0;
    return field >= 0 && field < count ? fields[field].name : "";
}

bool isNumberField(int line, int field) {
    Field fields[kQuestionFields];
    const int count = line >= 1 ? lineFields(line, fields) : 0;
    return field >= 0 && field < count && fields[field].kind == FieldKind::Number;
}

bool isEepPath(const wchar_t* path) {
    const wchar_t* dot = path != nullptr ? std::wcsrchr(path, L'.') : nullptr;
    return dot != nullptr && std::wcsncmp(dot + 1, L"eep", 3) == 0;
}
