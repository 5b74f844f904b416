#include "tools/tovtool/xml_out.h"

namespace {

void indent(XmlOut& out) {
    out.text.append(static_cast<std::size_t>(2 * out.depth), ' ');
}

void startTag(XmlOut& out, const char* name, const XmlAttributes& attributes) {
    indent(out);
    out.text += '<';
    out.text += name;
    for (const auto& [attribute, value] : attributes) {
        out.text += ' ';
        out.text += attribute;
        out.text += "=\"";
        out.text += xmlEscaped(value);
        out.text += '"';
    }
}

} // namespace

void startXml(XmlOut& out) {
    out.text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out.depth = 0;
}

void openElement(XmlOut& out, const char* name, const XmlAttributes& attributes) {
    startTag(out, name, attributes);
    out.text += ">\n";
    ++out.depth;
}

void closeElement(XmlOut& out, const char* name) {
    --out.depth;
    indent(out);
    out.text += "</";
    out.text += name;
    out.text += ">\n";
}

void textElement(XmlOut& out, const char* name, const std::string& text,
                 const XmlAttributes& attributes) {
    startTag(out, name, attributes);
    if (text.empty()) {
        out.text += " />\n";
        return;
    }
    out.text += '>';
    out.text += xmlEscaped(text);
    out.text += "</";
    out.text += name;
    out.text += ">\n";
}

std::string xmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (byte >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
                out += c;
            }
            break;
        }
    }
    return out;
}
