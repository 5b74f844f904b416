// The HTML that learning platforms keep in questions, as the text a browser
// shows of it: block ends as line breaks, runs of white space folded.
#include "tools/tovtool/import/html_text.h"

#include "tools/tovtool/import/text_encoding.h"

#include <cstdint>
#include <string>

namespace {

// The text so far, and whether white space was met since its last character.
struct Flow {
    std::string text;
    bool space = false;
};

struct Tag {
    std::string name; // lower case
    bool closing = false;
    std::size_t end = 0; // just past its '>'
};

constexpr const char* kBlocks[] = {"p",  "div", "li", "tr", "h1",    "h2",         "h3", "h4",
                                   "h5", "h6",  "ul", "ol", "table", "blockquote", "pre"};

// Latin-1's named characters, from U+00A0 on, as HTML names them.
constexpr const char* kLatin1[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct Named {
    const char* name;
    char32_t code;
};

// Others that editors write: quotes, dashes, arrows, a few signs and letters.
constexpr Named kOthers[] = {
    {"amp", '&'},       {"lt", '<'},        {"gt", '>'},        {"quot", '"'},
    {"apos", '\''},     {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018},
    {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},
    {"bdquo", 0x201E},  {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},
    {"hellip", 0x2026}, {"permil", 0x2030}, {"prime", 0x2032},  {"Prime", 0x2033},
    {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},   {"trade", 0x2122},
    {"larr", 0x2190},   {"uarr", 0x2191},   {"rarr", 0x2192},   {"darr", 0x2193},
    {"harr", 0x2194},   {"lArr", 0x21D0},   {"rArr", 0x21D2},   {"hArr", 0x21D4},
    {"forall", 0x2200}, {"exist", 0x2203},  {"isin", 0x2208},   {"sum", 0x2211},
    {"minus", 0x2212},  {"radic", 0x221A},  {"infin", 0x221E},  {"and", 0x2227},
    {"or", 0x2228},     {"cap", 0x2229},    {"cup", 0x222A},    {"int", 0x222B},
    {"there4", 0x2234}, {"asymp", 0x2248},  {"ne", 0x2260},     {"equiv", 0x2261},
    {"le", 0x2264},     {"ge", 0x2265},     {"sub", 0x2282},    {"sup", 0x2283},
    {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009}, {"zwnj", 0x200C},
    {"zwj", 0x200D},    {"lrm", 0x200E},    {"rlm", 0x200F},    {"OElig", 0x152},
    {"oelig", 0x153},   {"Scaron", 0x160},  {"scaron", 0x161},  {"Yuml", 0x178},
    {"fnof", 0x192},    {"circ", 0x2C6},    {"tilde", 0x2DC},   {"Alpha", 0x391},
    {"Beta", 0x392},    {"Gamma", 0x393},   {"Delta", 0x394},   {"Theta", 0x398},
    {"Lambda", 0x39B},  {"Pi", 0x3A0},      {"Sigma", 0x3A3},   {"Phi", 0x3A6},
    {"Omega", 0x3A9},   {"alpha", 0x3B1},   {"beta", 0x3B2},    {"gamma", 0x3B3},
    {"delta", 0x3B4},   {"epsilon", 0x3B5}, {"theta", 0x3B8},   {"lambda", 0x3BB},
    {"mu", 0x3BC},      {"pi", 0x3C0},      {"sigma", 0x3C3},   {"phi", 0x3C6},
    {"omega", 0x3C9},
};

constexpr char kNbsp[] = "\xC2\xA0";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool atLineStart(const Flow& f) {
    return f.text.empty() || f.text.back() == '\n';
}

// Removes spaces (no-break ones too) from the end of `text`.
void trimEnd(std::string& text, bool breaksToo) {
    for (;;) {
        if (!text.empty() && (text.back() == ' ' || (breaksToo && isSpace(text.back())))) {
            text.pop_back();
        } else if (text.size() >= 2 && text.compare(text.size() - 2, 2, kNbsp) == 0) {
            text.resize(text.size() - 2);
        } else {
            return;
        }
    }
}

void put(Flow& f, std::string_view s) {
    if (f.space && !atLineStart(f)) {
        f.text += ' ';
    }
    f.space = false;
    f.text += s;
}

void lineBreak(Flow& f) {
    trimEnd(f.text, false);
    f.text += '\n';
    f.space = false;
}

// A block's end breaks the line unless it is already broken: blocks inside
// blocks give one break, as in a browser.
void endBlock(Flow& f) {
    if (atLineStart(f)) {
        f.space = false;
    } else {
        lineBreak(f);
    }
}

bool isBlock(const std::string& name) {
    for (const char* block : kBlocks) {
        if (name == block) {
            return true;
        }
    }
    return false;
}

enum class TagRead { Tag, NoTag, Unclosed };

// The tag at `at` (a '<'); NoTag when it is a plain '<', Unclosed when no
// '>' ends it (nor any later tag, then).
TagRead readTag(std::string_view html, std::size_t at, Tag& tag) {
    std::size_t i = at + 1;
    tag.closing = i < html.size() && html[i] == '/';
    i += tag.closing ? 1 : 0;
    if (i >= html.size() || !isLetter(html[i])) {
        return TagRead::NoTag;
    }
    tag.name.clear();
    while (i < html.size() && (isLetter(html[i]) || isDigit(html[i]))) {
        tag.name += static_cast<char>(html[i] >= 'A' && html[i] <= 'Z' ? html[i] + 32 : html[i]);
        ++i;
    }
    char quote = 0;
    for (; i < html.size(); ++i) {
        if (quote != 0) {
            quote = html[i] == quote ? 0 : quote;
        } else if (html[i] == '"' || html[i] == '\'') {
            quote = html[i];
        } else if (html[i] == '>') {
            tag.end = i + 1;
            return TagRead::Tag;
        }
    }
    return TagRead::Unclosed;
}

// Past a comment, a declaration or a processing instruction at `at`.
std::size_t skipMarkup(std::string_view html, std::size_t at) {
    const bool comment = html.compare(at, 4, "<!--") == 0;
    const std::size_t end = html.find(comment ? "-->" : ">", at + 2);
    return end == std::string_view::npos ? html.size() : end + (comment ? 3 : 1);
}

// Past the end tag of `name` (script, style), whose content is no text.
std::size_t skipContent(std::string_view html, std::size_t from, const std::string& name) {
    for (std::size_t i = html.find("</", from); i != std::string_view::npos;
         i = html.find("</", i + 2)) {
        Tag tag;
        const TagRead read = readTag(html, i, tag);
        if (read == TagRead::Unclosed || (read == TagRead::Tag && tag.name == name)) {
            return read == TagRead::Tag ? tag.end : html.size();
        }
    }
    return html.size();
}

char32_t namedEntity(std::string_view name) {
    for (std::size_t i = 0; i < sizeof kLatin1 / sizeof kLatin1[0]; ++i) {
        if (name == kLatin1[i]) {
            return static_cast<char32_t>(0xA0 + i);
        }
    }
    for (const Named& named : kOthers) {
        if (name == named.name) {
            return named.code;
        }
    }
    return 0;
}

char32_t numericEntity(std::string_view digits) {
    const bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
    digits.remove_prefix(hex ? 1 : 0);
    if (digits.empty()) {
        return 0;
    }
    std::uint32_t code = 0;
    for (const char c : digits) {
        int value = isDigit(c) ? c - '0' : -1;
        if (hex && value < 0 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            value = (c | 0x20) - 'a' + 10;
        }
        if (value < 0) {
            return 0;
        }
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
        if (code > 0x10FFFF) {
            return 0xFFFD;
        }
    }
    const bool usable = code != 0 && (code < 0xD800 || code > 0xDFFF);
    return usable ? static_cast<char32_t>(code) : 0xFFFD;
}

// The character an entity at `at` (an '&') stands for, with `end` just past
// it; 0 when it is no entity this knows, and the '&' stays as it is.
char32_t readEntity(std::string_view html, std::size_t at, std::size_t& end) {
    const std::size_t semicolon = html.substr(0, at + 12).find(';', at);
    if (semicolon == std::string_view::npos || semicolon == at + 1) {
        return 0;
    }
    end = semicolon + 1;
    const std::string_view body = html.substr(at + 1, semicolon - at - 1);
    return body[0] == '#' ? numericEntity(body.substr(1)) : namedEntity(body);
}

void putEntity(Flow& f, char32_t c) {
    if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
        f.space = true;
    } else if (c != 0xAD) { // a soft hyphen shows only where a line wraps
        std::string s;
        appendUtf8Char(c, s);
        put(f, s);
    }
}

// What a tag does to the text: breaks, gaps, or nothing.
std::size_t applyTag(std::string_view html, const Tag& tag, Flow& f, bool& image) {
    if (tag.name == "br") {
        lineBreak(f);
    } else if (tag.name == "hr" || isBlock(tag.name)) {
        endBlock(f);
    } else if (tag.closing && (tag.name == "td" || tag.name == "th")) {
        f.space = !atLineStart(f);
    } else if (tag.name == "img") {
        image = true;
    } else if (!tag.closing && (tag.name == "script" || tag.name == "style")) {
        return skipContent(html, tag.end, tag.name);
    }
    return tag.end;
}

void trimStart(std::string& text) {
    std::size_t from = 0;
    for (;;) {
        if (from < text.size() && isSpace(text[from])) {
            ++from;
        } else if (text.compare(from, 2, kNbsp) == 0) {
            from += 2;
        } else {
            break;
        }
    }
    text.erase(0, from);
}

} // namespace

HtmlText plainTextFromHtml(std::string_view html) {
    Flow f;
    bool image = false;
    bool tagsEnd = false; // no '>' is left: every '<' from here is text
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        Tag tag;
        std::size_t end = 0;
        char32_t entity = 0;
        TagRead read = TagRead::NoTag;
        if (c == '<' && i + 1 < html.size() && (html[i + 1] == '!' || html[i + 1] == '?')) {
            i = skipMarkup(html, i);
        } else if (c == '<' && !tagsEnd && (read = readTag(html, i, tag)) == TagRead::Tag) {
            i = applyTag(html, tag, f, image);
        } else if (c == '&' && (entity = readEntity(html, i, end)) != 0) {
            putEntity(f, entity);
            i = end;
        } else if (isSpace(c)) {
            f.space = true;
            ++i;
        } else {
            tagsEnd = tagsEnd || read == TagRead::Unclosed;
            put(f, html.substr(i, 1));
            ++i;
        }
    }
    trimEnd(f.text, true);
    trimStart(f.text);
    return {f.text, image};
}

std::string categoryName(std::string_view path) {
    std::size_t cut = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path.compare(i, 2, "//") == 0) {
            ++i;
        } else if (path[i] == '/') {
            cut = i + 1;
        }
    }
    std::string name;
    for (std::size_t i = cut; i < path.size(); ++i) {
        name += path[i];
        i += path.compare(i, 2, "//") == 0 ? 1 : 0;
    }
    const std::size_t from = name.find_first_not_of(" \t\r\n");
    return from == std::string::npos
               ? ""
               : name.substr(from, name.find_last_not_of(" \t\r\n") - from + 1);
}
