// tovtool: checks, converts, exports and imports the question-set files
// that tov writes, with tov's own readers, writer and check.
#include "tools/tovtool/commands.h"
#include "tools/tovtool/text_convert.h"

#include <CLI/CLI.hpp>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Arguments {
    std::vector<std::string> files;
    std::string in;
    std::string out;
    std::string form;
    std::string to;
    std::string lang;
    bool json = false;
    ImportOptions import;
};

Form formOf(const std::string& name) {
    return name == "csv" ? Form::Plain : name == "eep" ? Form::Scrambled : Form::ByExtension;
}

void addForm(CLI::App& command, Arguments& a) {
    command.add_option("--form", a.form, say(Msg::HelpForm))->check(CLI::IsMember({"csv", "eep"}));
}

// --lang is needed before the help texts are made, so it is read first.
Lang languageAsked(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const std::string value = a.rfind("--lang=", 0) == 0                  ? a.substr(7)
                                  : a == "--lang" && i + 1 < arguments.size() ? arguments[i + 1]
                                                                              : "";
        if (value == "ja" || value == "en") {
            return value == "ja" ? Lang::Ja : Lang::En;
        }
    }
    return userLanguage();
}

// Only existing files, no option and no command: dropped on the program.
bool onlyFiles(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2) {
        return false;
    }
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        std::error_code failed;
        if (arguments[i].empty() || arguments[i][0] == '-' ||
            !std::filesystem::is_regular_file(std::filesystem::u8path(arguments[i]), failed)) {
            return false;
        }
    }
    return true;
}

void labelInJapanese(CLI::App& app) {
    const auto formatter = app.get_formatter();
    formatter->label("Usage", "使い方");
    formatter->label("OPTIONS", "オプション");
    formatter->label("SUBCOMMAND", "コマンド");
    formatter->label("SUBCOMMANDS", "コマンド");
    formatter->label("Options", "オプション");
    formatter->label("Positionals", "引数");
    formatter->label("Subcommands", "コマンド");
    formatter->label("REQUIRED", "必須");
}

// A list positional takes every argument left: OUT is split off after.
void splitOutput(ImportOptions& options) {
    options.output = options.inputs.back();
    options.inputs.pop_back();
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments = utf8Arguments(argc, argv);
    language = languageAsked(arguments);
    if (onlyFiles(arguments)) {
        return openGivenFiles({arguments.begin() + 1, arguments.end()});
    }
    Arguments a;
    CLI::App app{say(Msg::HelpApp), "tovtool"};
    if (language == Lang::Ja) {
        labelInJapanese(app);
        app.option_defaults()->group("オプション");
    }
    app.set_help_flag("-h,--help", say(Msg::HelpHelp));
    app.require_subcommand(1);
    app.footer(say(Msg::HelpFooter));
    app.add_option("--lang", a.lang, say(Msg::HelpLang))->check(CLI::IsMember({"ja", "en"}));

    CLI::App* check = app.add_subcommand("check", say(Msg::HelpCheck));
    check->add_option("FILE", a.files, say(Msg::HelpFiles))->required();
    addForm(*check, a);
    check->add_flag("--json", a.json, say(Msg::HelpJson));

    CLI::App* convert = app.add_subcommand("convert", say(Msg::HelpConvert));
    convert->add_option("IN", a.in, say(Msg::HelpIn))->required();
    convert->add_option("OUT", a.out, say(Msg::HelpOutReplace))->required();
    addForm(*convert, a);

    CLI::App* exporter = app.add_subcommand("export", say(Msg::HelpExport));
    exporter->add_option("--to", a.to, say(Msg::HelpTo))
        ->required()
        ->check(CLI::IsMember({"html", "moodle", "csv"}));
    exporter->add_option("IN", a.in, say(Msg::HelpIn))->required();
    exporter->add_option("OUT", a.out, say(Msg::HelpOutUtf8))->required();
    addForm(*exporter, a);

    ImportOptions& im = a.import;
    CLI::App* importer = app.add_subcommand("import", say(Msg::HelpImport));
    importer->add_option("--from", im.from, say(Msg::HelpFrom))
        ->check(CLI::IsMember({"csv", "tsv", "xlsx", "moodle", "gift", "aiken"}));
    importer->add_option("--title", im.title, say(Msg::HelpTitle));
    importer->add_option("--settings", im.settings, say(Msg::HelpSettings));
    importer->add_option("--sheet", im.sheet, say(Msg::HelpSheet));
    importer->add_flag("--json", im.json, say(Msg::HelpJson));
    importer->add_option("IN... OUT", im.inputs, say(Msg::HelpInOut))->required()->expected(2, -1);

    CLI::App* differ = app.add_subcommand("diff", say(Msg::HelpDiff));
    differ->add_option("A B", a.files, say(Msg::HelpDiffFiles))->required()->expected(2);
    addForm(*differ, a);
    differ->add_flag("--json", a.json, say(Msg::HelpJson));

    CLI::App* merger = app.add_subcommand("merge", say(Msg::HelpMerge));
    merger->add_option("IN... OUT", im.inputs, say(Msg::HelpMergeFiles))
        ->required()
        ->expected(2, -1);
    merger->add_flag("--json", im.json, say(Msg::HelpJson));

    // CLI11 reports through exceptions; they end here, and what it says
    // goes out as every other text does.
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() != 0) {
            writeOutput(stderr, say(Msg::UsageError, {e.what()}) + "\n");
            return kExitFailure;
        }
        std::ostringstream out;
        std::ostringstream err;
        app.exit(e, out, err);
        writeOutput(stdout, out.str());
        writeOutput(stderr, err.str());
        return kExitFine;
    }
    const Form form = formOf(a.form);
    if (check->parsed()) {
        return checkFiles(a.files, form, a.json);
    }
    if (convert->parsed()) {
        return convertFile(a.in, a.out, form);
    }
    if (importer->parsed() || merger->parsed()) {
        splitOutput(im);
        return importer->parsed() ? importFiles(im) : mergeFiles(im);
    }
    if (differ->parsed()) {
        return diffSets(a.files[0], a.files[1], form, a.json);
    }
    if (a.to == "csv") {
        return exportSheet(a.in, a.out, form);
    }
    return a.to == "html" ? exportHtml(a.in, a.out, form) : exportMoodle(a.in, a.out, form);
}
