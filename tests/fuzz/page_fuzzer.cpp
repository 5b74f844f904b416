// Random records of both editing pages through their checks and stores.
// What a control gives is text in the ANSI code page: letters, commas, line
// breaks and double-byte characters, of any length the page reads. Whatever
// it is, every stored text ends inside its field, holds no comma, no line
// break, no half character and no partial escape, and nothing outside the
// slot or the settings is written.
#include "model/file_open.h"
#include "pages/question/question_format.h"
#include "pages/question/question_rules.h"
#include "pages/settings/settings_rules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t used;
};

std::uint8_t take(Bytes& in) {
    return in.used < in.size ? in.data[in.used++] : 0;
}

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// The controls never give a backslash here, so every backslash stored
// belongs to an escape.
void fillText(Bytes& in, char* out, std::size_t outSize, int maxUnits) {
    const int high = take(in);
    const int units = (high << 8 | take(in)) % (maxUnits + 1);
    std::size_t length = 0;
    for (int unit = 0; unit < units && in.used < in.size && length + 3 <= outSize; ++unit) {
        const std::uint8_t kind = take(in);
        switch (kind % 6) {
        case 0:
            out[length++] = ',';
            break;
        case 1:
            out[length++] = '\r';
            out[length++] = '\n';
            ++unit;
            break;
        case 2:
        case 3:
            out[length++] =
                static_cast<char>(kind < 0x80 ? 0x81 + kind % 0x1F : 0xE0 + kind % 0x1D);
            out[length++] = static_cast<char>(0x40 + take(in) % 0x3F);
            break;
        default:
            out[length++] = static_cast<char>('0' + kind % 43);
            break;
        }
    }
    out[length] = '\0';
}

void checkStoredText(const char* field, std::size_t size) {
    const std::size_t length = strnlen(field, size);
    check(length < size);
    for (std::size_t i = length; i < size; ++i) {
        check(field[i] == '\0'); // zero-filled behind the text
    }
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(field[i]);
        check(byte != ',' && byte != '\r' && byte != '\n');
        if (isLeadByte(byte)) {
            check(i + 1 < length);
            ++i;
        } else if (byte == '\\') {
            check(std::strncmp(field + i, "\\r\\n", 4) == 0);
            i += 3;
        }
    }
}

template <std::size_t Size> void checkStored(const char (&field)[Size]) {
    checkStoredText(field, Size);
}

SettingsPageInput settings;
QuestionPageInput page;

// The set between two guards: what the stores may not write lies outside
// the settings or the slot.
struct Guarded {
    unsigned char before[64];
    QuestionSet set;
    unsigned char after[64];
};
Guarded guarded;
Question untouched;

int selection(Bytes& in, int items) {
    const std::uint8_t byte = take(in);
    return byte >= 0xF0 ? static_cast<int>(static_cast<std::int8_t>(byte)) : byte % (items + 1);
}

void fillSettings(Bytes& in) {
    fillText(in, settings.title, sizeof settings.title, kShortReadUnits);
    for (int k = 0; k < kMaxRanks; ++k) {
        fillText(in, settings.rankNames[k], kShortInputSize, kShortReadUnits);
        fillText(in, settings.rankComments[k], kLongInputSize, kLongReadUnits);
    }
    for (int k = 0; k < kMaxThresholds; ++k) {
        fillText(in, settings.thresholds[k], kShortInputSize, kShortReadUnits);
    }
    for (int k = 0; k < kMaxGenres; ++k) {
        fillText(in, settings.genreNames[k], kShortInputSize, kShortReadUnits);
        fillText(in, settings.quotas[k], kShortInputSize, kShortReadUnits);
    }
    settings.modeSelection = selection(in, 3);
    settings.rankCountSelection = selection(in, 4);
    settings.genreCountSelection = selection(in, 5);
}

void fillPage(Bytes& in) {
    fillText(in, page.points, sizeof page.points, kShortReadUnits);
    fillText(in, page.text, sizeof page.text, kLongReadUnits);
    fillText(in, page.explanation, sizeof page.explanation, kLongReadUnits);
    for (int k = 0; k < kMaxChoices; ++k) {
        fillText(in, page.choices[k], kShortInputSize, kShortReadUnits);
        page.correct[k] = (take(in) & 1) != 0;
    }
    page.formatSelection = selection(in, 4);
    page.genreSelection = selection(in, 5);
    page.answerSelection = selection(in, 4);
}

void checkSettingsStored(const QuestionSet& set) {
    checkStored(set.title);
    for (int k = 0; k < kMaxRanks; ++k) {
        checkStored(set.rankNames[k]);
        checkStored(set.rankComments[k]);
    }
    for (int k = 0; k < kMaxGenres; ++k) {
        checkStored(set.genreNames[k]);
    }
    check(set.rankCount >= 2 && set.rankCount <= kMaxRanks);
    check(set.genreCount >= 1 && set.genreCount <= kMaxGenres);
    check(set.presentationMode >= 0 && set.presentationMode <= 2);
}

void checkSlotStored(const Question& slot, int index, int choicesStored) {
    checkStored(slot.text);
    checkStored(slot.explanation);
    for (int k = 0; k < choicesStored; ++k) {
        checkStored(slot.choices[k]);
    }
    check(slot.questionId == index + 1);
    check(slot.format >= 0 && slot.format <= 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in = {data, size, 0};
    std::memset(&guarded, 0xA5, sizeof guarded);
    std::memset(&guarded.set, 0, sizeof guarded.set);
    const int index = take(in);
    std::memset(&untouched, 0x5A, sizeof untouched);
    guarded.set.questions[index] = untouched;

    fillSettings(in);
    const MessageCode settingsCode = checkSettingsInput(settings);
    check(settingsCode >= 0 && settingsCode <= 34);
    storeSettingsInput(settings, guarded.set);
    checkSettingsStored(guarded.set);
    check(std::memcmp(&guarded.set.questions[index], &untouched, sizeof untouched) == 0);

    fillPage(in);
    const MessageCode pageCode = checkQuestionInput(page);
    check(pageCode == 0 || (pageCode >= 36 && pageCode <= 45));
    Question& slot = guarded.set.questions[index];
    storeQuestionInput(page, index, guarded.set.genreCount, slot);
    // Choices beyond the format's count keep what they held.
    const int stored = choiceCountOf(page.formatSelection);
    checkSlotStored(slot, index, stored);
    for (int k = stored; k < kMaxChoices; ++k) {
        check(std::memcmp(slot.choices[k], untouched.choices[k], kNameSize) == 0);
    }
    for (unsigned char byte : guarded.before) {
        check(byte == 0xA5);
    }
    for (unsigned char byte : guarded.after) {
        check(byte == 0xA5);
    }
    if (index > 0) {
        check(guarded.set.questions[index - 1].questionId == 0);
    }
    if (index + 1 < kMaxQuestions) {
        check(guarded.set.questions[index + 1].questionId == 0);
    }
    return 0;
}
