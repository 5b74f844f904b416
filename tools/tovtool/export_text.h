// Texts of the model as the exports need them: UTF-8, HTML-escaped, with
// tov's line-break escape as a line break.
#pragma once

#include "model/question_set.h"
#include "tools/tovtool/loaded_set.h"

#include <string>

// `text` (ANSI code page, zero-terminated) as HTML: & < > " escaped, each
// \r\n escape a <br>.
std::string htmlOf(const char* text);

// `text` as plain UTF-8.
std::string utf8Of(const char* text);

// The correct choices of `q`: its answer for formats 2 to 4, else the
// numbers of the choices marked correct joined by `separator` ("" for none).
std::string correctChoiceList(const Question& q, const char* separator);

// Loads IN for an export; false, after saying why on stderr, when it
// cannot be read. Line problems are not an export's business.
bool loadForExport(const std::string& in, Form form, LoadedFile& loaded);
