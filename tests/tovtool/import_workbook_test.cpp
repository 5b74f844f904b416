// The workbook reader on workbooks saved by LibreOffice Calc and openpyxl,
// with the forms only Excel writes put in, and on damaged and hostile ones
// (made by make_workbooks.py): the cells it reads, or why it refuses.
#include "tools/tovtool/import/workbook_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct WorkbookCase {
    const char* name;
    const char* file;  // in IMPORT_DATA
    std::size_t keep;  // the bytes of it read; 0 for all
    const char* sheet; // as given to --sheet
    Msg error;
    const char* said; // the sheet read, or the error's argument
    // Cells and their text; "" for an empty cell before a filled one.
    std::vector<std::pair<const char*, const char*>> cells;
};

const char* const kCalc = "workbook-calc.xlsx";
const char* const kExcel = "workbook-excel-forms.xlsx";
const char* const kSheet1 = "xl/worksheets/sheet1.xml";

const std::vector<WorkbookCase> kCases = {
    {"SharedStringsRunsFormulas",
     kCalc,
     0,
     "",
     Msg::None,
     "問題",
     {{"A1", "問題文"},
      {"A2", "太字強調 です"},
      {"B2", "3"},
      {"C2", "0.3"},
      {"D2", "ab"},
      {"E2", "#DIV/0!"},
      {"A3", "一行目\n二行目"},
      {"B3", ""},
      {"C3", ""},
      {"D3", "漢字です"}}},
    {"SecondSheetByName", kCalc, 0, "Sheet2", Msg::None, "Sheet2", {{"A1", "second"}}},
    {"SheetNameInOtherCase", kCalc, 0, "sheet2", Msg::None, "Sheet2", {{"A1", "second"}}},
    {"SecondSheetByNumber", kCalc, 0, "2", Msg::None, "Sheet2", {{"A1", "second"}}},
    {"MissingSheetName", kCalc, 0, "解答", Msg::NoSuchSheet, "解答", {}},
    {"MissingSheetNumber", kCalc, 0, "3", Msg::NoSuchSheet, "3", {}},
    {"InlineStringsAbsoluteTargets",
     "workbook-openpyxl.xlsx",
     0,
     "",
     Msg::None,
     "問題",
     {{"A1", "問題文"},
      {"B1", "  両端に空白  "},
      {"C1", "3"},
      {"D1", "2.5"},
      {"E1", "TRUE"},
      {"F1", "一行目\n二行目"},
      {"G1", "<&>\"'"},
      {"A4", ""},
      {"F4", "離れたセル"}}},
    {"FirstSheetNotSheet1", kExcel, 0, "", Msg::None, "Sheet2", {{"A1", "second"}}},
    {"FuriganaEscapesDigitsNoRefs",
     kExcel,
     0,
     "問題",
     Msg::None,
     "問題",
     {{"A2", "太字強調 です"},
      {"B2", "3"},
      {"C2", "0.3"},
      {"D2", "ab"},
      {"A3", "一行目\r\n二行目_x000A_"},
      {"D3", "漢字です"}}},
    {"StoredEntries", "workbook-stored.xlsx", 0, "1", Msg::None, "Sheet2", {{"A1", "second"}}},
    {"StreamedZip64",
     "workbook-zip64.xlsx",
     0,
     "",
     Msg::None,
     "問題",
     {{"A1", "問題文"}, {"F4", "離れたセル"}}},
    {"CellsFarApart", "workbook-far-cells.xlsx", 0, "", Msg::SheetTooLarge, "問題", {}},
    {"ZipBomb", "workbook-bomb.xlsx", 0, "", Msg::ZipTooLarge, kSheet1, {}},
    {"RatioBomb", "workbook-ratio.xlsx", 0, "", Msg::ZipTooLarge, kSheet1, {}},
    {"InflatesPastStatedSize", "workbook-lying-size.xlsx", 0, "", Msg::NotAWorkbook, kSheet1, {}},
    {"Truncated", kCalc, 3000, "", Msg::NotAZip, nullptr, {}},
    {"NotAZip", "../sample.csv", 0, "", Msg::NotAZip, nullptr, {}},
    {"EntityDeclarations", "workbook-doctype.xlsx", 0, "", Msg::XmlDeclarations, nullptr, {}},
    {"NestedTooDeep", "workbook-deep.xlsx", 0, "", Msg::NotAWorkbook, kSheet1, {}},
    {"MalformedXml", "workbook-malformed.xlsx", 0, "", Msg::NotAWorkbook, kSheet1, {}},
};

std::string bytesOf(const WorkbookCase& c) {
    std::ifstream in(std::string(IMPORT_DATA) + "/" + c.file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return c.keep == 0 ? bytes : bytes.substr(0, c.keep);
}

// The text of cell "C4" among `rows`; "(none)" when no cell is there.
std::string cellAt(const std::vector<SheetRow>& rows, const std::string& ref) {
    const auto column = static_cast<std::size_t>(ref[0] - 'A');
    for (const SheetRow& row : rows) {
        if (row.line == std::stoi(ref.substr(1)) && column < row.cells.size()) {
            return row.cells[column];
        }
    }
    return "(none)";
}

void PrintTo(const WorkbookCase& c, std::ostream* out) {
    *out << c.name;
}

class WorkbookTest : public testing::TestWithParam<WorkbookCase> {};

TEST_P(WorkbookTest, ReadsCellsOrRefuses) {
    const WorkbookCase& c = GetParam();
    const std::string bytes = bytesOf(c);
    ASSERT_FALSE(bytes.empty()) << c.file;
    std::vector<SheetRow> rows;
    std::string sheetName;
    ImportBatch batch;
    const auto start = std::chrono::steady_clock::now();
    const bool read = readWorkbookRows(bytes, c.sheet, rows, sheetName, batch);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    EXPECT_EQ(read, c.error == Msg::None);
    EXPECT_EQ(messageKey(batch.error), std::string(messageKey(c.error)));
    if (c.error == Msg::None) {
        EXPECT_EQ(sheetName, c.said);
    } else if (c.said != nullptr) {
        EXPECT_EQ(batch.errorArgs, std::vector<std::string>{c.said});
    }
    for (const auto& [ref, text] : c.cells) {
        EXPECT_EQ(cellAt(rows, ref), text) << ref;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, WorkbookTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
