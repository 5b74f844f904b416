// A zip file's entries, found through its central directory, and one entry's
// bytes, stored or inflated. Every size a file states is checked against the
// file and against the bounds below before anything is read or allocated.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ZipEntry {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localOffset = 0;
};

enum class ZipResult {
    Ok,
    TooLarge,    // past kZipMaxEntrySize, or inflating past kZipMaxRatio
    Damaged,     // headers that contradict the file, or data that does not inflate to them
    Unsupported, // encrypted, or a method other than stored or deflated
};

// An entry never inflates past this, nor past kZipMaxRatio times its packed
// size once it is larger than kZipRatioFloor (below that no ratio is a danger).
constexpr std::uint64_t kZipMaxEntrySize = 64u << 20;
constexpr std::uint64_t kZipMaxRatio = 200;
constexpr std::uint64_t kZipRatioFloor = 1u << 20;

// The entries of `zip` in directory order; false when no whole central
// directory is there (not a zip, or one cut short).
bool listZipEntries(std::string_view zip, std::vector<ZipEntry>& entries);

// The entry named `name`, ASCII case ignored as in a package's part names;
// null when there is none.
const ZipEntry* findZipEntry(const std::vector<ZipEntry>& entries, std::string_view name);

// The bytes of `entry`, checked against its stated size and CRC.
ZipResult readZipEntry(std::string_view zip, const ZipEntry& entry, std::string& bytes);
