#pragma once

// Reads a Windows executable from the file alone, as the system loader finds its parts: the
// machine it is built for, the DLLs it imports, and the resource section's directory of type,
// name and language. The one reader of PE files for the tests: the scripts ask pe_summary.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kz::test {

// Little-endian fields of a byte buffer; 0 for a field that runs past its end.
inline uint16_t readU16(const std::vector<uint8_t>& b, size_t at) {
    if (at > b.size() || b.size() - at < 2) {
        return 0;
    }
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

inline uint32_t readU32(const std::vector<uint8_t>& b, size_t at) {
    if (at > b.size() || b.size() - at < 4) {
        return 0;
    }
    return readU16(b, at) | (uint32_t{readU16(b, at + 2)} << 16);
}

class PeImage {
  public:
    // Empty (loaded() false, error() saying why) when the file is missing or not a PE image.
    explicit PeImage(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            failure = "cannot read " + path;
            return;
        }
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        parse();
    }

    bool loaded() const { return failure.empty(); }
    const std::string& error() const { return failure; }
    uint16_t machine() const { return machineType; }
    // The names of the DLLs the program imports, as the file spells them, in table order.
    const std::vector<std::string>& importedDlls() const { return imports; }

    // Resource ids of one type, each with the data of its first language.
    std::map<uint32_t, std::vector<uint8_t>> ofType(uint32_t type) const {
        auto it = resources.find(type);
        return it == resources.end() ? std::map<uint32_t, std::vector<uint8_t>>{} : it->second;
    }

    std::optional<std::vector<uint8_t>> find(uint32_t type, uint32_t id) const {
        auto all = ofType(type);
        auto it = all.find(id);
        if (it == all.end()) {
            return std::nullopt;
        }
        return it->second;
    }

    // Named (non-numeric) resources and extra languages do not occur in the program; they
    // are counted so a test can insist on that.
    int namedOrExtraEntries() const { return extraEntries; }

  private:
    struct Section {
        uint32_t virtualAddress;
        uint32_t virtualSize;
        uint32_t rawOffset;
        uint32_t rawSize;
    };

    bool has(size_t offset, size_t size) const {
        return offset <= bytes.size() && size <= bytes.size() - offset;
    }
    uint16_t u16(size_t offset) const { return readU16(bytes, offset); }
    uint32_t u32(size_t offset) const { return readU32(bytes, offset); }

    std::optional<size_t> fileOffset(uint32_t rva, uint32_t size) const {
        for (const Section& s : sections) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress + uint64_t{size} <= s.rawSize) {
                const size_t offset = size_t{s.rawOffset} + (rva - s.virtualAddress);
                if (has(offset, size)) {
                    return offset;
                }
            }
        }
        return std::nullopt;
    }

    void parse() {
        if (u16(0) != 0x5A4D) {  // "MZ"
            failure = "no MZ header";
            return;
        }
        const size_t pe = u32(0x3C);
        if (u32(pe) != 0x00004550) {  // "PE\0\0"
            failure = "no PE header";
            return;
        }
        machineType = u16(pe + 4);
        const uint16_t sectionCount = u16(pe + 6);
        const uint16_t optionalSize = u16(pe + 20);
        const size_t optional = pe + 24;
        const uint16_t magic = u16(optional);
        // The data directories start at 96 (PE32) or 112 (PE32+); the resources are entry 2.
        size_t directories = 0;
        if (magic == 0x10B) {
            directories = optional + 96;
        } else if (magic == 0x20B) {
            directories = optional + 112;
        } else {
            failure = "unknown optional header";
            return;
        }
        const uint32_t resourceRva = u32(directories + 2 * 8);
        const size_t sectionTable = optional + optionalSize;
        for (uint16_t i = 0; i < sectionCount; ++i) {
            const size_t s = sectionTable + size_t{i} * 40;
            sections.push_back({u32(s + 12), u32(s + 8), u32(s + 20), u32(s + 16)});
        }
        // The import directory is entry 1: descriptors of 20 bytes up to one of zeros.
        if (!readImports(u32(directories + 8))) {
            return;
        }
        const auto root = fileOffset(resourceRva, 16);
        if (resourceRva == 0 || !root) {
            failure = "no resource section";
            return;
        }
        base = *root;
        for (const auto& [type, typeDir] : entries(0)) {
            for (const auto& [id, idDir] : entries(typeDir)) {
                const auto languages = entries(idDir);
                if (languages.empty()) {
                    continue;
                }
                extraEntries += static_cast<int>(languages.size()) - 1;
                const size_t data = base + languages.front().second;
                const auto at = fileOffset(u32(data), u32(data + 4));
                if (at) {
                    resources[type][id] = std::vector<uint8_t>(
                        bytes.begin() + static_cast<std::ptrdiff_t>(*at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(*at + u32(data + 4)));
                }
            }
        }
    }

    bool readImports(uint32_t importsRva) {
        if (importsRva == 0) {
            return true;
        }
        for (uint32_t descriptor = importsRva;; descriptor += 20) {
            const auto at = fileOffset(descriptor, 20);
            if (!at) {
                failure = "the import table lies outside the sections";
                return false;
            }
            const uint32_t nameRva = u32(*at + 12);
            if (nameRva == 0) {
                return true;
            }
            const auto name = fileOffset(nameRva, 1);
            if (!name) {
                failure = "an imported DLL's name lies outside the sections";
                return false;
            }
            const auto end = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(*name),
                                       bytes.end(), uint8_t{0});
            imports.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(*name), end);
        }
    }

    // The numeric entries of one resource directory: id and the offset they point to
    // (relative to the section). Named entries are only counted.
    std::vector<std::pair<uint32_t, uint32_t>> entries(uint32_t directory) {
        std::vector<std::pair<uint32_t, uint32_t>> out;
        const size_t at = base + directory;
        const uint16_t named = u16(at + 12);
        const uint16_t numbered = u16(at + 14);
        extraEntries += named;
        for (uint32_t i = named; i < uint32_t{named} + numbered; ++i) {
            const size_t entry = at + 16 + size_t{i} * 8;
            out.emplace_back(u32(entry), u32(entry + 4) & 0x7FFFFFFFu);
        }
        return out;
    }

    std::vector<uint8_t> bytes;
    std::vector<Section> sections;
    std::map<uint32_t, std::map<uint32_t, std::vector<uint8_t>>> resources;
    std::vector<std::string> imports;
    size_t base = 0;
    uint16_t machineType = 0;
    int extraEntries = 0;
    std::string failure;
};

}  // namespace kz::test
