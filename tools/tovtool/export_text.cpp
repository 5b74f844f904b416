#include "tools/tovtool/export_text.h"

#include "model/text_codes.h"
#include "tools/tovtool/text_convert.h"

#include <cstdio>
#include <cstring>

std::string utf8Of(const char* text) {
    std::string out;
    appendUtf8(text, std::strlen(text), out);
    return out;
}

// After the conversion a backslash is a character of its own: in the code
// page it may also be the second byte of a double-byte one.
std::string htmlOf(const char* text) {
    const std::string utf8 = utf8Of(text);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (utf8.compare(i, 4, "\\r\\n") == 0) {
            out += "<br>";
            i += 3;
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else {
            out += c;
        }
    }
    return out;
}

std::string correctChoiceList(const Question& q, const char* separator) {
    if (q.format != 1) {
        return std::to_string(q.answer);
    }
    bool correct[kMaxChoices];
    correctChoicesFromCode(q.answer, correct);
    std::string list;
    for (int k = 0; k < kMaxChoices; ++k) {
        if (correct[k]) {
            list += (list.empty() ? "" : separator) + std::to_string(k + 1);
        }
    }
    return list;
}

bool loadForExport(const std::string& in, Form form, LoadedFile& loaded) {
    Problems ignored;
    std::string error;
    if (!loadFile(pathFromArgument(in.c_str()), form, loaded, ignored, error)) {
        printError(in, error);
        return false;
    }
    return true;
}
