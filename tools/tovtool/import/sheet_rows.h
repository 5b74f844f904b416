// The rows of a spreadsheet, as the csv/tsv and the workbook readers give
// them, turned into records by the template's header row.
#pragma once

#include "tools/tovtool/import/import_record.h"

#include <string>
#include <vector>

struct SheetRow {
    int line;                       // 1-based line (csv) or row number (workbook)
    std::vector<std::string> cells; // by column from the first, UTF-8
};

// The first non-empty row names the columns (Japanese or English, any order);
// each row after it with any cell filled becomes a record. `sheet` names the
// sheet in cell places; empty for a text file, whose places are lines.
void recordsFromRows(const std::vector<SheetRow>& rows, const std::string& sheet,
                     ImportBatch& batch);

// True when `row` names the template's question and answer columns.
bool isTemplateHeader(const std::vector<std::string>& row);

// "A", "B" … "Z", "AA" … for column `index` (0-based).
std::string columnLetters(int index);
