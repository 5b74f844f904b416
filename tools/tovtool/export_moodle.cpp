#include "tools/tovtool/commands.h"

#include "model/question_set.h"
#include "model/text_codes.h"
#include "tools/tovtool/export_text.h"
#include "tools/tovtool/output_file.h"
#include "tools/tovtool/text_convert.h"

#include <pugixml.hpp>

#include <cstdio>
#include <sstream>

namespace {

// The texts go in as HTML, which pugixml escapes once more for XML.
void addText(pugi::xml_node parent, const char* name, const std::string& html) {
    pugi::xml_node node = parent.append_child(name);
    node.append_attribute("format") = "html";
    node.append_child("text").text() = html.c_str();
}

void addValue(pugi::xml_node parent, const char* name, const std::string& value) {
    parent.append_child(name).text() = value.c_str();
}

// A slash separates categories; a doubled one stands for itself.
std::string categoryPart(const std::string& name) {
    std::string out;
    for (const char c : name) {
        out += c == '/' ? "//" : std::string(1, c);
    }
    return out;
}

std::string genreName(int genre) {
    const std::string name = genre >= 1 && genre <= kMaxGenres
                                 ? utf8Of(questionSet.genreNames[genre - 1])
                                 : std::string();
    return name.empty() ? "ジャンル" + std::to_string(genre) : name;
}

void addCategory(pugi::xml_node quiz, int genre) {
    pugi::xml_node question = quiz.append_child("question");
    question.append_attribute("type") = "category";
    const std::string title = utf8Of(questionSet.title);
    const std::string path = "$course$/top/" + categoryPart(title.empty() ? "tov" : title) + "/" +
                             categoryPart(genreName(genre));
    addValue(question.append_child("category"), "text", path);
}

// Moodle's own notation of the shares it offers: 100, 50, 33.33333, 25, 20.
std::string fractionOf(int correctCount) {
    char share[32];
    std::snprintf(share, sizeof share, "%.5f", 100.0 / correctCount);
    std::string text = share;
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

void addQuestion(pugi::xml_node quiz, int number, const Question& q) {
    pugi::xml_node question = quiz.append_child("question");
    question.append_attribute("type") = "multichoice";
    addValue(question.append_child("name"), "text", "問" + std::to_string(number));
    addText(question, "questiontext", htmlOf(q.text));
    addText(question, "generalfeedback", htmlOf(q.explanation));
    addValue(question, "defaultgrade", std::to_string(q.points));
    addValue(question, "penalty", "0");
    addValue(question, "hidden", "0");
    const bool multiple = q.format == 1;
    addValue(question, "single", multiple ? "false" : "true");
    addValue(question, "shuffleanswers", "false");
    addValue(question, "answernumbering", "123");

    bool correct[kMaxChoices] = {};
    if (multiple) {
        correctChoicesFromCode(q.answer, correct);
    } else if (q.answer >= 1 && q.answer <= kMaxChoices) {
        correct[q.answer - 1] = true;
    }
    const int count = choiceCount(q.format) > 0 ? choiceCount(q.format) : kMaxChoices;
    int correctCount = 0;
    for (int k = 0; k < count; ++k) {
        correctCount += correct[k] && q.choices[k][0] != '\0';
    }
    for (int k = 0; k < count; ++k) {
        // A multiple-selection question leaves the choices it does not use empty.
        if (q.choices[k][0] == '\0') {
            continue;
        }
        pugi::xml_node answer = question.append_child("answer");
        const bool right = correct[k] && correctCount > 0;
        answer.append_attribute("fraction") = right ? fractionOf(correctCount).c_str() : "0";
        answer.append_attribute("format") = "html";
        addValue(answer, "text", htmlOf(q.choices[k]));
        addText(answer, "feedback", "");
    }
}

std::string moodleXmlOf(int questions) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node quiz = document.append_child("quiz");
    // One category per genre, its questions after it; the numbers stay the
    // set's own.
    for (int genre = 1; genre <= kMaxGenres + 1; ++genre) {
        bool opened = false;
        for (int slot = 0; slot < questions; ++slot) {
            const Question& q = questionSet.questions[slot];
            const bool inGenre =
                genre <= kMaxGenres ? q.genre == genre : q.genre < 1 || q.genre > kMaxGenres;
            if (!inGenre) {
                continue;
            }
            if (!opened) {
                addCategory(quiz, genre <= kMaxGenres ? genre : q.genre);
                opened = true;
            }
            addQuestion(quiz, slot + 1, q);
        }
    }
    std::ostringstream xml;
    document.save(xml, "  ", pugi::format_default, pugi::encoding_utf8);
    return xml.str();
}

} // namespace

int exportMoodle(const std::string& in, const std::string& out, Form form) {
    LoadedFile loaded{};
    if (!loadForExport(in, form, loaded)) {
        return kExitFailure;
    }
    const std::string xml = moodleXmlOf(loaded.questionsInSet);
    std::string error;
    if (!replaceFile(pathFromArgument(out.c_str()), writeBytes, &xml, error)) {
        std::fprintf(stderr, "%s: %s\n", argumentAsUtf8(out.c_str()).c_str(), error.c_str());
        return kExitFailure;
    }
    return kExitFine;
}
