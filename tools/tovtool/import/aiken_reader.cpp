// Aiken, the plainest quiz text: the question, its choices "A." or "A)" on
// lines of their own, and "ANSWER: X".
#include "tools/tovtool/import/import_record.h"
#include "tools/tovtool/import/text_encoding.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr double kFullCredit = 100;

std::string_view trimmed(std::string_view s) {
    const std::size_t from = s.find_first_not_of(" \t");
    if (from == std::string_view::npos) {
        return {};
    }
    return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// The text after "ANSWER:", or false for another line.
bool answerLine(std::string_view line, std::string_view& answer) {
    if (line.compare(0, 6, "ANSWER") != 0) {
        return false;
    }
    const std::string_view rest = trimmed(line.substr(6));
    if (rest.empty() || rest[0] != ':') {
        return false;
    }
    answer = trimmed(rest.substr(1));
    return true;
}

// The text of choice `letter` when `line` is it ("B. text", "B)text").
bool choiceLine(std::string_view line, char letter, std::string_view& choice) {
    if (line.size() < 2 || line[0] != letter || (line[1] != '.' && line[1] != ')')) {
        return false;
    }
    choice = trimmed(line.substr(2));
    return true;
}

void markAnswer(std::string_view answer, ImportRecord& record) {
    if (answer.size() != 1 || upper(answer[0]) < 'A' || upper(answer[0]) > 'Z') {
        record.skip = Msg::SkipAnswerUnreadable;
        record.skipArgs = {std::string(answer)};
        return;
    }
    const auto index = static_cast<std::size_t>(upper(answer[0]) - 'A');
    record.credit.resize(std::max(record.choices.size(), index + 1), 0);
    record.credit[index] = kFullCredit;
}

void finish(ImportRecord& record, ImportBatch& batch) {
    if (record.place.line > 0) {
        record.credit.resize(std::max(record.credit.size(), record.choices.size()), 0);
        batch.records.push_back(std::move(record));
    }
    record = ImportRecord();
}

// One line into the question being read; a question ends at its ANSWER
// line, or at a blank line once it has choices.
void readLine(std::string_view line, int number, ImportRecord& record, ImportBatch& batch) {
    std::string_view part;
    const std::size_t count = record.choices.size();
    const char letter = count < 26 ? static_cast<char>('A' + count) : '\0';
    if (line.empty()) {
        if (count > 0) {
            finish(record, batch);
        }
    } else if (answerLine(line, part)) {
        record.place.line = record.place.line > 0 ? record.place.line : number;
        markAnswer(part, record);
        finish(record, batch);
    } else if (record.place.line == 0) {
        record.place.line = number;
        record.text = std::string(line);
    } else if (choiceLine(line, letter, part)) {
        record.choices.emplace_back(part);
    } else if (!record.choices.empty()) {
        record.choices.back() += "\n" + std::string(line);
    } else {
        record.text += "\n" + std::string(line);
    }
}

} // namespace

void readAiken(std::string_view bytes, ImportBatch& batch) {
    const std::string text = decodeText(bytes);
    ImportRecord record;
    int number = 1;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", from);
        end = end == std::string::npos ? text.size() : end;
        readLine(trimmed(std::string_view(text).substr(from, end - from)), number, record, batch);
        from = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++number;
    }
    finish(record, batch);
}
