#include "tools/tovtool/json_out.h"

#include <cstdio>

void appendJsonString(const std::string& text, std::string& out) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendJsonField(const char* name, const std::string& value, std::string& out) {
    out += '"';
    out += name;
    out += "\": ";
    appendJsonString(value, out);
}

void appendJsonNumber(const char* name, long long value, std::string& out) {
    out += '"';
    out += name;
    out += "\": " + std::to_string(value);
}
