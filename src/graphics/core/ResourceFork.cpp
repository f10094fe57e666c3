#include "graphics/core/ResourceFork.h"

#include "graphics/core/ByteReader.h"

#include <utility>

namespace gfx {

namespace ResourceForkLayout {
constexpr std::uint64_t kHeaderSize = 16;
constexpr std::uint64_t kMapTypeListOffsetField = 24; // u16, from map start to the type count word
constexpr std::uint64_t kMapNameListOffsetField = 26; // u16, from map start to the name list
constexpr std::uint64_t kMapMinTypeListOffset = 28;
constexpr std::uint64_t kMapMinLength = 30;  // fixed part plus the type count word
constexpr std::uint64_t kTypeEntrySize = 8;  // type, count - 1, reference list offset
constexpr std::uint64_t kReferenceSize = 12; // id, name offset, attributes + 24-bit offset, handle
constexpr std::uint16_t kUnnamed = 0xFFFF;
constexpr std::uint64_t kLengthWordSize = 4;
} // namespace ResourceForkLayout

using namespace ResourceForkLayout;

ResourceForkResult ResourceFork::parse(std::vector<std::uint8_t> bytes) {
    ResourceForkResult result;
    const std::uint64_t size = bytes.size();
    if (size == 0) {
        result.error = "the resource fork is empty";
        return result;
    }
    if (size < kHeaderSize) {
        result.error = "the resource fork is shorter than its header";
        return result;
    }

    ResourceFork fork;
    ByteReader header(bytes);
    const std::uint64_t dataOffset = header.u32be();
    const std::uint64_t mapOffset = header.u32be();
    const std::uint64_t dataLength = header.u32be();
    const std::uint64_t mapLength = header.u32be();

    if (dataOffset + dataLength > size || mapOffset + mapLength > size) {
        result.error = "the resource fork header points past the end of the fork";
        return result;
    }
    if (mapLength < kMapMinLength) {
        result.error = "the resource map is too short";
        return result;
    }
    if (dataLength > 0 && dataOffset < mapOffset + mapLength && mapOffset < dataOffset + dataLength) {
        result.error = "the resource data and the resource map overlap";
        return result;
    }

    ByteReader map(std::span<const std::uint8_t>(bytes).subspan(mapOffset, mapLength));
    map.seek(kMapTypeListOffsetField);
    const std::uint64_t typeListOffset = map.u16be();
    map.seek(kMapNameListOffsetField);
    const std::uint64_t nameListOffset = map.u16be();
    if (typeListOffset < kMapMinTypeListOffset || typeListOffset + 2 > mapLength ||
        nameListOffset > mapLength) {
        result.error = "the resource map's lists lie outside the map";
        return result;
    }

    map.seek(typeListOffset);
    // The stored word is the count minus one, so 0xFFFF is an empty map.
    const std::uint64_t typeCount = (static_cast<std::uint64_t>(map.u16be()) + 1u) & 0xFFFFu;
    if (typeListOffset + 2 + typeCount * kTypeEntrySize > mapLength) {
        result.error = "the resource type list runs past the end of the map";
        return result;
    }

    fork.m_types.reserve(typeCount);
    for (std::uint64_t i = 0; i < typeCount; ++i) {
        TypeEntry entry{};
        entry.type = map.u32be();
        entry.count = static_cast<std::uint32_t>(map.u16be()) + 1u;
        // Reference lists are addressed from the type count word, not from the map start.
        const std::uint64_t refList = typeListOffset + map.u16be();
        if (refList + entry.count * kReferenceSize > mapLength) {
            result.error = "a resource reference list runs past the end of the map";
            return result;
        }
        entry.refListOffset = mapOffset + refList;
        fork.m_types.push_back(entry);
    }
    if (map.failed()) {
        result.error = "the resource map is truncated";
        return result;
    }

    fork.m_dataOffset = dataOffset;
    fork.m_dataEnd = dataOffset + dataLength;
    fork.m_mapOffset = mapOffset;
    fork.m_mapLength = mapLength;
    fork.m_nameListOffset = mapOffset + nameListOffset;
    fork.m_bytes = std::move(bytes);
    result.fork = std::move(fork);
    return result;
}

ResourceInfo ResourceFork::readReference(std::uint64_t refOffset) const {
    ByteReader ref(std::span<const std::uint8_t>(m_bytes).subspan(refOffset, kReferenceSize));
    ResourceInfo info;
    info.id = ref.s16be();
    const std::uint16_t nameOffset = ref.u16be();
    info.attributes = ref.u8();
    const std::uint64_t dataOffset24 = (static_cast<std::uint64_t>(ref.u8()) << 16) | ref.u16be();

    const std::uint64_t mapEnd = m_mapOffset + m_mapLength;
    if (nameOffset != kUnnamed) {
        const std::uint64_t namePos = m_nameListOffset + nameOffset;
        if (namePos < mapEnd) {
            const std::uint64_t nameLength = m_bytes[namePos];
            if (namePos + 1 + nameLength <= mapEnd)
                info.name.assign(reinterpret_cast<const char*>(m_bytes.data() + namePos + 1), nameLength);
        }
    }

    const std::uint64_t lengthPos = m_dataOffset + dataOffset24;
    if (lengthPos + kLengthWordSize <= m_dataEnd) {
        ByteReader lengthWord(std::span<const std::uint8_t>(m_bytes).subspan(lengthPos, kLengthWordSize));
        info.length = lengthWord.u32be();
        info.payloadOffset = lengthPos + kLengthWordSize;
        info.dataInRange = info.payloadOffset + info.length <= m_dataEnd;
    }
    return info;
}

std::vector<ResourceInfo> ResourceFork::resources(FourCC type) const {
    std::vector<ResourceInfo> out;
    for (const TypeEntry& entry : m_types) {
        if (entry.type != type)
            continue;
        out.reserve(entry.count);
        for (std::uint32_t i = 0; i < entry.count; ++i)
            out.push_back(readReference(entry.refListOffset + i * kReferenceSize));
        break;
    }
    return out;
}

ResourceFork::Lookup ResourceFork::find(FourCC type, std::int16_t id) const {
    Lookup lookup;
    for (const TypeEntry& entry : m_types) {
        if (entry.type != type)
            continue;
        for (std::uint32_t i = 0; i < entry.count; ++i) {
            const ResourceInfo info = readReference(entry.refListOffset + i * kReferenceSize);
            if (info.id != id)
                continue;
            if (!info.dataInRange)
                lookup.error = "the resource's data lies outside the fork";
            else if (info.compressed())
                lookup.error = "the resource is compressed, which is not supported";
            else
                lookup.data = std::span<const std::uint8_t>(m_bytes).subspan(info.payloadOffset, info.length);
            return lookup;
        }
        break;
    }
    lookup.error = "no such resource";
    return lookup;
}

} // namespace gfx
