// Moodle XML, as the platform's question bank exports it: multiple-choice
// and true/false questions, and the categories they stand in.
#include "tools/tovtool/import/html_text.h"
#include "tools/tovtool/import/xml_guard.h"
#include "tools/tovtool/import/import_record.h"

#include <rapidxml/rapidxml.hpp>

#include <charconv>
#include <string>
#include <vector>

namespace {

using Node = rapidxml::xml_node<char>;

// A text field of a question as plain text, and whether an image was in it.
struct Field {
    std::string text;
    bool image = false;
};

// Where a question's element starts, as a line, counted on from the last.
struct LineCount {
    std::string_view bytes;
    std::size_t at = 0;
    int line = 1;
};

int lineAt(LineCount& count, const char* at, const char* start) {
    const auto offset = static_cast<std::size_t>(at - start);
    for (; count.at < offset && count.at < count.bytes.size(); ++count.at) {
        count.line += count.bytes[count.at] == '\n' ? 1 : 0;
    }
    return count.line;
}

std::string_view attribute(const Node* node, const char* name) {
    const auto* a = node->first_attribute(name);
    return a != nullptr ? std::string_view(a->value(), a->value_size()) : std::string_view();
}

// The character data of `node`, CDATA sections included.
std::string dataOf(const Node* node) {
    std::string out;
    if (node == nullptr) {
        return out;
    }
    for (const Node* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
        if (child->type() == rapidxml::node_data || child->type() == rapidxml::node_cdata) {
            out.append(child->value(), child->value_size());
        }
    }
    return out;
}

std::string trimmed(std::string_view s) {
    const std::size_t from = s.find_first_not_of(" \t\r\n");
    if (from == std::string_view::npos) {
        return {};
    }
    return std::string(s.substr(from, s.find_last_not_of(" \t\r\n") - from + 1));
}

std::string childText(const Node* node, const char* child) {
    const Node* c = node->first_node(child);
    return trimmed(dataOf(c != nullptr ? c->first_node("text") : nullptr));
}

// A field with a format attribute and a <text>: HTML becomes plain text, and
// a <file> beside the text is an image (or other attachment) left behind.
Field fieldOf(const Node* node) {
    if (node == nullptr) {
        return {};
    }
    const std::string raw = dataOf(node->first_node("text"));
    Field field;
    if (attribute(node, "format") == "html") {
        const HtmlText html = plainTextFromHtml(raw);
        field = {html.text, html.droppedImage};
    } else {
        field.text = trimmed(raw);
    }
    field.image = field.image || node->first_node("file") != nullptr;
    return field;
}

bool parseNumber(std::string_view text, double& value) {
    const std::string t = trimmed(text);
    const char* end = t.data() + t.size();
    const char* from = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
    return !t.empty() && std::from_chars(from, end, value).ptr == end;
}

void noteImage(ImportRecord& record, bool image, const std::string& field) {
    if (image) {
        record.notes.push_back({record.place, Msg::ImageDropped, {field}});
    }
}

bool hasText(const Node* node) {
    const Field field = fieldOf(node);
    return !field.text.empty() || field.image;
}

// Feedback tov has no place for: per answer, the combined ones and hints.
bool hasFeedback(const Node* question) {
    for (const char* name : {"correctfeedback", "partiallycorrectfeedback", "incorrectfeedback"}) {
        if (hasText(question->first_node(name))) {
            return true;
        }
    }
    for (const Node* a = question->first_node("answer"); a != nullptr;
         a = a->next_sibling("answer")) {
        if (hasText(a->first_node("feedback"))) {
            return true;
        }
    }
    for (const Node* h = question->first_node("hint"); h != nullptr; h = h->next_sibling("hint")) {
        if (hasText(h)) {
            return true;
        }
    }
    return false;
}

void readPoints(const Node* question, ImportRecord& record) {
    const Node* grade = question->first_node("defaultgrade");
    if (grade == nullptr) {
        return;
    }
    record.hasPoints = true;
    const std::string text = dataOf(grade);
    if (!parseNumber(text, record.points)) {
        record.pointsText = trimmed(text);
    }
}

double fractionOf(const Node* answer) {
    double fraction = 0;
    return parseNumber(attribute(answer, "fraction"), fraction) ? fraction : 0;
}

void readMultichoice(const Node* question, ImportRecord& record) {
    int number = 0;
    for (const Node* a = question->first_node("answer"); a != nullptr;
         a = a->next_sibling("answer")) {
        const Field choice = fieldOf(a);
        record.choices.push_back(choice.text);
        record.credit.push_back(fractionOf(a));
        noteImage(record, choice.image, say(Msg::FieldChoice, {std::to_string(++number)}));
    }
    const std::string single = trimmed(dataOf(question->first_node("single")));
    record.format = single == "false" || single == "0" ? 1 : 0;
}

void readTrueFalse(const Node* question, ImportRecord& record) {
    record.choices = {"○", "×"};
    record.credit = {0, 0};
    for (const Node* a = question->first_node("answer"); a != nullptr;
         a = a->next_sibling("answer")) {
        const std::string which = trimmed(dataOf(a->first_node("text")));
        if (which == "true" || which == "false") {
            record.credit[which == "true" ? 0 : 1] = fractionOf(a);
        }
    }
}

void readQuestion(const Node* question, std::string_view type, ImportRecord& record) {
    const Field text = fieldOf(question->first_node("questiontext"));
    record.text = text.text;
    noteImage(record, text.image, say(Msg::FieldText));
    if (type != "multichoice" && type != "truefalse") {
        record.skip = Msg::SkipType;
        record.skipArgs = {std::string(type), childText(question, "name")};
        return;
    }
    if (type == "multichoice") {
        readMultichoice(question, record);
    } else {
        readTrueFalse(question, record);
    }
    readPoints(question, record);
    const Field explanation = fieldOf(question->first_node("generalfeedback"));
    record.explanation = explanation.text;
    noteImage(record, explanation.image, say(Msg::FieldExplanation));
    if (hasFeedback(question)) {
        record.notes.push_back({record.place, Msg::FeedbackDropped, {}});
    }
}

} // namespace

void readMoodle(std::string_view bytes, ImportBatch& batch) {
    const XmlRefusal refused = xmlRefusal(bytes);
    if (refused != XmlRefusal::None) {
        const bool declarations = refused == XmlRefusal::Declarations;
        batch.error = declarations ? Msg::XmlDeclarations : Msg::XmlTooDeep;
        batch.errorArgs = declarations ? std::vector<std::string>{}
                                       : std::vector<std::string>{std::to_string(kXmlDepth)};
        return;
    }
    std::vector<char> buffer(bytes.begin(), bytes.end());
    buffer.push_back('\0');
    rapidxml::xml_document<char> document;
    const char* failedAt = nullptr;
    std::string failure;
    if (!parseXml(document, buffer.data(), failedAt, failure)) {
        LineCount count{bytes};
        const int line = lineAt(count, failedAt, buffer.data());
        batch.error = Msg::NotXml;
        batch.errorArgs = {say(Msg::PlaceLine, {std::to_string(line)}) + ": " + failure};
        return;
    }
    const Node* quiz = document.first_node("quiz");
    LineCount count{bytes};
    std::string genre;
    for (const Node* q = quiz != nullptr ? quiz->first_node("question") : nullptr; q != nullptr;
         q = q->next_sibling("question")) {
        const std::string_view type = attribute(q, "type");
        if (type == "category") {
            genre = categoryName(childText(q, "category"));
            continue;
        }
        ImportRecord record;
        record.place.line = lineAt(count, q->name(), buffer.data());
        record.genre = genre;
        readQuestion(q, type, record);
        batch.records.push_back(std::move(record));
    }
}
