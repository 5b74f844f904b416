// A small XML writer for the exports: elements opened and closed in order,
// texts and attribute values escaped, two spaces of indent per level. It
// builds with both toolchains, so tovtool.exe exports what tovtool does.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct XmlOut {
    std::string text;
    int depth;
};

using XmlAttributes = std::vector<std::pair<const char*, std::string>>;

// Starts the document with its UTF-8 declaration.
void startXml(XmlOut& out);

void openElement(XmlOut& out, const char* name, const XmlAttributes& attributes = {});
void closeElement(XmlOut& out, const char* name);

// An element holding only text: <name>text</name>, or <name /> when empty.
void textElement(XmlOut& out, const char* name, const std::string& text,
                 const XmlAttributes& attributes = {});

// `text` (UTF-8) with & < > " escaped, and without the control characters
// that XML 1.0 does not allow in a document at all.
std::string xmlEscaped(const std::string& text);
