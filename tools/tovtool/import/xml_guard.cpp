#include "tools/tovtool/import/xml_guard.h"

namespace {

// Past `end` from `at`, or the input's end.
std::size_t skipPast(std::string_view bytes, std::size_t at, std::string_view end) {
    const std::size_t found = bytes.find(end, at);
    return found == std::string_view::npos ? bytes.size() : found + end.size();
}

// Past the tag at `at`, its quoted values included; `empty` for "<a/>".
std::size_t skipTag(std::string_view bytes, std::size_t at, bool& empty) {
    char quote = 0;
    for (std::size_t i = at + 1; i < bytes.size(); ++i) {
        if (quote != 0) {
            quote = bytes[i] == quote ? 0 : quote;
        } else if (bytes[i] == '"' || bytes[i] == '\'') {
            quote = bytes[i];
        } else if (bytes[i] == '>') {
            empty = bytes[i - 1] == '/';
            return i + 1;
        }
    }
    return bytes.size();
}

} // namespace

XmlRefusal xmlRefusal(std::string_view bytes) {
    int depth = 0;
    for (std::size_t i = bytes.find('<'); i != std::string_view::npos; i = bytes.find('<', i)) {
        bool empty = false;
        if (bytes.compare(i, 9, "<![CDATA[") == 0) {
            i = skipPast(bytes, i, "]]>");
        } else if (bytes.compare(i, 4, "<!--") == 0) {
            i = skipPast(bytes, i, "-->");
        } else if (bytes.compare(i, 9, "<!DOCTYPE") == 0 || bytes.compare(i, 8, "<!ENTITY") == 0) {
            return XmlRefusal::Declarations;
        } else if (bytes.compare(i, 2, "</") == 0) {
            --depth;
            i += 2;
        } else if (bytes.compare(i, 2, "<?") == 0 || bytes.compare(i, 2, "<!") == 0) {
            i += 2;
        } else {
            i = skipTag(bytes, i, empty);
            depth += empty ? 0 : 1;
            if (depth > kXmlDepth) {
                return XmlRefusal::TooDeep;
            }
        }
    }
    return XmlRefusal::None;
}

bool parseXml(rapidxml::xml_document<char>& document, char* text, const char*& failedAt,
              std::string& failure) {
    // RapidXML reports malformed input by throwing; this is the one place.
    try {
        document.parse<rapidxml::parse_validate_closing_tags>(text);
    } catch (const rapidxml::parse_error& e) {
        failedAt = e.where<char>();
        failure = e.what();
        return false;
    }
    return true;
}
