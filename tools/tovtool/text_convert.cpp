#include "tools/tovtool/text_convert.h"

#include "model/file_open.h"

// Split by the core's own lead-byte rule, so that a bad byte costs one
// character only and both platforms cut the same way.
void appendUtf8(const char* text, std::size_t length, std::string& out) {
    std::size_t i = 0;
    while (i < length) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
            continue;
        }
        const std::size_t size = isLeadByte(byte) && i + 1 < length ? 2 : 1;
        if (!appendCharacterUtf8(text + i, size, out)) {
            out += "\xEF\xBF\xBD";
        }
        i += size;
    }
}

void printError(const std::string& file, const std::string& text) {
    writeOutput(stderr, file + ": " + text + "\n");
}
