#include "tools/tovtool/import/import_report.h"

#include "tools/tovtool/json_out.h"
#include "tools/tovtool/text_convert.h"

namespace {

std::string placeText(const SourcePlace& place) {
    if (!place.cell.empty()) {
        return place.cell;
    }
    return place.line > 0 ? say(Msg::PlaceLine, {std::to_string(place.line)}) : "";
}

std::string reportText(const ImportReportLine& line) {
    std::string out = line.file;
    const std::string place = placeText(line.place);
    out += place.empty() ? ": " : ":" + place + ": ";
    if (line.question > 0) {
        out += say(Msg::QuestionSubject, {std::to_string(line.question), line.excerpt}) + ": ";
    } else if (!line.excerpt.empty()) {
        out += say(Msg::ExcerptSubject, {line.excerpt}) + ": ";
    }
    return out + say(line.id, line.args) + "\n";
}

void appendJsonLine(const ImportReportLine& line, std::string& out) {
    out += "    {";
    appendJsonField("file", line.file, out);
    out += ", ";
    appendJsonNumber("line", line.place.line, out);
    out += ", ";
    appendJsonField("cell", line.place.cell, out);
    out += ", ";
    appendJsonNumber("question", line.question, out);
    out += ", ";
    appendJsonField("excerpt", line.excerpt, out);
    out += line.skipped ? ", \"skipped\": true, " : ", \"skipped\": false, ";
    appendJsonField("kind", messageKey(line.id), out);
    out += ", ";
    appendJsonField("message", say(line.id, line.args), out);
    out += "}";
}

} // namespace

void printImportReport(const ImportReport& report, const ReportSummary& summary, bool json) {
    std::string text;
    if (json) {
        text = "{\n  \"output\": ";
        appendJsonString(summary.output, text);
        text += ",\n  \"questions\": " + std::to_string(summary.questions) +
                ",\n  \"skipped\": " + std::to_string(summary.skipped) + ",\n  \"report\": [";
        for (std::size_t i = 0; i < report.size(); ++i) {
            text += i == 0 ? "\n" : ",\n";
            appendJsonLine(report[i], text);
        }
        text += report.empty() ? "],\n  " : "\n  ],\n  ";
        appendJsonField("message", summary.message, text);
        text += "\n}\n";
    } else {
        for (const ImportReportLine& line : report) {
            text += reportText(line);
        }
        text += summary.message + "\n";
    }
    writeOutput(stdout, text);
}
