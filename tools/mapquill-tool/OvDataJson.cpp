#include "OvDataJson.h"

#include "Latin1Text.h"
#include "ovdata/OvDataFile.h"
#include "ovdata/OvDataRules.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

namespace mqtool {

using nlohmann::json;

namespace {

namespace JsonKeys {
constexpr const char* kResourceId = "resource_id";
constexpr const char* kSectors = "sectors";
constexpr const char* kId = "id";
constexpr const char* kName = "name";
constexpr const char* kRect = "rect";
constexpr const char* kOps = "ops";
constexpr const char* kBattles = "battles";
constexpr const char* kFlags = "flags";
} // namespace JsonKeys

using namespace JsonKeys;

// Document, sectors, sector, ops, op, battles, battle, rect: the deepest a model goes.
constexpr std::size_t kModelDepth = 8;
constexpr std::size_t kMaxJsonDepth = 64;
// A full model has about 21,000 values (1331 battles of 14); ten times that is still no model,
// and keeps the parsed document (and the parser's own bookkeeping when it frees it) small.
constexpr std::size_t kMaxJsonValues = 200000;

// ---- writing ------------------------------------------------------------------------------

std::string quoted(const std::string& latin1) {
    return json(latin1ToUtf8(latin1)).dump(-1, ' ', false, json::error_handler_t::strict);
}

std::string intList(const auto& values) {
    std::string text = "[";
    bool first = true;
    for (const auto value : values) {
        if (!first)
            text += ", ";
        text += std::to_string(static_cast<long long>(value));
        first = false;
    }
    return text + "]";
}

// Layout: one battle per line, other entries one field per line, so that diffs of hand-edited
// sources stay readable.
class JsonTextWriter {
public:
    void field(int indent, const char* key, const std::string& value, bool last = false) {
        pad(indent);
        out_ += '"';
        out_ += key;
        out_ += "\": ";
        out_ += value;
        out_ += last ? "\n" : ",\n";
    }
    void raw(int indent, const std::string& text) {
        pad(indent);
        out_ += text;
        out_ += '\n';
    }
    std::string take() { return std::move(out_); }

private:
    void pad(int indent) { out_.append(static_cast<std::size_t>(indent), ' '); }
    std::string out_;
};

std::string battleLine(const ov::OvDataModel& m, int s, int o, int b) {
    const std::string& tail = m.BatTail[s][o][b];
    std::uint8_t flags[ov::kTailLength] = {};
    for (std::size_t k = 0; k < tail.size() && k < static_cast<std::size_t>(ov::kTailLength); ++k)
        flags[k] = static_cast<std::uint8_t>(tail[k]);
    return std::string("{\"") + kId + "\": " + std::to_string(m.BatID[s][o][b]) + ", \"" + kName +
           "\": " + quoted(m.BatName[s][o][b]) + ", \"" + kRect + "\": " + intList(m.BatXY[s][o][b]) +
           ", \"" + kFlags + "\": " + intList(flags) + "}";
}

int used(std::int32_t count) {
    return count < 0 ? 0 : count > ov::kCapacity ? ov::kCapacity : count;
}

} // namespace

std::string OvDataToJsonText(const ov::OvDataModel& m) {
    JsonTextWriter w;
    w.raw(0, "{");
    w.field(2, kResourceId, std::to_string(m.OvResourceID));
    const int sectors = used(m.OvNumberOfSectors);
    w.field(2, kSectors, sectors == 0 ? "[]" : "[", true);
    for (int s = 0; s < sectors; ++s) {
        w.raw(4, "{");
        w.field(6, kId, std::to_string(m.SectorID[s]));
        w.field(6, kName, quoted(m.SectorName[s]));
        w.field(6, kRect, intList(m.SectorXY[s]));
        const int ops = used(m.SectorNumberOfOps[s]);
        w.field(6, kOps, ops == 0 ? "[]" : "[", true);
        for (int o = 0; o < ops; ++o) {
            w.raw(8, "{");
            w.field(10, kId, std::to_string(m.OpsID[s][o]));
            w.field(10, kName, quoted(m.OpsName[s][o]));
            w.field(10, kRect, intList(m.OpsXY[s][o]));
            const int battles = used(m.OpsNumberOfBattles[s][o]);
            w.field(10, kBattles, battles == 0 ? "[]" : "[", true);
            for (int b = 0; b < battles; ++b)
                w.raw(12, battleLine(m, s, o, b) + (b + 1 < battles ? "," : ""));
            if (battles != 0)
                w.raw(10, "]");
            w.raw(8, o + 1 < ops ? "}," : "}");
        }
        if (ops != 0)
            w.raw(6, "]");
        w.raw(4, s + 1 < sectors ? "}," : "}");
    }
    if (sectors != 0)
        w.raw(2, "]");
    w.raw(0, "}");
    return w.take();
}

// ---- reading ------------------------------------------------------------------------------

namespace {

// Walks the parsed document; the first fault found becomes the message and ends the walk.
class JsonModelReader {
public:
    bool readModel(const json& root, ov::OvDataModel& m) {
        if (!object(root, "the document", {kResourceId, kSectors}))
            return false;
        if (!integer(root[kResourceId], kResourceId, INT32_MIN, INT32_MAX, m.OvResourceID))
            return false;
        const json& sectors = root[kSectors];
        if (!list(sectors, kSectors, "sectors", m.OvNumberOfSectors))
            return false;
        for (int s = 0; s < m.OvNumberOfSectors; ++s) {
            const std::string sp = std::string(kSectors) + "[" + std::to_string(s) + "]";
            const json& sector = sectors[static_cast<std::size_t>(s)];
            if (!entry(sector, sp, kOps, m.SectorID[s], m.SectorName[s], m.SectorXY[s]))
                return false;
            const json& ops = sector[kOps];
            const std::string opsPath = sp + "." + kOps;
            if (!list(ops, opsPath, "ops", m.SectorNumberOfOps[s]))
                return false;
            for (int o = 0; o < m.SectorNumberOfOps[s]; ++o) {
                const std::string op = opsPath + "[" + std::to_string(o) + "]";
                const json& ops_o = ops[static_cast<std::size_t>(o)];
                if (!entry(ops_o, op, kBattles, m.OpsID[s][o], m.OpsName[s][o], m.OpsXY[s][o]))
                    return false;
                const json& battles = ops_o[kBattles];
                const std::string batPath = op + "." + kBattles;
                if (!list(battles, batPath, "battles", m.OpsNumberOfBattles[s][o]))
                    return false;
                for (int b = 0; b < m.OpsNumberOfBattles[s][o]; ++b) {
                    const std::string bp = batPath + "[" + std::to_string(b) + "]";
                    const json& battle = battles[static_cast<std::size_t>(b)];
                    if (!entry(battle, bp, kFlags, m.BatID[s][o][b], m.BatName[s][o][b], m.BatXY[s][o][b]))
                        return false;
                    if (!flags(battle[kFlags], bp + "." + kFlags, m.BatTail[s][o][b]))
                        return false;
                }
            }
        }
        return true;
    }

    std::string message;
    std::vector<std::string> warnings;

private:
    bool fail(const std::string& path, const std::string& what) {
        message = "sorry, " + path + ": " + what + ".";
        return false;
    }

    // An object with exactly these keys.
    bool object(const json& value, const std::string& path, std::initializer_list<const char*> keys) {
        if (!value.is_object())
            return fail(path, "expected an object");
        for (const char* key : keys) {
            if (!value.contains(key))
                return fail(path, std::string("the field \"") + key + "\" is missing");
        }
        for (const auto& item : value.items()) {
            bool known = false;
            for (const char* key : keys)
                known = known || item.key() == key;
            if (!known)
                return fail(path, "unknown field \"" + item.key() + "\"");
        }
        return true;
    }

    bool integer(const json& value, const std::string& path, std::int64_t low, std::int64_t high,
                 std::int32_t& out, bool coordinate = false) {
        if (!value.is_number_integer())
            return fail(path, "expected a whole number");
        // Coordinates have their own phrase in the rule table, the one the writer uses too.
        if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(high))
            return fail(path, std::string(coordinate ? "coordinate " : "") +
                                  std::to_string(value.get<std::uint64_t>()) + " is outside " +
                                  ov::rules::rangeText(low, high));
        const std::int64_t number = value.is_number_unsigned()
                                        ? static_cast<std::int64_t>(value.get<std::uint64_t>())
                                        : value.get<std::int64_t>();
        if (std::string problem = coordinate ? ov::rules::coordinateProblem(number)
                                             : ov::rules::outsideRange(number, low, high);
            !problem.empty())
            return fail(path, problem);
        out = static_cast<std::int32_t>(number);
        return true;
    }

    bool list(const json& value, const std::string& path, const char* what, std::int32_t& count) {
        if (!value.is_array())
            return fail(path, "expected a list");
        if (std::string problem = ov::rules::countProblem(static_cast<std::int64_t>(value.size()), what);
            !problem.empty())
            return fail(path, problem);
        count = static_cast<std::int32_t>(value.size());
        return true;
    }

    bool entry(const json& value, const std::string& path, const char* childrenKey, std::int32_t& id,
               std::string& name, ov::Rect& rect) {
        if (!object(value, path, {kId, kName, kRect, childrenKey}))
            return false;
        if (!integer(value[kId], path + "." + kId, INT32_MIN, INT32_MAX, id))
            return false;
        if (!text(value[kName], path + "." + kName, name))
            return false;
        const json& r = value[kRect];
        const std::string rp = path + "." + kRect;
        if (!r.is_array() || r.size() != rect.size())
            return fail(rp, "expected a list of 4 whole numbers x1, y1, x2, y2");
        for (std::size_t k = 0; k < rect.size(); ++k) {
            if (!integer(r[k], rp + "[" + std::to_string(k) + "]", ov::rules::kMinCoordinate,
                         ov::rules::kMaxCoordinate, rect[k], true))
                return false;
        }
        return true;
    }

    bool text(const json& value, const std::string& path, std::string& out) {
        if (!value.is_string())
            return fail(path, "expected a text");
        Latin1Conversion latin1 = utf8ToLatin1(value.get_ref<const std::string&>());
        if (!latin1.ok())
            return fail(path, latin1.error + "; names are ISO-8859-1");
        // A file's name field can hold a name without its closing zero byte; the writer keeps 49
        // of its 50 bytes, and says so, so that every file that can be read builds again.
        if (latin1.bytes.size() == ov::OvDataLayout::kNameFieldSize) {
            latin1.bytes.resize(ov::OvDataLayout::kMaxNameLength);
            warnings.push_back(path + ": the name has " + std::to_string(ov::OvDataLayout::kNameFieldSize) +
                               " characters; the file keeps the first " +
                               std::to_string(ov::OvDataLayout::kMaxNameLength));
        }
        if (std::string problem = ov::rules::nameBytesProblem(latin1.bytes); !problem.empty())
            return fail(path, problem);
        out = std::move(latin1.bytes);
        return true;
    }

    bool flags(const json& value, const std::string& path, std::string& tail) {
        if (!value.is_array() || value.size() != static_cast<std::size_t>(ov::kTailLength))
            return fail(path, "expected a list of 3 byte values LZ, Bridge, Road");
        tail.assign(ov::kTailLength, '\0');
        for (std::size_t k = 0; k < tail.size(); ++k) {
            std::int32_t byte = 0;
            if (!integer(value[k], path + "[" + std::to_string(k) + "]", 0, ov::rules::kMaxFlagByte, byte))
                return false;
            tail[k] = static_cast<char>(byte);
        }
        return true;
    }
};

} // namespace

JsonModelResult OvDataFromJsonText(std::string_view text) {
    JsonModelResult result;
    json root;
    // The parser keeps the last of repeated keys; a repeated field is refused instead, so that
    // no value written in the file is silently dropped.
    std::vector<std::set<std::string>> openKeys; // one set per open container; arrays have none
    std::string repeated;
    // Every value and every open container costs memory in the parser: a file of nothing but '['
    // or of millions of numbers is refused as soon as it is more than any model, not after
    // building all of it.
    struct Refused {
        std::string message;
    };
    std::size_t values = 0;
    const json::parser_callback_t watchKeys = [&](int, json::parse_event_t event, json& parsed) {
        if (event != json::parse_event_t::object_end && event != json::parse_event_t::array_end &&
            ++values > kMaxJsonValues)
            throw Refused{"sorry, the JSON holds more than " + std::to_string(kMaxJsonValues) +
                          " values; an OvData model has at most about 21000."};
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            if (openKeys.size() == kMaxJsonDepth)
                throw Refused{"sorry, the JSON nests lists and objects deeper than " +
                              std::to_string(kMaxJsonDepth) + " levels; an OvData model needs " +
                              std::to_string(kModelDepth) + "."};
            openKeys.emplace_back();
            break;
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            if (!openKeys.empty())
                openKeys.pop_back();
            break;
        case json::parse_event_t::key:
            if (!openKeys.empty() && !openKeys.back().insert(parsed.get<std::string>()).second &&
                repeated.empty())
                repeated = parsed.get<std::string>();
            break;
        case json::parse_event_t::value:
            break;
        }
        return true;
    };
    try {
        root = json::parse(text.begin(), text.end(), watchKeys);
    } catch (const json::exception& e) {
        result.message = std::string("sorry, the JSON cannot be read: ") + e.what();
        return result;
    } catch (Refused& refused) {
        result.message = std::move(refused.message);
        return result;
    }
    if (!repeated.empty()) {
        result.message = "sorry, the field \"" + repeated + "\" appears twice in one object.";
        return result;
    }
    auto model = std::make_unique<ov::OvDataModel>();
    model->InitProperties();
    JsonModelReader reader;
    const bool accepted = reader.readModel(root, *model);
    result.warnings = std::move(reader.warnings);
    if (!accepted) {
        result.message = std::move(reader.message);
        return result;
    }
    result.model = std::move(model);
    return result;
}

} // namespace mqtool
