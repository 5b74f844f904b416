#include "tools/tovtool/commands.h"

#include "model/question_set.h"
#include "model/text_codes.h"
#include "tools/tovtool/export_text.h"
#include "tools/tovtool/output_file.h"
#include "tools/tovtool/text_convert.h"
#include "tools/tovtool/xml_out.h"

#include <cstdio>

namespace {

// The texts go in as HTML, escaped once more for XML.
void addText(XmlOut& xml, const char* name, const std::string& html) {
    openElement(xml, name, {{"format", "html"}});
    textElement(xml, "text", html);
    closeElement(xml, name);
}

// <name><text>value</text></name>
void addTextValue(XmlOut& xml, const char* name, const std::string& value) {
    openElement(xml, name);
    textElement(xml, "text", value);
    closeElement(xml, name);
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

void addCategory(XmlOut& xml, int genre) {
    openElement(xml, "question", {{"type", "category"}});
    const std::string title = utf8Of(questionSet.title);
    const std::string path = "$course$/top/" + categoryPart(title.empty() ? "tov" : title) + "/" +
                             categoryPart(genreName(genre));
    addTextValue(xml, "category", path);
    closeElement(xml, "question");
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

void addQuestion(XmlOut& xml, int number, const Question& q) {
    openElement(xml, "question", {{"type", "multichoice"}});
    addTextValue(xml, "name", "問" + std::to_string(number));
    addText(xml, "questiontext", htmlOf(q.text));
    addText(xml, "generalfeedback", htmlOf(q.explanation));
    textElement(xml, "defaultgrade", std::to_string(q.points));
    textElement(xml, "penalty", "0");
    textElement(xml, "hidden", "0");
    const bool multiple = q.format == 1;
    textElement(xml, "single", multiple ? "false" : "true");
    textElement(xml, "shuffleanswers", "false");
    textElement(xml, "answernumbering", "123");

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
        const bool right = correct[k] && correctCount > 0;
        openElement(xml, "answer",
                    {{"fraction", right ? fractionOf(correctCount) : "0"}, {"format", "html"}});
        textElement(xml, "text", htmlOf(q.choices[k]));
        addText(xml, "feedback", "");
        closeElement(xml, "answer");
    }
    closeElement(xml, "question");
}

std::string moodleXmlOf(int questions) {
    XmlOut xml{};
    startXml(xml);
    openElement(xml, "quiz");
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
                addCategory(xml, genre <= kMaxGenres ? genre : q.genre);
                opened = true;
            }
            addQuestion(xml, slot + 1, q);
        }
    }
    closeElement(xml, "quiz");
    return xml.text;
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
        printError(out, error);
        return kExitFailure;
    }
    return kExitFine;
}
