// The report of import and merge: a line per question skipped or changed,
// then a summary; as text or as JSON.
#pragma once

#include "tools/tovtool/import/question_mapping.h"

#include <string>

struct ReportSummary {
    std::string output; // the set written
    int questions;      // in it
    int skipped;
    std::string message; // the summary line
};

void printImportReport(const ImportReport& report, const ReportSummary& summary, bool json);
