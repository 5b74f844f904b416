// What every import reader gives: one record per question found in its
// input, in UTF-8, with where it stood; and what it noticed on the way.
// Readers only parse; turning records into tov questions is one shared step.
#pragma once

#include "tools/tovtool/messages.h"

#include <string>
#include <string_view>
#include <vector>

// Where something stood in the input: a line (text formats) or a row (a
// sheet), and for a workbook the cell too.
struct SourcePlace {
    int line = 0;     // 1-based; 0 for the input as a whole
    std::string cell; // "Sheet1!C4" in a workbook, else empty
};

// Something a reader noticed, for the report: `id` names the message and
// `args` fill its {} in order.
struct ImportNote {
    SourcePlace place;
    Msg id;
    std::vector<std::string> args;
};

struct ImportRecord {
    SourcePlace place;
    std::string genre; // a category path's last component; empty for none
    std::string text;
    std::vector<std::string> choices; // in order, empty ones kept where they stand
    // Per choice, the credit it carries in percent of the question's points:
    // 100 full, 0 wrong, between them partial, below 0 a penalty. Longer than
    // `choices` when the source marks a choice it does not have.
    std::vector<double> credit;
    int format = 0; // 1 to 4 when the source states one, else 0
    bool hasPoints = false;
    double points = 1;
    std::string pointsText; // as written, when it is not a number
    std::string explanation;
    // Set when the reader itself cannot bring the question in (a type tov
    // has no form for): the record is skipped with this message.
    Msg skip = Msg::None;
    std::vector<std::string> skipArgs;
    std::vector<ImportNote> notes; // what the reader dropped or found unusual
};

struct ImportBatch {
    std::vector<ImportRecord> records;
    std::vector<ImportNote> notes; // not tied to one question
    // Set when the input cannot be read at all: nothing of it is imported.
    Msg error = Msg::None;
    std::vector<std::string> errorArgs;
};

// The readers, one per format, each in a file of its own. `bytes` is the
// whole input file.
void readDelimited(std::string_view bytes, char delimiter, ImportBatch& batch);
void readWorkbook(std::string_view bytes, const std::string& sheet, ImportBatch& batch);
void readMoodle(std::string_view bytes, ImportBatch& batch);
void readGift(std::string_view bytes, ImportBatch& batch);
void readAiken(std::string_view bytes, ImportBatch& batch);
