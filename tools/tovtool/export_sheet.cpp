// tovtool export --to csv: the set in the import template's columns, for a
// spreadsheet. UTF-8 with a BOM, so that Excel opens it by double click.
#include "tools/tovtool/commands.h"

#include "model/question_set.h"
#include "model/text_codes.h"
#include "tools/tovtool/export_text.h"
#include "tools/tovtool/output_file.h"
#include "tools/tovtool/text_convert.h"

namespace {

constexpr const char* kHeader =
    "ジャンル,出題形式,問題文,選択肢1,選択肢2,選択肢3,選択肢4,選択肢5,正解,配点,解説文\r\n";
constexpr const char* kFormatNames[] = {"複数選択", "2択問題", "3択問題", "4択問題"};

// A cell quoted when it holds a delimiter, a quote or a line break; tov's
// line-break escape becomes a real line break inside it.
void appendCell(const std::string& utf8, std::string& out) {
    std::string cell;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8.compare(i, 4, "\\r\\n") == 0) {
            cell += '\n';
            i += 3;
        } else {
            cell += utf8[i];
        }
    }
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        out += c == '"' ? "\"\"" : std::string(1, c);
    }
    out += '"';
}

void appendRow(const Question& q, std::string& out) {
    const bool known = q.format >= 1 && q.format <= 4;
    const int choices = known ? choiceCount(q.format) : kMaxChoices;
    appendCell(q.genre >= 1 && q.genre <= kMaxGenres ? utf8Of(questionSet.genreNames[q.genre - 1])
                                                     : "",
               out);
    out += ',';
    appendCell(known ? kFormatNames[q.format - 1] : std::to_string(q.format), out);
    out += ',';
    appendCell(utf8Of(q.text), out);
    for (int c = 0; c < kMaxChoices; ++c) {
        out += ',';
        appendCell(c < choices ? utf8Of(q.choices[c]) : "", out);
    }
    out += ',';
    appendCell(correctChoiceList(q, ","), out);
    out += ',' + std::to_string(q.points) + ',';
    appendCell(utf8Of(q.explanation), out);
    out += "\r\n";
}

} // namespace

int exportSheet(const std::string& in, const std::string& out, Form form) {
    LoadedFile loaded{};
    if (!loadForExport(in, form, loaded)) {
        return kExitFailure;
    }
    std::string sheet = "\xEF\xBB\xBF";
    sheet += kHeader;
    for (int slot = 0; slot < loaded.questionsInSet; ++slot) {
        appendRow(questionSet.questions[slot], sheet);
    }
    std::string error;
    if (!replaceFile(pathFromArgument(out.c_str()), writeBytes, &sheet, error)) {
        printError(out, error);
        return kExitFailure;
    }
    return kExitFine;
}
