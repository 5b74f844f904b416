#include "tools/tovtool/import/workbook_reader.h"

#include "tools/tovtool/import/text_encoding.h"
#include "tools/tovtool/import/xml_guard.h"
#include "tools/tovtool/import/zip_entries.h"

#include <rapidxml/rapidxml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <system_error>

namespace {

using XmlNode = rapidxml::xml_node<>;

// Workbook parts nest a dozen elements deep; the parser descends once per
// element, so a part nested far deeper is refused before it can exhaust the
// stack.
constexpr int kMaxColumns = 16384; // XFD, Excel's last column
constexpr int kMaxRow = 1048576;
// Cells held, counting the empty ones before a filled one: far more than a
// question sheet has, few enough to stay within memory.
constexpr std::size_t kMaxCells = std::size_t{1} << 20;

struct Package {
    std::string_view zip;
    std::vector<ZipEntry> entries;
};

// A parsed part; the tree points into `text`.
struct XmlPart {
    std::vector<char> text;
    std::unique_ptr<rapidxml::xml_document<>> document;
};

struct Relationship {
    std::string id;
    std::string type;
    std::string part; // the target as a part name
};

struct Worksheet {
    std::string name;
    std::string part;
};

bool fail(ImportBatch& batch, Msg id, std::vector<std::string> args = {}) {
    batch.error = id;
    batch.errorArgs = std::move(args);
    return false;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// ---- XML

// RapidXML drops content that is only white space (a rich-text run of one
// space), so the copy it parses spells the first such character as a
// reference, which it keeps.
std::vector<char> parseCopy(std::string_view xml) {
    std::vector<char> text;
    text.reserve(xml.size() + 1);
    for (std::size_t i = 0; i < xml.size(); ++i) {
        text.push_back(xml[i]);
        if (xml[i] != '>' || i + 1 == xml.size() || !isXmlSpace(xml[i + 1])) {
            continue;
        }
        std::size_t next = i + 1;
        while (next < xml.size() && isXmlSpace(xml[next])) {
            ++next;
        }
        if (xml.substr(next, 2) == "</") {
            const std::string reference = "&#" + std::to_string(int{xml[i + 1]}) + ";";
            text.insert(text.end(), reference.begin(), reference.end());
            ++i;
        }
    }
    text.push_back('\0');
    return text;
}

std::string_view nameOf(const XmlNode* node) {
    return {node->name(), node->name_size()};
}

std::string_view valueOf(const XmlNode* node) {
    return {node->value(), node->value_size()};
}

// Element names compared without their prefix: producers differ in which
// prefix, if any, they give the same namespace.
std::string_view localName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

const XmlNode* nextElement(const XmlNode* node, std::string_view name) {
    for (; node != nullptr; node = node->next_sibling()) {
        if (node->type() == rapidxml::node_element && localName(nameOf(node)) == name) {
            return node;
        }
    }
    return nullptr;
}

const XmlNode* child(const XmlNode* node, std::string_view name) {
    return node == nullptr ? nullptr : nextElement(node->first_node(), name);
}

const XmlNode* following(const XmlNode* node, std::string_view name) {
    return nextElement(node->next_sibling(), name);
}

std::string_view attribute(const XmlNode* node, std::string_view name) {
    for (auto* a = node->first_attribute(); a != nullptr; a = a->next_attribute()) {
        if (localName({a->name(), a->name_size()}) == name) {
            return {a->value(), a->value_size()};
        }
    }
    return {};
}

// ---- The package

bool readPart(const Package& package, const std::string& name, std::string& bytes,
              ImportBatch& batch) {
    const ZipEntry* entry = findZipEntry(package.entries, name);
    if (entry == nullptr) {
        return fail(batch, Msg::NotAWorkbook, {name});
    }
    switch (readZipEntry(package.zip, *entry, bytes)) {
    case ZipResult::Ok:
        return true;
    case ZipResult::TooLarge:
        return fail(batch, Msg::ZipTooLarge, {name});
    default:
        return fail(batch, Msg::NotAWorkbook, {name});
    }
}

bool parsePart(const Package& package, const std::string& name, XmlPart& part, ImportBatch& batch) {
    std::string bytes;
    if (!readPart(package, name, bytes, batch)) {
        return false;
    }
    const XmlRefusal refused = xmlRefusal(bytes);
    if (refused != XmlRefusal::None) {
        return refused == XmlRefusal::Declarations ? fail(batch, Msg::XmlDeclarations)
                                                   : fail(batch, Msg::NotAWorkbook, {name});
    }
    part.text = parseCopy(bytes);
    std::string().swap(bytes); // a large part is held once while it is parsed
    part.document = std::make_unique<rapidxml::xml_document<>>();
    const char* failedAt = nullptr;
    std::string failure;
    return parseXml(*part.document, part.text.data(), failedAt, failure) ||
           fail(batch, Msg::NotAWorkbook, {name});
}

std::string folderOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship's target as a part name: from the package's root when it
// starts with "/", else from the source part's folder, "." and ".." resolved.
std::string resolveTarget(const std::string& folder, std::string_view target) {
    const std::string path =
        target.substr(0, 1) == "/" ? std::string(target.substr(1)) : folder + std::string(target);
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string name;
    for (const std::string& segment : segments) {
        name += name.empty() ? segment : "/" + segment;
    }
    return name;
}

// The relationships of `part` ("" for the package's own), from
// FOLDER/_rels/NAME.rels.
bool readRelationships(const Package& package, const std::string& part,
                       std::vector<Relationship>& links, ImportBatch& batch) {
    const std::string folder = folderOf(part);
    XmlPart rels;
    if (!parsePart(package, folder + "_rels/" + part.substr(folder.size()) + ".rels", rels,
                   batch)) {
        return false;
    }
    const XmlNode* list = child(rels.document.get(), "Relationships");
    for (auto* link = child(list, "Relationship"); link != nullptr;
         link = following(link, "Relationship")) {
        if (attribute(link, "TargetMode") != "External") {
            links.push_back({std::string(attribute(link, "Id")),
                             std::string(attribute(link, "Type")),
                             resolveTarget(folder, attribute(link, "Target"))});
        }
    }
    return true;
}

const Relationship* linkOfType(const std::vector<Relationship>& links, std::string_view type) {
    for (const Relationship& link : links) {
        if (endsWith(link.type, type)) {
            return &link;
        }
    }
    return nullptr;
}

// The office document the package names; Excel's is always xl/workbook.xml.
bool findWorkbookPart(const Package& package, std::string& name, ImportBatch& batch) {
    name = "xl/workbook.xml";
    std::vector<Relationship> links;
    if (findZipEntry(package.entries, "_rels/.rels") == nullptr) {
        return true;
    }
    if (!readRelationships(package, "", links, batch)) {
        return false;
    }
    if (const Relationship* document = linkOfType(links, "/officeDocument")) {
        name = document->part;
    }
    return true;
}

// The workbook's worksheets in tab order; chart sheets hold no cells.
std::vector<Worksheet> worksheetsOf(const XmlPart& workbook,
                                    const std::vector<Relationship>& links) {
    std::vector<Worksheet> sheets;
    const XmlNode* list = child(child(workbook.document.get(), "workbook"), "sheets");
    for (auto* sheet = child(list, "sheet"); sheet != nullptr; sheet = following(sheet, "sheet")) {
        const std::string_view id = attribute(sheet, "id");
        for (const Relationship& link : links) {
            if (link.id == id && endsWith(link.type, "/worksheet")) {
                sheets.push_back({std::string(attribute(sheet, "name")), link.part});
                break;
            }
        }
    }
    return sheets;
}

// `wanted` as a name first (Excel ignores case in sheet names), then as a
// number; null when neither names a worksheet.
const Worksheet* chooseSheet(const std::vector<Worksheet>& sheets, const std::string& wanted) {
    if (wanted.empty()) {
        return sheets.empty() ? nullptr : &sheets.front();
    }
    for (const Worksheet& sheet : sheets) {
        if (sameIgnoringAsciiCase(sheet.name, wanted)) {
            return &sheet;
        }
    }
    std::size_t number = 0;
    const char* end = wanted.data() + wanted.size();
    const auto [stop, error] = std::from_chars(wanted.data(), end, number);
    if (error != std::errc() || stop != end || number < 1 || number > sheets.size()) {
        return nullptr;
    }
    return &sheets[number - 1];
}

// ---- Cell text

void appendUtf8(std::string& out, unsigned code) {
    // No character: a zero, or half a surrogate pair.
    appendUtf8Char(code == 0 || (code >= 0xd800 && code < 0xe000) ? 0xfffd : code, out);
}

// "_xHHHH_" at `at`: a UTF-16 unit.
bool escapeAt(std::string_view text, std::size_t at, unsigned& unit) {
    if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') {
        return false;
    }
    const char* first = text.data() + at + 2;
    const auto [stop, error] = std::from_chars(first, first + 4, unit, 16);
    return error == std::errc() && stop == first + 4;
}

// Excel writes characters XML cannot hold, and CR, as _xHHHH_ (UTF-16), and
// an "_x" that would read as one as _x005F_x.
std::string decodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        unsigned unit = 0;
        if (!escapeAt(text, at, unit)) {
            out += text[at++];
            continue;
        }
        at += 7;
        unsigned low = 0;
        if (unit >= 0xd800 && unit < 0xdc00 && escapeAt(text, at, low) && low >= 0xdc00 &&
            low < 0xe000) {
            unit = 0x10000 + ((unit - 0xd800) << 10) + (low - 0xdc00);
            at += 7;
        }
        appendUtf8(out, unit);
    }
    return out;
}

// A string item's text: its own <t>, or its runs' <t> joined. Phonetic runs
// (<rPh>, the furigana Japanese Excel records) are readings, not text.
std::string itemText(const XmlNode* item) {
    std::string text;
    for (auto* part = item->first_node(); part != nullptr; part = part->next_sibling()) {
        const std::string_view name = localName(nameOf(part));
        const XmlNode* t = name == "t" ? part : name == "r" ? child(part, "t") : nullptr;
        if (part->type() == rapidxml::node_element && t != nullptr) {
            text += valueOf(t);
        }
    }
    return decodeEscapes(text);
}

bool readSharedStrings(const Package& package, const std::vector<Relationship>& links,
                       std::vector<std::string>& strings, ImportBatch& batch) {
    const Relationship* link = linkOfType(links, "/sharedStrings");
    XmlPart part;
    if (link == nullptr) {
        return true;
    }
    if (!parsePart(package, link->part, part, batch)) {
        return false;
    }
    const XmlNode* table = child(part.document.get(), "sst");
    for (auto* item = child(table, "si"); item != nullptr; item = following(item, "si")) {
        strings.push_back(itemText(item));
    }
    return true;
}

// Numbers are stored as the shortest text of a double ("2.9999999999999996");
// Excel shows 15 digits, and a whole number without a point.
std::string numberText(std::string_view stored) {
    double value = 0;
    const char* end = stored.data() + stored.size();
    const auto [stop, error] = std::from_chars(stored.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::string(stored);
    }
    if (value == 0) {
        return "0";
    }
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return std::string(text, written.ptr);
}

// The cell's text as Excel shows it unformatted; false for a shared string
// that is not there.
bool cellText(const XmlNode* cell, const std::vector<std::string>& shared, std::string& text) {
    const std::string_view type = attribute(cell, "t");
    text.clear();
    if (type == "inlineStr") {
        if (const XmlNode* item = child(cell, "is")) {
            text = itemText(item);
        }
        return true;
    }
    const XmlNode* value = child(cell, "v");
    if (value == nullptr) {
        return true;
    }
    const std::string_view stored = valueOf(value);
    if (type == "s") {
        std::size_t index = 0;
        const char* end = stored.data() + stored.size();
        const auto [stop, error] = std::from_chars(stored.data(), end, index);
        if (error != std::errc() || stop != end || index >= shared.size()) {
            return false;
        }
        text = shared[index];
    } else if (type == "b") {
        text = stored == "1" ? "TRUE" : "FALSE";
    } else if (type.empty() || type == "n") {
        text = numberText(stored);
    } else {
        text = decodeEscapes(stored); // a formula's text, an error as shown (#N/A), a date
    }
    return true;
}

// A row's number from its r="7", else the one after the previous row.
int rowNumberOf(const XmlNode* row, int previous) {
    const std::string_view ref = attribute(row, "r");
    int number = 0;
    const auto [stop, error] = std::from_chars(ref.data(), ref.data() + ref.size(), number);
    const bool valid =
        error == std::errc() && stop == ref.data() + ref.size() && number >= 1 && number <= kMaxRow;
    return valid ? number : previous + 1;
}

// A cell's column (0 for A) from its r="C7", else the one after the previous cell.
int columnOf(const XmlNode* cell, int previous) {
    const std::string_view ref = attribute(cell, "r");
    int column = 0;
    std::size_t letters = 0;
    while (letters < ref.size() && letters < 3 && ref[letters] >= 'A' && ref[letters] <= 'Z') {
        column = column * 26 + (ref[letters] - 'A' + 1);
        ++letters;
    }
    const bool digitFollows = letters < ref.size() && ref[letters] >= '0' && ref[letters] <= '9';
    return letters > 0 && digitFollows ? column - 1 : previous + 1;
}

bool readRows(const XmlPart& part, const std::string& partName, const std::string& sheetName,
              const std::vector<std::string>& shared, std::vector<SheetRow>& rows,
              ImportBatch& batch) {
    const XmlNode* data = child(child(part.document.get(), "worksheet"), "sheetData");
    std::size_t held = 0;
    int rowNumber = 0;
    for (auto* row = child(data, "row"); row != nullptr; row = following(row, "row")) {
        rowNumber = rowNumberOf(row, rowNumber);
        SheetRow out{rowNumber, {}};
        int column = -1;
        for (auto* cell = child(row, "c"); cell != nullptr; cell = following(cell, "c")) {
            column = columnOf(cell, column);
            std::string text;
            if (column >= kMaxColumns || !cellText(cell, shared, text)) {
                return fail(batch, Msg::NotAWorkbook, {partName});
            }
            if (text.empty()) {
                continue;
            }
            const auto index = static_cast<std::size_t>(column);
            if (index >= out.cells.size()) {
                held += index + 1 - out.cells.size();
                if (held > kMaxCells) {
                    return fail(batch, Msg::SheetTooLarge, {sheetName});
                }
                out.cells.resize(index + 1);
            }
            out.cells[index] = std::move(text);
        }
        if (!out.cells.empty()) {
            rows.push_back(std::move(out));
        }
    }
    return true;
}

} // namespace

bool readWorkbookRows(std::string_view bytes, const std::string& sheet, std::vector<SheetRow>& rows,
                      std::string& sheetName, ImportBatch& batch) {
    Package package{bytes, {}};
    if (!listZipEntries(bytes, package.entries)) {
        return fail(batch, Msg::NotAZip);
    }
    std::string workbookName;
    XmlPart workbook;
    std::vector<Relationship> links;
    if (!findWorkbookPart(package, workbookName, batch) ||
        !parsePart(package, workbookName, workbook, batch) ||
        !readRelationships(package, workbookName, links, batch)) {
        return false;
    }
    const std::vector<Worksheet> sheets = worksheetsOf(workbook, links);
    const Worksheet* chosen = chooseSheet(sheets, sheet);
    if (chosen == nullptr) {
        return fail(batch, Msg::NoSuchSheet, {sheet.empty() ? "1" : sheet});
    }
    sheetName = chosen->name;
    std::vector<std::string> shared;
    XmlPart worksheet;
    if (!readSharedStrings(package, links, shared, batch) ||
        !parsePart(package, chosen->part, worksheet, batch) ||
        !readRows(worksheet, chosen->part, sheetName, shared, rows, batch)) {
        rows.clear();
        return false;
    }
    return true;
}

void readWorkbook(std::string_view bytes, const std::string& sheet, ImportBatch& batch) {
    std::vector<SheetRow> rows;
    std::string sheetName;
    if (readWorkbookRows(bytes, sheet, rows, sheetName, batch)) {
        recordsFromRows(rows, sheetName, batch);
    }
}
