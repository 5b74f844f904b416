#include "tools/tovtool/import/zip_entries.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <utility>

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::uint32_t kZip64Marker = 0xffffffff;
constexpr std::uint16_t kZip64ExtraId = 0x0001;

// Little-endian fields; callers have checked that `at` and its width fit.
std::uint16_t le16(std::string_view s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      static_cast<unsigned char>(s[at + 1]) << 8);
}

std::uint32_t le32(std::string_view s, std::size_t at) {
    return static_cast<std::uint32_t>(le16(s, at)) | static_cast<std::uint32_t>(le16(s, at + 2))
                                                         << 16;
}

std::uint64_t le64(std::string_view s, std::size_t at) {
    return static_cast<std::uint64_t>(le32(s, at)) | static_cast<std::uint64_t>(le32(s, at + 4))
                                                         << 32;
}

// The end record is the last thing in a zip but for a comment of at most
// 64 KiB; searched from the end so that a comment cannot fake one.
bool findEndRecord(std::string_view zip, std::size_t& at) {
    if (zip.size() < kEndSize) {
        return false;
    }
    const std::size_t last = zip.size() - kEndSize;
    const std::size_t first = last > 0xffff ? last - 0xffff : 0;
    for (std::size_t pos = last + 1; pos-- > first;) {
        if (le32(zip, pos) == kEndSignature && pos + kEndSize + le16(zip, pos + 20) <= zip.size()) {
            at = pos;
            return true;
        }
    }
    return false;
}

// A writer that puts 0xffffffff in a size or offset gives the real value in
// the zip64 extra field, in the order size, packed size, offset.
bool readZip64Extra(std::string_view extra, ZipEntry& entry, bool size, bool packed, bool offset) {
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const std::size_t length = le16(extra, at + 2);
        if (at + 4 + length > extra.size()) {
            return false;
        }
        if (le16(extra, at) == kZip64ExtraId) {
            std::size_t field = at + 4;
            for (auto [wanted, value] :
                 {std::pair{size, &entry.size}, std::pair{packed, &entry.packedSize},
                  std::pair{offset, &entry.localOffset}}) {
                if (!wanted) {
                    continue;
                }
                if (field + 8 > at + 4 + length) {
                    return false;
                }
                *value = le64(extra, field);
                field += 8;
            }
            return true;
        }
        at += 4 + length;
    }
    return false;
}

bool readCentralEntry(std::string_view zip, std::size_t& at, std::size_t end, ZipEntry& entry) {
    if (end - at < kCentralSize || le32(zip, at) != kCentralSignature) {
        return false;
    }
    const std::size_t nameLength = le16(zip, at + 28);
    const std::size_t extraLength = le16(zip, at + 30);
    const std::size_t commentLength = le16(zip, at + 32);
    const std::size_t length = kCentralSize + nameLength + extraLength + commentLength;
    if (end - at < length) {
        return false;
    }
    entry.flags = le16(zip, at + 8);
    entry.method = le16(zip, at + 10);
    entry.crc = le32(zip, at + 16);
    entry.packedSize = le32(zip, at + 20);
    entry.size = le32(zip, at + 24);
    entry.localOffset = le32(zip, at + 42);
    entry.name.assign(zip.substr(at + kCentralSize, nameLength));
    const bool size = entry.size == kZip64Marker;
    const bool packed = entry.packedSize == kZip64Marker;
    const bool offset = entry.localOffset == kZip64Marker;
    if ((size || packed || offset) &&
        !readZip64Extra(zip.substr(at + kCentralSize + nameLength, extraLength), entry, size,
                        packed, offset)) {
        return false;
    }
    at += length;
    return true;
}

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// Inflates into a buffer one byte larger than stated, so that data going on
// past its stated size is caught without reading any further.
ZipResult inflateEntry(std::string_view packed, std::uint64_t size, std::string& bytes) {
    if (packed.size() > std::numeric_limits<uInt>::max()) {
        return ZipResult::Damaged;
    }
    bytes.assign(static_cast<std::size_t>(size) + 1, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return ZipResult::Damaged;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(bytes.data());
    stream.avail_out = static_cast<uInt>(bytes.size());
    // With all input and all room given, one call ends the stream or stops.
    const int result = inflate(&stream, Z_FINISH);
    const std::uint64_t produced = stream.total_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced != size) {
        return ZipResult::Damaged;
    }
    bytes.resize(static_cast<std::size_t>(size));
    return ZipResult::Ok;
}

} // namespace

bool listZipEntries(std::string_view zip, std::vector<ZipEntry>& entries) {
    std::size_t end = 0;
    if (!findEndRecord(zip, end)) {
        return false;
    }
    const std::size_t count = le16(zip, end + 10);
    const std::size_t directorySize = le32(zip, end + 12);
    const std::size_t directoryOffset = le32(zip, end + 16);
    if (directoryOffset > end || directorySize > end - directoryOffset) {
        return false;
    }
    entries.clear();
    std::size_t at = directoryOffset;
    const std::size_t directoryEnd = directoryOffset + directorySize;
    for (std::size_t i = 0; i < count; ++i) {
        ZipEntry entry;
        if (!readCentralEntry(zip, at, directoryEnd, entry)) {
            return false;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

const ZipEntry* findZipEntry(const std::vector<ZipEntry>& entries, std::string_view name) {
    for (const ZipEntry& entry : entries) {
        if (sameName(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

ZipResult readZipEntry(std::string_view zip, const ZipEntry& entry, std::string& bytes) {
    bytes.clear();
    if (entry.flags & 1) {
        return ZipResult::Unsupported;
    }
    if (entry.method != 0 && entry.method != 8) {
        return ZipResult::Unsupported;
    }
    if (entry.size > kZipMaxEntrySize ||
        (entry.size > kZipRatioFloor && entry.packedSize < entry.size / kZipMaxRatio)) {
        return ZipResult::TooLarge;
    }
    const std::uint64_t at = entry.localOffset;
    if (at > zip.size() || zip.size() - at < kLocalSize || le32(zip, at) != kLocalSignature) {
        return ZipResult::Damaged;
    }
    const std::uint64_t start = at + kLocalSize + le16(zip, at + 26) + le16(zip, at + 28);
    if (start > zip.size() || zip.size() - start < entry.packedSize) {
        return ZipResult::Damaged;
    }
    const std::string_view packed = zip.substr(start, entry.packedSize);
    if (entry.method == 0) {
        if (entry.packedSize != entry.size) {
            return ZipResult::Damaged;
        }
        bytes.assign(packed);
    } else if (const ZipResult result = inflateEntry(packed, entry.size, bytes);
               result != ZipResult::Ok) {
        bytes.clear();
        return result;
    }
    const auto sum =
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    if (sum != entry.crc) {
        bytes.clear();
        return ZipResult::Damaged;
    }
    return ZipResult::Ok;
}
