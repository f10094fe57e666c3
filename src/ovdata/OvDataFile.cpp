#include "ovdata/OvDataFile.h"

#include "ovdata/BigEndianReader.h"
#include "ovdata/Latin1Text.h"
#include "ovdata/OvDataRules.h"

#include <cstring>

namespace ov {

using namespace OvDataLayout;

namespace {

bool isValidCount(std::int32_t count) {
    return count >= 0 && count <= rules::kMaxEntriesPerLevel;
}

std::string describe(const char* kind, const std::string& name, std::int32_t id) {
    return std::string(kind) + " '" + latin1ToUtf8(name) + "' (ID " + std::to_string(id) + ")";
}

void readName(BigEndianReader& reader, std::string& name) {
    const std::span<const std::uint8_t> field = reader.readBytes(kNameFieldSize);
    if (field.empty()) {
        name.clear();
        return;
    }
    const auto* begin = reinterpret_cast<const char*>(field.data());
    const void* zero = std::memchr(begin, 0, field.size());
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - begin) : field.size();
    name.assign(begin, length);
}

void readRect(BigEndianReader& reader, Rect& rect) {
    for (std::int32_t& coordinate : rect)
        coordinate = reader.readInt16();
}

// Fills an already-sized buffer; the size is computed from the validated counts beforehand,
// so no bounds are checked per byte.
class RecordWriter {
public:
    explicit RecordWriter(std::uint8_t* out) : out_(out) {}

    void int32(std::int32_t value) {
        const auto u = static_cast<std::uint32_t>(value);
        out_[0] = static_cast<std::uint8_t>(u >> 24);
        out_[1] = static_cast<std::uint8_t>(u >> 16);
        out_[2] = static_cast<std::uint8_t>(u >> 8);
        out_[3] = static_cast<std::uint8_t>(u);
        out_ += 4;
    }
    void int16(std::int32_t value) {
        const auto u = static_cast<std::uint16_t>(value);
        out_[0] = static_cast<std::uint8_t>(u >> 8);
        out_[1] = static_cast<std::uint8_t>(u);
        out_ += 2;
    }
    void bytes(const void* data, std::size_t count) {
        if (count != 0)
            std::memcpy(out_, data, count);
        out_ += count;
    }
    // The name's bytes (at most 49), one zero byte, then filler up to 50 bytes.
    void name(const std::string& name) {
        const std::size_t length = name.size() < kMaxNameLength ? name.size() : kMaxNameLength;
        bytes(name.data(), length);
        *out_++ = 0;
        std::memset(out_, kNameFiller, kNameFieldSize - length - 1);
        out_ += kNameFieldSize - length - 1;
    }
    void rect(const Rect& rect) {
        for (const std::int32_t coordinate : rect)
            int16(coordinate);
    }
    const std::uint8_t* position() const { return out_; }

private:
    std::uint8_t* out_;
};

std::string checkRect(const char* kind, const std::string& name, std::int32_t id, const Rect& rect) {
    for (const std::int32_t coordinate : rect) {
        if (std::string problem = rules::coordinateProblem(coordinate); !problem.empty())
            return "sorry, " + describe(kind, name, id) + ": " + problem + ".";
    }
    return {};
}

std::string checkCount(const std::string& owner, std::int32_t count, const char* what) {
    std::string problem = rules::countProblem(count, what);
    return problem.empty() ? problem : "sorry, " + owner + ": " + problem + ".";
}

// Everything the file cannot hold is found before a single byte is produced, so a refused
// write leaves the model untouched.
std::string checkWritable(const OvDataModel& m) {
    if (std::string message = checkCount("the file", m.OvNumberOfSectors, "sectors"); !message.empty())
        return message;
    for (int s = 0; s < m.OvNumberOfSectors; ++s) {
        if (std::string message = checkRect("sector", m.SectorName[s], m.SectorID[s], m.SectorXY[s]);
            !message.empty())
            return message;
        if (std::string message =
                checkCount(describe("sector", m.SectorName[s], m.SectorID[s]), m.SectorNumberOfOps[s], "ops");
            !message.empty())
            return message;
        for (int o = 0; o < m.SectorNumberOfOps[s]; ++o) {
            if (std::string message = checkRect("op", m.OpsName[s][o], m.OpsID[s][o], m.OpsXY[s][o]);
                !message.empty())
                return message;
            if (std::string message = checkCount(describe("op", m.OpsName[s][o], m.OpsID[s][o]),
                                                 m.OpsNumberOfBattles[s][o], "battles");
                !message.empty())
                return message;
            for (int b = 0; b < m.OpsNumberOfBattles[s][o]; ++b) {
                const std::string& name = m.BatName[s][o][b];
                const std::int32_t id = m.BatID[s][o][b];
                if (std::string message = checkRect("battle", name, id, m.BatXY[s][o][b]); !message.empty())
                    return message;
                const std::size_t tail = m.BatTail[s][o][b].size();
                if (tail > static_cast<std::size_t>(kTailLength))
                    return "sorry, " + describe("battle", name, id) + " has " + std::to_string(tail) +
                           " flag bytes; a battle holds " + std::to_string(kTailLength) + ".";
            }
        }
    }
    return {};
}

} // namespace

std::size_t OvDataFileSize(const OvDataModel& m) {
    std::size_t size = kHeaderSize;
    for (int s = 0; s < m.OvNumberOfSectors; ++s) {
        size += kSectorRecordSize;
        for (int o = 0; o < m.SectorNumberOfOps[s]; ++o)
            size += kOpsRecordSize + kBattleRecordSize * static_cast<std::size_t>(m.OpsNumberOfBattles[s][o]);
    }
    return size;
}

OvDataReadResult ReadFromOvDataFile(std::span<const std::uint8_t> bytes) {
    OvDataReadResult result;
    const auto fail = [&result](std::string_view message) {
        result.model.reset();
        result.message = message;
        return std::move(result);
    };
    if (bytes.empty())
        return fail(OvDataMessages::kFileIsEmpty);
    if (bytes.size() < kMagic.size() || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
        return fail(OvDataMessages::kNoHeader);

    BigEndianReader reader(bytes);
    reader.readBytes(kMagic.size());
    if (!reader.has(kHeaderSize - kMagic.size()))
        return fail(OvDataMessages::kDamaged);
    reader.readInt32(); // format number, not checked
    auto model = std::make_unique<OvDataModel>();
    OvDataModel& m = *model;
    m.OvResourceID = reader.readInt32();
    m.OvNumberOfSectors = reader.readInt32();
    if (!isValidCount(m.OvNumberOfSectors))
        return fail(OvDataMessages::kDamaged);
    m.InitProperties();

    for (int s = 0; s < m.OvNumberOfSectors; ++s) {
        if (!reader.has(kSectorRecordSize))
            return fail(OvDataMessages::kDamaged);
        m.SectorID[s] = reader.readInt32();
        readName(reader, m.SectorName[s]);
        readRect(reader, m.SectorXY[s]);
        m.SectorNumberOfOps[s] = reader.readInt32();
        if (!isValidCount(m.SectorNumberOfOps[s]))
            return fail(OvDataMessages::kDamaged);
        for (int o = 0; o < m.SectorNumberOfOps[s]; ++o) {
            if (!reader.has(kOpsRecordSize))
                return fail(OvDataMessages::kDamaged);
            m.OpsID[s][o] = reader.readInt32();
            readName(reader, m.OpsName[s][o]);
            readRect(reader, m.OpsXY[s][o]);
            m.OpsNumberOfBattles[s][o] = reader.readInt32();
            if (!isValidCount(m.OpsNumberOfBattles[s][o]))
                return fail(OvDataMessages::kDamaged);
            for (int b = 0; b < m.OpsNumberOfBattles[s][o]; ++b) {
                if (!reader.has(kBattleRecordSize))
                    return fail(OvDataMessages::kDamaged);
                m.BatID[s][o][b] = reader.readInt32();
                readName(reader, m.BatName[s][o][b]);
                readRect(reader, m.BatXY[s][o][b]);
                const std::span<const std::uint8_t> tail = reader.readBytes(kTailLength);
                m.BatTail[s][o][b].assign(reinterpret_cast<const char*>(tail.data()), tail.size());
            }
        }
    }
    if (reader.failed()) // unreachable while every record is checked with has(); kept as the last guard
        return fail(OvDataMessages::kDamaged);
    result.trailingBytes = reader.remaining();
    result.model = std::move(model);
    return result;
}

OvDataReadResult ReadFromOvDataFile(std::string_view bytes) {
    return ReadFromOvDataFile(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string ReadFromOvDataFile(std::span<const std::uint8_t> bytes, OvDataModel& model) {
    OvDataReadResult result = ReadFromOvDataFile(bytes);
    if (!result.ok())
        return std::move(result.message);
    model = std::move(*result.model);
    return {};
}

std::string ReadFromOvDataFile(std::string_view bytes, OvDataModel& model) {
    return ReadFromOvDataFile(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
        model);
}

OvDataWriteResult WriteToOvDataFile(OvDataModel& m) {
    OvDataWriteResult result;
    result.message = checkWritable(m);
    if (!result.ok())
        return result;

    result.bytes.resize(OvDataFileSize(m));
    RecordWriter out(result.bytes.data());
    out.bytes(kMagic.data(), kMagic.size());
    out.int32(kFormatNumber);
    out.int32(m.OvResourceID);
    out.int32(m.OvNumberOfSectors);
    for (int s = 0; s < m.OvNumberOfSectors; ++s) {
        out.int32(m.SectorID[s]);
        out.name(m.SectorName[s]);
        out.rect(m.SectorXY[s]);
        out.int32(m.SectorNumberOfOps[s]);
        for (int o = 0; o < m.SectorNumberOfOps[s]; ++o) {
            out.int32(m.OpsID[s][o]);
            out.name(m.OpsName[s][o]);
            out.rect(m.OpsXY[s][o]);
            out.int32(m.OpsNumberOfBattles[s][o]);
            for (int b = 0; b < m.OpsNumberOfBattles[s][o]; ++b) {
                out.int32(m.BatID[s][o][b]);
                out.name(m.BatName[s][o][b]);
                out.rect(m.BatXY[s][o][b]);
                std::string& tail = m.BatTail[s][o][b];
                if (tail.size() < static_cast<std::size_t>(kTailLength))
                    tail.resize(kTailLength, '\0');
                out.bytes(tail.data(), kTailLength);
            }
        }
    }
    return result;
}

} // namespace ov
