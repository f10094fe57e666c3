#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gfx {

// One resource of a fork as its reference list describes it. The payload offset and length are
// validated lazily: `dataInRange` says whether the length word and the payload lie inside the
// fork's data area.
struct ResourceInfo {
    std::int16_t id = 0;
    std::string name; // MacRoman bytes as stored; empty when unnamed
    std::uint8_t attributes = 0;
    std::uint64_t payloadOffset = 0; // from fork start, first byte after the length word
    std::uint32_t length = 0;
    bool dataInRange = false;

    bool compressed() const { return (attributes & 0x01u) != 0; }
};

struct ResourceForkResult;

// A classic Mac OS resource fork: header, data area and resource map. Parsing validates the header,
// the map, the type list and every reference list against the fork's size; a resource's payload is
// checked when it is looked up, so one damaged resource does not hide the others (the Resource
// Manager behaves the same way). The fork bytes are owned.
class ResourceFork {
public:
    using FourCC = std::uint32_t;
    static constexpr FourCC kPict = 0x50494354u; // 'PICT'

    static ResourceForkResult parse(std::vector<std::uint8_t> bytes);

    // Every resource of one type in reference-list order. Like the Resource Manager only the
    // first type entry of a type counts.
    std::vector<ResourceInfo> resources(FourCC type) const;

    // The payload of the first resource with this type and ID, or the reason there is none.
    struct Lookup {
        std::span<const std::uint8_t> data;
        std::string error;
        bool ok() const { return error.empty(); }
    };
    Lookup find(FourCC type, std::int16_t id) const;

    std::size_t typeCount() const { return m_types.size(); }
    std::span<const std::uint8_t> bytes() const { return m_bytes; }

private:
    struct TypeEntry {
        FourCC type;
        std::uint32_t count;
        std::uint64_t refListOffset; // from fork start
    };

    ResourceInfo readReference(std::uint64_t refOffset) const;

    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_dataOffset = 0;
    std::uint64_t m_dataEnd = 0;
    std::uint64_t m_mapOffset = 0;
    std::uint64_t m_mapLength = 0;
    std::uint64_t m_nameListOffset = 0; // from fork start
    std::vector<TypeEntry> m_types;
};

struct ResourceForkResult {
    std::optional<ResourceFork> fork;
    std::string error; // why the bytes are not a usable resource fork
    bool ok() const { return fork.has_value(); }
};

} // namespace gfx
