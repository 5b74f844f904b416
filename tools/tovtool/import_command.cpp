// tovtool import: question banks from spreadsheets and learning platforms
// into one tov set, each input read by its format's reader and mapped into
// the model by the one shared step, then written by tov's writer.
#include "tools/tovtool/commands.h"

#include "model/question_file.h"
#include "model/question_set.h"
#include "pages/page_input.h"
#include "tools/tovtool/import/import_record.h"
#include "tools/tovtool/import/import_report.h"
#include "tools/tovtool/import/question_mapping.h"
#include "tools/tovtool/import/sheet_rows.h"
#include "tools/tovtool/import/text_encoding.h"
#include "tools/tovtool/output_file.h"
#include "tools/tovtool/text_convert.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

constexpr const char* kKinds[] = {"csv", "tsv", "xlsx", "moodle", "gift", "aiken"};

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::u8path(path).extension().u8string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension;
}

// A .txt by what it holds: the template's columns, Aiken's ANSWER lines, or
// a GIFT answer block.
std::string kindOfText(const std::string& bytes) {
    if (isImportableSheet(bytes)) {
        return "tsv";
    }
    const std::string text = decodeText(bytes);
    if (text.compare(0, 7, "ANSWER:") == 0 || text.find("\nANSWER:") != std::string::npos) {
        return "aiken";
    }
    return text.find('{') != std::string::npos ? "gift" : "";
}

} // namespace

std::string importKind(const std::string& given, const std::string& path,
                       const std::string& bytes) {
    if (!given.empty()) {
        return given;
    }
    const std::string extension = lowerExtension(path);
    if (extension == ".xml") {
        return "moodle";
    }
    if (extension == ".txt") {
        return kindOfText(bytes);
    }
    for (const char* kind : kKinds) {
        if (extension == std::string(".") + kind) {
            return kind;
        }
    }
    return "";
}

namespace {

void readInput(const std::string& kind, const std::string& bytes, const std::string& sheet,
               ImportBatch& batch) {
    if (kind == "csv" || kind == "tsv") {
        readDelimited(bytes, kind == "csv" ? ',' : '\t', batch);
    } else if (kind == "xlsx") {
        readWorkbook(bytes, sheet, batch);
    } else if (kind == "moodle") {
        readMoodle(bytes, batch);
    } else if (kind == "gift") {
        readGift(bytes, batch);
    } else if (kind == "aiken") {
        readAiken(bytes, batch);
    } else {
        batch.error = Msg::UnknownKind;
    }
}

void storeUtf8(const std::string& utf8, char* field, std::size_t size) {
    storeFieldText(cp932FromUtf8(utf8).bytes.c_str(), field, size, TextLines::Single);
}

} // namespace

bool isImportableSheet(const std::string& bytes) {
    const std::string text = decodeText(bytes.substr(0, 4096));
    std::vector<std::string> cells;
    std::string cell;
    for (const char c : text.substr(0, text.find_first_of("\r\n"))) {
        if (c == ',' || c == '\t') {
            cells.push_back(cell);
            cell.clear();
        } else if (c != '"') {
            cell += c;
        }
    }
    cells.push_back(cell);
    return isTemplateHeader(cells);
}

void setHeaderRule(const std::string& title) {
    QuestionSet& set = questionSet;
    storeUtf8(title, set.title, sizeof set.title);
    set.presentationMode = Sequential;
    set.rankCount = 2;
    storeUtf8("不合格", set.rankNames[0], kNameSize);
    storeUtf8("合格", set.rankNames[1], kNameSize);
    storeUtf8("不合格です", set.rankComments[0], kLongTextSize);
    storeUtf8("合格です", set.rankComments[1], kLongTextSize);
    set.rankThresholds[0] = 70;
}

namespace {

// The header of an existing set, as it holds it; its questions are dropped.
bool setHeaderFrom(const std::string& settings, std::string& error) {
    LoadedFile loaded{};
    Problems ignored;
    if (!loadFile(pathFromArgument(settings.c_str()), Form::ByExtension, loaded, ignored, error)) {
        return false;
    }
    std::memset(questionSet.questions, 0, sizeof questionSet.questions);
    return true;
}

void printFailure(const std::string& file, Msg id, const std::vector<std::string>& args) {
    printError(file, say(id, args));
}

ReportSummary importSummary(const ImportState& state, const std::string& out) {
    return {
        out, state.questions, state.skipped,
        say(Msg::Imported, {std::to_string(state.questions), out, std::to_string(state.skipped)})};
}

bool writeSet(std::FILE* stream, const void* scrambled) {
    return writeQuestionSet(stream, *static_cast<const bool*>(scrambled));
}

} // namespace

bool readGivenFile(const std::string& given, std::string& bytes) {
    std::string error;
    if (!readFileBytes(pathFromArgument(given.c_str()), bytes, error)) {
        printError(given, error);
        return false;
    }
    return true;
}

bool importInput(const std::string& in, const std::string& from, const std::string& sheet,
                 ImportState& state, ImportReport& report) {
    std::string bytes;
    if (!readGivenFile(in, bytes)) {
        return false;
    }
    ImportBatch batch;
    readInput(importKind(from, in, bytes), bytes, sheet, batch);
    if (batch.error != Msg::None) {
        printFailure(in, batch.error, batch.errorArgs);
        return false;
    }
    importRecords(batch, in, state, report);
    return true;
}

bool writeModelSet(const std::string& out) {
    std::string error;
    const std::wstring path = pathFromArgument(out.c_str());
    const bool scrambled = isScrambledPath(path);
    if (!replaceFile(path, writeSet, &scrambled, error)) {
        printError(out, error);
        return false;
    }
    return true;
}

int importFiles(const ImportOptions& options) {
    std::memset(&questionSet, 0, sizeof questionSet);
    std::string error;
    if (!options.settings.empty() && !setHeaderFrom(options.settings, error)) {
        printFailure(options.settings, Msg::SettingsUnreadable, {error});
        return kExitFailure;
    }
    if (options.settings.empty()) {
        const std::string& first = options.inputs.front();
        setHeaderRule(options.title.empty() ? std::filesystem::u8path(first).stem().u8string()
                                            : options.title);
    } else if (!options.title.empty()) {
        storeUtf8(options.title, questionSet.title, sizeof questionSet.title);
    }
    // A set's genres keep their numbers; new ones follow them.
    ImportState state = startImport(
        options.settings.empty() ? 0 : std::clamp<int>(questionSet.genreCount, 0, kMaxGenres));
    ImportReport report;
    for (const std::string& in : options.inputs) {
        if (!importInput(in, options.from, options.sheet, state, report)) {
            return kExitFailure;
        }
    }
    finishImport(state);
    questionSet.questionCount = state.questions;
    if (state.questions == 0) {
        printImportReport(report, importSummary(state, options.output), options.json);
        printFailure(options.output, Msg::NoQuestions, {});
        return kExitFailure;
    }
    if (!writeModelSet(options.output)) {
        return kExitFailure;
    }
    printImportReport(report, importSummary(state, options.output), options.json);
    return report.empty() ? kExitFine : kExitProblems;
}
