// The rows of one worksheet of an Excel workbook (.xlsx), as every
// spreadsheet reader gives them before the template's columns are mapped.
#pragma once

#include "tools/tovtool/import/sheet_rows.h"

#include <string>
#include <string_view>
#include <vector>

// Reads the worksheet `sheet` names (empty for the first; else its name, or
// its 1-based number among the worksheets) from the workbook `bytes` into
// `rows`, and its name into `sheetName`. False, with `batch.error` set, when
// the workbook or that sheet cannot be read.
bool readWorkbookRows(std::string_view bytes, const std::string& sheet, std::vector<SheetRow>& rows,
                      std::string& sheetName, ImportBatch& batch);
