#include "tools/tovtool/commands.h"

#include "model/question_set.h"
#include "model/text_codes.h"
#include "tools/tovtool/export_text.h"
#include "tools/tovtool/output_file.h"
#include "tools/tovtool/text_convert.h"

#include <cstdio>

namespace {

// Print first: A4, a question or an answer never split across pages, the
// answer key on pages of its own.
const char kStyle[] = R"(
@page { size: A4; margin: 18mm 16mm; }
body { font-family: "Noto Sans CJK JP", "Yu Gothic", "Meiryo", sans-serif;
       font-size: 11pt; line-height: 1.6; color: #000; }
h1 { font-size: 17pt; margin: 0 0 8mm; border-bottom: 1.5pt solid #000; padding-bottom: 2mm; }
.question, .answer { break-inside: avoid; page-break-inside: avoid; margin: 0 0 6mm; }
.head { font-weight: bold; }
.points, .hint { font-weight: normal; font-size: 9.5pt; }
.text { margin: 1mm 0 2mm; }
ol.choices { list-style: none; margin: 0; padding-left: 6mm; }
ol.choices li { margin: 1mm 0; }
.mark { display: inline-block; width: 3.6mm; height: 3.6mm; border: 0.8pt solid #000;
        margin-right: 2mm; vertical-align: -0.5mm; }
.single .mark { border-radius: 50%; }
.label { display: inline-block; min-width: 5mm; }
.key { break-before: page; page-break-before: always; }
.explanation { margin: 1mm 0 0 6mm; }
.total { margin-top: 8mm; font-weight: bold; }
@media screen { body { max-width: 178mm; margin: 10mm auto; } }
)";

int shownChoices(const Question& q) {
    const int count = choiceCount(q.format);
    return count > 0 ? count : kMaxChoices;
}

void appendQuestion(int number, const Question& q, std::string& out) {
    const bool multiple = q.format == 1;
    out += "<div class=\"question\">\n<div class=\"head\">問" + std::to_string(number) +
           " <span class=\"points\">（" + std::to_string(q.points) + "点）</span>";
    if (multiple) {
        out += " <span class=\"hint\">正しいものをすべて選びなさい。</span>";
    }
    out += "</div>\n<p class=\"text\">" + htmlOf(q.text) + "</p>\n";
    out += multiple ? "<ol class=\"choices multiple\">\n" : "<ol class=\"choices single\">\n";
    for (int k = 0; k < shownChoices(q); ++k) {
        if (q.choices[k][0] != '\0') {
            out += "<li><span class=\"mark\"></span><span class=\"label\">" +
                   std::to_string(k + 1) + ".</span>" + htmlOf(q.choices[k]) + "</li>\n";
        }
    }
    out += "</ol>\n</div>\n";
}

std::string correctChoices(const Question& q) {
    const std::string list = correctChoiceList(q, "・");
    return list.empty() ? "なし" : list;
}

void appendAnswer(int number, const Question& q, std::string& out) {
    out += "<div class=\"answer\">\n<div class=\"head\">問" + std::to_string(number) + "　正解 " +
           correctChoices(q) + " <span class=\"points\">（配点 " + std::to_string(q.points) +
           "点）</span></div>\n<p class=\"explanation\">" + htmlOf(q.explanation) +
           "</p>\n</div>\n";
}

std::string htmlOfSet(int questions) {
    const std::string title = htmlOf(questionSet.title);
    std::string out = "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>" +
                      title + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    out += "<div class=\"test\">\n<h1>" + title + "</h1>\n";
    long long total = 0;
    for (int slot = 0; slot < questions; ++slot) {
        appendQuestion(slot + 1, questionSet.questions[slot], out);
        total += questionSet.questions[slot].points;
    }
    out += "</div>\n<div class=\"key\">\n<h1>" + title + "　解答と解説</h1>\n";
    for (int slot = 0; slot < questions; ++slot) {
        appendAnswer(slot + 1, questionSet.questions[slot], out);
    }
    out +=
        "<p class=\"total\">合計 " + std::to_string(total) + "点</p>\n</div>\n</body>\n</html>\n";
    return out;
}

} // namespace

int exportHtml(const std::string& in, const std::string& out, Form form) {
    LoadedFile loaded{};
    if (!loadForExport(in, form, loaded)) {
        return kExitFailure;
    }
    const std::string html = htmlOfSet(loaded.questionsInSet);
    std::string error;
    if (!replaceFile(pathFromArgument(out.c_str()), writeBytes, &html, error)) {
        printError(out, error);
        return kExitFailure;
    }
    return kExitFine;
}
