// GIFT, the quiz text format learning platforms import: a question per
// paragraph, its answers in braces. Where files are looser than the format,
// they are read as the platform's own importer reads them, and the looseness
// is reported.
#include "tools/tovtool/import/html_text.h"
#include "tools/tovtool/import/import_record.h"
#include "tools/tovtool/import/text_encoding.h"

#include <charconv>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr char kBlank[] = "（　　）"; // where a missing word's answers stood
constexpr double kFullCredit = 100;
constexpr std::size_t kNameCharacters = 30;

// What is looser than the format, in the order of the catalogue's texts.
enum class Loose { NoBlankLine, NoSpace, TildeEquals, TextBeforeAnswers, EmptyAnswer, LowerCase };

constexpr Msg kLoose[] = {Msg::GiftNoBlankLine,       Msg::GiftNoSpace,     Msg::GiftTildeEquals,
                          Msg::GiftTextBeforeAnswers, Msg::GiftEmptyAnswer, Msg::GiftLowerCase};

constexpr int kLooseKinds = sizeof kLoose / sizeof kLoose[0];

// A question's lines, comments left out, and the line it starts on.
struct Block {
    int line = 0;
    std::string text;
    bool noBlankLine = false; // it followed the one before without a blank line
};

// The lines of the input, with what grouping them needs to know.
struct Line {
    std::string_view text; // trimmed
    bool comment;
    bool braceAhead; // an answer block opens here or further on in the paragraph
};

struct Piece {
    std::string text;
    bool image = false;
};

std::string_view trimmed(std::string_view s) {
    const std::size_t from = s.find_first_not_of(" \t\r\n");
    if (from == kNpos) {
        return {};
    }
    return s.substr(from, s.find_last_not_of(" \t\r\n") - from + 1);
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

ImportNote looseNote(Loose which, int line) {
    return {{line, {}}, kLoose[static_cast<int>(which)], {}};
}

void noteLoose(ImportRecord& record, Loose which) {
    record.notes.push_back(looseNote(which, record.place.line));
}

// The first `what` from `from` on that no backslash escapes.
std::size_t findMark(std::string_view s, std::string_view what, std::size_t from = 0) {
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s.compare(i, what.size(), what) == 0) {
            return i;
        }
    }
    return kNpos;
}

// Where the answer after `from` starts: at the next '~' or '='.
std::size_t nextAnswer(std::string_view s, std::size_t from) {
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == '~' || s[i] == '=') {
            return i;
        }
    }
    return kNpos;
}

std::size_t findLastMark(std::string_view s, std::string_view what) {
    std::size_t last = kNpos;
    for (std::size_t at = findMark(s, what); at != kNpos; at = findMark(s, what, at + 1)) {
        last = at;
    }
    return last;
}

// The escapes \~ \= \# \{ \} \: \\ as their characters, \n as a line break;
// any other backslash stays.
std::string unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char next = i + 1 < s.size() ? s[i + 1] : '\0';
        if (s[i] == '\\' && next != '\0' && std::string_view("~=#{}:\\n").find(next) != kNpos) {
            out += next == 'n' ? '\n' : next;
            ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Takes a [html], [plain], [markdown] or [moodle] mark off the start of `s`;
// `html` then says whether the text is HTML, else it stays as it was.
void takeFormat(std::string_view& s, bool& html) {
    for (const char* mark : {"[html]", "[plain]", "[markdown]", "[moodle]"}) {
        if (startsWith(s, mark)) {
            html = mark[1] == 'h';
            s = trimmed(s.substr(std::string_view(mark).size()));
            return;
        }
    }
}

Piece textOf(std::string_view raw, bool html) {
    const std::string text = unescape(trimmed(raw));
    if (!html) {
        return {std::string(trimmed(text)), false};
    }
    const HtmlText plain = plainTextFromHtml(text);
    return {plain.text, plain.droppedImage};
}

// A text that may carry its own format mark, else the question's.
Piece markedTextOf(std::string_view raw, bool html) {
    raw = trimmed(raw);
    takeFormat(raw, html);
    return textOf(raw, html);
}

// What names a skipped question: its name, else the start of its text.
std::string nameOrStart(const std::string& name, const std::string& text) {
    if (!name.empty()) {
        return name;
    }
    const std::string_view first = std::string_view(text).substr(0, text.find('\n'));
    std::size_t end = 0;
    for (std::size_t characters = 0; end < first.size() && characters < kNameCharacters;
         ++characters) {
        ++end;
        while (end < first.size() && (static_cast<unsigned char>(first[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    return std::string(first.substr(0, end)) + (end < first.size() ? "…" : "");
}

void skipAs(ImportRecord& record, const char* type, const std::string& name) {
    record.skip = Msg::SkipType;
    record.skipArgs = {type, nameOrStart(name, record.text)};
}

// A weight "%50%", "%-33.3%" at the start of `answer`, taken off it.
bool takeWeight(std::string_view& answer, double& weight) {
    const std::size_t end = answer.find('%', 1);
    if (answer.empty() || answer[0] != '%' || end == kNpos) {
        return false;
    }
    const std::string_view number = answer.substr(1, end - 1);
    const char* last = number.data() + number.size();
    if (number.empty() || std::from_chars(number.data(), last, weight).ptr != last) {
        return false;
    }
    answer = trimmed(answer.substr(end + 1));
    return true;
}

// The answer's text before its feedback (after the first '#'), and whether
// there was any feedback.
std::string_view withoutFeedback(std::string_view answer, bool& feedback) {
    const std::size_t hash = findMark(answer, "#");
    if (hash == kNpos) {
        return answer;
    }
    feedback = feedback || !trimmed(answer.substr(hash + 1)).empty();
    return answer.substr(0, hash);
}

void addChoice(std::string_view answer, double credit, bool html, ImportRecord& record,
               bool& feedback) {
    takeWeight(answer, credit);
    const Piece choice = markedTextOf(withoutFeedback(answer, feedback), html);
    record.choices.push_back(choice.text);
    record.credit.push_back(credit);
    if (choice.image) {
        const std::string number = std::to_string(record.choices.size());
        record.notes.push_back(
            {record.place, Msg::ImageDropped, {say(Msg::FieldChoice, {number})}});
    }
}

// Answers each start at a '~' (wrong, or weighted) or a '=' (right), as the
// platform splits them, wherever they stand.
void readChoices(std::string_view answers, bool html, ImportRecord& record, bool& feedback) {
    bool loose[kLooseKinds] = {};
    std::size_t at = nextAnswer(answers, 0);
    if (!trimmed(answers.substr(0, at)).empty()) {
        loose[static_cast<int>(Loose::TextBeforeAnswers)] = true;
        addChoice(trimmed(answers.substr(0, at)), 0, html, record, feedback);
    }
    bool anyRight = false;
    while (at != kNpos) {
        const char mark = answers[at];
        const std::size_t next = nextAnswer(answers, at + 1);
        const std::string_view answer = trimmed(answers.substr(at + 1, next - at - 1));
        const char before = at > 0 ? answers[at - 1] : ' ';
        if (mark == '~' && answer.empty() && next != kNpos && answers[next] == '=') {
            loose[static_cast<int>(Loose::TildeEquals)] = true;
        } else if (answer.empty()) {
            loose[static_cast<int>(Loose::EmptyAnswer)] = true;
        } else {
            addChoice(answer, mark == '=' ? kFullCredit : 0, html, record, feedback);
        }
        loose[static_cast<int>(Loose::NoSpace)] |=
            at > 0 && before != ' ' && before != '\t' && before != '\n' && before != '~';
        anyRight = anyRight || mark == '=';
        at = next;
    }
    for (int which = 0; which < kLooseKinds; ++which) {
        if (loose[which]) {
            noteLoose(record, static_cast<Loose>(which));
        }
    }
    // Without a '=' the platform lets several answers be chosen.
    record.format = anyRight ? 0 : 1;
}

// T, TRUE, F or FALSE as 'T' or 'F'; 0 for anything else.
char truthOf(std::string_view answer, ImportRecord& record) {
    std::string upper(trimmed(answer.substr(0, findMark(answer, "#"))));
    const std::string written = upper;
    for (char& c : upper) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    if (upper != "T" && upper != "TRUE" && upper != "F" && upper != "FALSE") {
        return 0;
    }
    if (upper != written) {
        noteLoose(record, Loose::LowerCase);
    }
    return upper[0];
}

// The answers inside the braces, by the kind of question they make.
void readAnswers(std::string_view answers, bool html, const std::string& name,
                 ImportRecord& record) {
    bool feedback = false;
    char truth = 0;
    if (answers.empty()) {
        skipAs(record, "essay", name);
    } else if (answers[0] == '#') {
        skipAs(record, "numerical", name);
    } else if (findMark(answers, "~") != kNpos) {
        readChoices(answers, html, record, feedback);
    } else if (findMark(answers, "=") != kNpos && findMark(answers, "->") != kNpos) {
        skipAs(record, "matching", name);
    } else if ((truth = truthOf(answers, record)) != 0) {
        record.choices = {"○", "×"};
        record.credit = {truth == 'T' ? kFullCredit : 0, truth == 'F' ? kFullCredit : 0};
        // {T#feedback if wrong#feedback if right}
        const std::size_t hash = findMark(answers, "#");
        feedback = hash != kNpos && answers.find_first_not_of("# \t\r\n", hash) != kNpos;
    } else {
        skipAs(record, "short answer", name);
    }
    if (feedback && record.skip == Msg::None) {
        record.notes.push_back({record.place, Msg::FeedbackDropped, {}});
    }
}

// The text with a blank where each answer block stands.
std::string withBlanks(std::string_view text) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t open = findMark(text, "{"); open != kNpos; open = findMark(text, "{", from)) {
        const std::size_t close = findMark(text, "}", open + 1);
        if (close == kNpos) {
            break;
        }
        out.append(text.substr(from, open - from)).append(kBlank);
        from = close + 1;
    }
    return out.append(text.substr(from));
}

void noteImage(ImportRecord& record, bool image, Msg field) {
    if (image) {
        record.notes.push_back({record.place, Msg::ImageDropped, {say(field)}});
    }
}

// The question of a block: its name, text, answers and general feedback.
void readQuestion(std::string_view text, ImportRecord& record) {
    std::string name;
    if (startsWith(text, "::")) {
        const std::size_t end = findMark(text, "::", 2);
        name = end == kNpos ? "" : std::string(trimmed(unescape(text.substr(2, end - 2))));
        text = trimmed(text.substr(end == kNpos ? 2 : end + 2));
    }
    bool html = false;
    takeFormat(text, html);
    const std::size_t open = findMark(text, "{");
    const std::size_t close = findMark(text, "}", open == kNpos ? 0 : open + 1);
    if (open == kNpos || close == kNpos) {
        const Piece all = textOf(text, html);
        record.text = all.text;
        if (open == kNpos && close == kNpos) {
            skipAs(record, "description", name);
        } else {
            record.skip = Msg::SkipBraces;
        }
        return;
    }
    const std::string_view after = text.substr(close + 1);
    // Answers before closing punctuation leave a blank where they stood.
    const bool missingWord = !trimmed(after).empty();
    const Piece question =
        textOf(missingWord ? withBlanks(text) : std::string(text.substr(0, open)), html);
    record.text = question.text;
    noteImage(record, question.image, Msg::FieldText);
    if (findMark(after, "{") != kNpos) {
        record.skip = Msg::SkipSeveralBlanks;
        return;
    }
    std::string_view answers = trimmed(text.substr(open + 1, close - open - 1));
    const std::size_t general = findLastMark(answers, "####");
    if (general != kNpos) {
        const Piece explanation = markedTextOf(answers.substr(general + 4), html);
        record.explanation = explanation.text;
        noteImage(record, explanation.image, Msg::FieldExplanation);
        answers = trimmed(answers.substr(0, general));
    }
    readAnswers(answers, html, name, record);
}

// Whether `line` starts a question of its own though no blank line parts
// it from the lines before: a new name, or an answer block of its own after
// one that closed at the end of the line before.
bool startsQuestion(const Line& line, bool closedBefore) {
    return startsWith(line.text, "::") || (closedBefore && line.braceAhead);
}

// How far an answer block is open after `line`, from `depth` before it.
int depthAfter(std::string_view line, int depth) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '{' || line[i] == '}') {
            depth += line[i] == '{' ? 1 : -1;
        }
    }
    return depth;
}

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    for (std::size_t from = 0; from <= text.size();) {
        std::size_t end = text.find_first_of("\r\n", from);
        end = end == kNpos ? text.size() : end;
        const std::string_view line = trimmed(text.substr(from, end - from));
        lines.push_back({line, startsWith(line, "//"), false});
        from = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    bool ahead = false;
    for (std::size_t i = lines.size(); i-- > 0;) {
        Line& line = lines[i];
        ahead = line.text.empty() ? false
                                  : ahead || (!line.comment && findMark(line.text, "{") != kNpos);
        line.braceAhead = ahead;
    }
    return lines;
}

// The questions and categories of the input: paragraphs, and within one,
// lines that plainly start another, each noted as unusual.
std::vector<Block> blocksOf(std::string_view text) {
    std::vector<Block> blocks;
    Block block;
    int depth = 0;
    bool closedBefore = false;
    bool afterCategory = false;
    const std::vector<Line> lines = linesOf(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const int number = static_cast<int>(i) + 1;
        if (line.comment) {
            continue;
        }
        const bool category = startsWith(line.text, "$CATEGORY:");
        const bool split = !block.text.empty() && depth <= 0 &&
                           (category || afterCategory || startsQuestion(line, closedBefore));
        if (line.text.empty() || split) {
            if (!block.text.empty()) {
                blocks.push_back(std::move(block));
            }
            block = Block();
            depth = 0;
        }
        if (line.text.empty()) {
            continue;
        }
        if (block.text.empty()) {
            block.line = number;
            block.noBlankLine = split;
        }
        block.text += (block.text.empty() ? "" : "\n") + std::string(line.text);
        depth = depthAfter(line.text, depth);
        closedBefore = depth == 0 && line.text.back() == '}';
        afterCategory = category;
    }
    if (!block.text.empty()) {
        blocks.push_back(std::move(block));
    }
    return blocks;
}

} // namespace

void readGift(std::string_view bytes, ImportBatch& batch) {
    const std::string text = decodeText(bytes);
    std::string genre;
    for (const Block& block : blocksOf(text)) {
        if (startsWith(block.text, "$CATEGORY:")) {
            genre = categoryName(trimmed(std::string_view(block.text).substr(10)));
            if (block.noBlankLine) {
                batch.notes.push_back(looseNote(Loose::NoBlankLine, block.line));
            }
            continue;
        }
        ImportRecord record;
        record.place.line = block.line;
        record.genre = genre;
        if (block.noBlankLine) {
            noteLoose(record, Loose::NoBlankLine);
        }
        readQuestion(trimmed(block.text), record);
        batch.records.push_back(std::move(record));
    }
}
