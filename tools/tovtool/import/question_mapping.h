// The one step from records to the model, whatever format they came from.
#pragma once

#include "tools/tovtool/import/import_record.h"

#include <string>
#include <vector>

// One line of an import's report.
struct ImportReportLine {
    std::string file; // the input, as given
    SourcePlace place;
    int question;        // the question's number in the set, 0 when skipped or none
    std::string excerpt; // the start of the question's text, to find it by
    bool skipped;        // the question did not come in
    Msg id;
    std::vector<std::string> args;
};

using ImportReport = std::vector<ImportReportLine>;

// What the mapping has done so far to the set in the model.
struct ImportState {
    int questions;  // slots filled
    int genres;     // genre slots in use
    int genreFixed; // of those, the ones the set had before (kept with their quotas)
    int skipped;
};

// The start of a question's text, to find it by in a report: line breaks
// (or tov's escape of them) as spaces.
std::string excerptOf(const std::string& text);

// Starts with an empty set in the model, or one whose header (and genres) is
// already there: `genres` slots in use, their quotas kept as they are.
ImportState startImport(int genres);

// Maps each record of `batch` into the next slot of the model, with the
// report lines for what it skips, replaces, cuts or leaves to the user.
void importRecords(const ImportBatch& batch, const std::string& file, ImportState& state,
                   ImportReport& report);

// Gives the genres the import added their number of questions as quota,
// and sets the genre count.
void finishImport(const ImportState& state);
