// tovtool: checks, converts and exports the question-set files that tov
// writes, with tov's own readers, writer and check.
#include "tools/tovtool/commands.h"
#include "tools/tovtool/text_convert.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace {

struct Arguments {
    std::vector<std::string> files;
    std::string in;
    std::string out;
    std::string form;
    std::string to;
    bool json = false;
};

Form formOf(const std::string& name) {
    return name == "csv" ? Form::Plain : name == "eep" ? Form::Scrambled : Form::ByExtension;
}

void addForm(CLI::App& command, Arguments& a) {
    command
        .add_option("--form", a.form,
                    "Read the input as plain (csv) or scrambled (eep), whatever its extension")
        ->check(CLI::IsMember({"csv", "eep"}));
}

} // namespace

int main(int argc, char** argv) {
    prepareConsole();
    Arguments a;
    CLI::App app{"Checks, converts and exports tov question sets (.csv plain, .eep scrambled).",
                 "tovtool"};
    app.require_subcommand(1);
    app.footer("Exit codes: 0 fine, 1 problems found, 2 usage error or a file that cannot be "
               "read or written.");

    CLI::App* check = app.add_subcommand(
        "check", "Read each FILE as tov would and list every problem with its line number");
    check->add_option("FILE", a.files, "Question-set files")->required();
    addForm(*check, a);
    check->add_flag("--json", a.json, "Report as JSON");

    CLI::App* convert = app.add_subcommand(
        "convert", "Write IN in the form of OUT's extension (.eep scrambled, else plain)");
    convert->add_option("IN", a.in, "Question-set file to read")->required();
    convert->add_option("OUT", a.out, "File to write; replaced only once wholly written")
        ->required();
    addForm(*convert, a);

    CLI::App* exporter = app.add_subcommand(
        "export", "Write IN as a printable test (html) or as Moodle XML (moodle)");
    exporter->add_option("--to", a.to, "Target format")
        ->required()
        ->check(CLI::IsMember({"html", "moodle"}));
    exporter->add_option("IN", a.in, "Question-set file to read")->required();
    exporter->add_option("OUT", a.out, "File to write, in UTF-8")->required();
    addForm(*exporter, a);

    // CLI11 reports through exceptions; they end here.
    try {
        std::vector<std::string> arguments = utf8Arguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitFine : kExitFailure;
    }
    const Form form = formOf(a.form);
    if (check->parsed()) {
        return checkFiles(a.files, form, a.json);
    }
    if (convert->parsed()) {
        return convertFile(a.in, a.out, form);
    }
    return a.to == "html" ? exportHtml(a.in, a.out, form) : exportMoodle(a.in, a.out, form);
}
