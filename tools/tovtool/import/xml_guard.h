// What the XML readers (Moodle XML, a workbook's parts) do before and
// while RapidXML parses: refuse what could not be parsed safely, and meet
// its exceptions in one place.
#pragma once

#include <rapidxml/rapidxml.hpp>

#include <string>
#include <string_view>

// Deeper than any export nests: the parser descends once per level.
constexpr int kXmlDepth = 100;

enum class XmlRefusal {
    None,
    Declarations, // a DTD, whose entities could expand without bound
    TooDeep,      // elements nested more than kXmlDepth
};

// CDATA and comments may name declarations harmlessly.
XmlRefusal xmlRefusal(std::string_view xml);

// Parses the zero-terminated `text` in place. False for malformed XML, with
// where it failed and the parser's own words.
bool parseXml(rapidxml::xml_document<char>& document, char* text, const char*& failedAt,
              std::string& failure);
