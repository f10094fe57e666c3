#include "ovdata/OvDataChecks.h"

#include "ovdata/Latin1Text.h"
#include "ovdata/OvDataRules.h"

#include <algorithm>
#include <charconv>
#include <tuple>

namespace ov {

std::string_view severityName(Severity severity) {
    switch (severity) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        return "note";
    }
    return "note";
}

std::string idPathText(const EntryPath& ref) {
    if (ref.isFile())
        return "file";
    std::string text = std::to_string(ref.sectorId);
    if (ref.op >= 0)
        text += "/" + std::to_string(ref.opId);
    if (ref.battle >= 0)
        text += "/" + std::to_string(ref.battleId);
    return text;
}

std::string_view levelName(const EntryPath& ref) {
    switch (ref.depth()) {
    case 1:
        return "sector";
    case 2:
        return "op";
    case 3:
        return "battle";
    default:
        return "file";
    }
}

namespace {

// Counts are clamped so that a model built by hand with an impossible count is still walked
// inside its arrays (coordinate-range and the writer report such models; the checks never crash).
int used(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, kCapacity);
}

std::string fileName(int number) {
    return "OvData" + std::to_string(number);
}

// The message pieces are appended into one string: a set of ten full files can give tens of
// thousands of findings, and every temporary string is an allocation.
void appendQuoted(std::string& out, const std::string& bytes) {
    out += '\'';
    appendLatin1ToUtf8(out, bytes);
    out += '\'';
}

std::string quotedName(const std::string& bytes) {
    std::string text;
    appendQuoted(text, bytes);
    return text;
}

void appendRect(std::string& out, const Rect& r) {
    char text[64];
    char* end = text;
    for (std::size_t k = 0; k < r.size(); ++k) {
        if (k) {
            *end++ = ',';
            *end++ = ' ';
        }
        end = std::to_chars(end, text + sizeof text, r[k]).ptr;
    }
    out.append(text, end);
}

std::string rectText(const Rect& r) {
    std::string text;
    appendRect(text, r);
    return text;
}

// "<before><a><middle><b><after>" in one allocation.
template <typename T, typename Append>
std::string between(std::string_view before, const T& a, std::string_view middle, const T& b,
                    std::string_view after, Append append) {
    std::string text;
    text.reserve(before.size() + middle.size() + after.size() + 48);
    text += before;
    append(text, a);
    text += middle;
    append(text, b);
    text += after;
    return text;
}

// On/off as the game reads them (any byte but 0 is on), in the table's "1-0-1" form.
std::string flagsText(const std::string& tail) {
    std::string text;
    for (int k = 0; k < kTailLength; ++k) {
        const bool on = static_cast<std::size_t>(k) < tail.size() && tail[static_cast<std::size_t>(k)] != 0;
        text += (k ? "-" : "");
        text += on ? '1' : '0';
    }
    return text;
}

EntryPath sectorRef(const OvDataModel& m, int file, int s) {
    EntryPath ref;
    ref.file = file;
    ref.sector = s;
    ref.sectorId = m.SectorID[s];
    return ref;
}
EntryPath opRef(const OvDataModel& m, int file, int s, int o) {
    EntryPath ref = sectorRef(m, file, s);
    ref.op = o;
    ref.opId = m.OpsID[s][o];
    return ref;
}
EntryPath battleRef(const OvDataModel& m, int file, int s, int o, int b) {
    EntryPath ref = opRef(m, file, s, o);
    ref.battle = b;
    ref.battleId = m.BatID[s][o][b];
    return ref;
}

// Appends a finding to `out`; both checkers report through it.
Finding& addFinding(std::vector<Finding>& out, Severity severity, const char* code, const EntryPath& where,
                    std::string message, std::optional<EntryPath> counterpart) {
    Finding& f = out.emplace_back();
    f.severity = severity;
    f.code = code;
    f.where = where;
    f.message = std::move(message);
    f.counterpart = std::move(counterpart);
    return f;
}

// Collects the findings of one file.
class FileChecker {
public:
    FileChecker(const OvDataModel& m, int file, std::vector<Finding>& out) : m_(m), file_(file), out_(out) {}

    void run() {
        fileRules();
        const int sectors = used(m_.OvNumberOfSectors);
        for (int s = 0; s < sectors; ++s) {
            const EntryPath sector = sectorRef(m_, file_, s);
            entryRules(sector, m_.SectorName[s], m_.SectorXY[s], expectedSectorId(s));
            countRule(sector, m_.SectorNumberOfOps[s], "ops");
            const int ops = used(m_.SectorNumberOfOps[s]);
            const int gameSector = file_ >= 1 ? file_ : s + 1;
            if (ops > rules::gameOpsLimit(gameSector))
                add(Severity::Warning, "ops-per-sector", sector,
                    std::to_string(ops) + " ops in this sector; the game's " + sectorWords(gameSector) + " " +
                        std::to_string(rules::gameOpsLimit(gameSector)) +
                        ", more are untried and upset the screens' layout");
            for (int o = 0; o < ops; ++o) {
                const EntryPath op = opRef(m_, file_, s, o);
                entryRules(op, m_.OpsName[s][o], m_.OpsXY[s][o], std::int64_t{m_.SectorID[s]} * 10 + o);
                countRule(op, m_.OpsNumberOfBattles[s][o], "battles");
                const int battles = used(m_.OpsNumberOfBattles[s][o]);
                if (battles > rules::kMaxBattlesPerOp)
                    add(Severity::Error, "battles-per-op", op,
                        std::to_string(battles) +
                            " battles in this op; the PC version of the game crashes with more than " +
                            std::to_string(rules::kMaxBattlesPerOp));
                for (int b = 0; b < battles; ++b)
                    entryRules(battleRef(m_, file_, s, o, b), m_.BatName[s][o][b], m_.BatXY[s][o][b],
                               std::int64_t{m_.OpsID[s][o]} * 10 + b);
            }
        }
        duplicateIds();
    }

private:
    static std::string sectorWords(int gameSector) {
        return gameSector <= rules::kGameSectors ? "sector " + std::to_string(gameSector) + " has"
                                                 : "sectors have at most";
    }

    std::optional<std::int64_t> expectedSectorId(int s) const {
        if (s == 0) // renumbering starts from a first ID of 1..9
            return m_.SectorID[0] >= rules::kFirstSectorIdChoice &&
                           m_.SectorID[0] <= rules::kLastSectorIdChoice
                       ? std::optional<std::int64_t>()
                       : std::optional<std::int64_t>(rules::kFirstSectorIdChoice);
        return std::int64_t{m_.SectorID[0]} + s;
    }

    void add(Severity severity, const char* code, const EntryPath& where, std::string message,
             std::optional<EntryPath> counterpart = std::nullopt) {
        addFinding(out_, severity, code, where, std::move(message), std::move(counterpart));
    }

    void countRule(const EntryPath& where, std::int32_t count, const char* what) {
        if (std::string problem = rules::countProblem(count, what); !problem.empty())
            add(Severity::Error, "count-range", where, problem + "; the file cannot hold them");
    }

    void fileRules() {
        EntryPath file;
        file.file = file_;
        const int sectors = m_.OvNumberOfSectors;
        countRule(file, sectors, "sectors");
        if (file_ >= 1) {
            if (sectors != 1)
                add(Severity::Warning, "one-sector-per-file", file,
                    fileName(file_) + " holds " + std::to_string(sectors) +
                        " sectors; every file but OvData0 should hold only its own sector");
        } else if (sectors > rules::kGameSectors) {
            add(Severity::Warning, "sectors-per-file", file,
                std::to_string(sectors) + " sectors; the game has " + std::to_string(rules::kGameSectors) +
                    ", more in its operation and campaign definitions have never been tried");
        }
        pictureRule(file);
        const std::int32_t maps = m_.NumberOfAllBattles();
        if (maps > rules::kMaxMaps)
            add(Severity::Warning, "maps-in-total", file,
                std::to_string(maps) + " battles, each on a map of its own; the game handles at most " +
                    std::to_string(rules::kMaxMaps) + " maps at run time");
    }

    void pictureRule(const EntryPath& file) {
        const std::int32_t id = m_.OvResourceID;
        const std::string picture = "picture " + std::to_string(id);
        if (id == rules::kAboutPictureId) {
            add(Severity::Warning, "picture-id", file, picture + " is the game's About screen, not a map");
            return;
        }
        if (id == rules::kPatternPictureId) {
            add(Severity::Warning, "picture-id", file,
                picture + " is the background pattern of 'Intrface.brm', not a map");
            return;
        }
        if (!rules::isMapPictureId(id)) {
            add(Severity::Warning, "picture-id", file,
                picture + " is none of the map pictures " +
                    rules::rangeText(rules::kFirstPictureId, rules::kLastPictureId));
            return;
        }
        if (file_ < 0)
            return;
        const std::optional<std::int32_t> expected = rules::expectedPictureId(file_);
        if (expected && *expected == id)
            return;
        if (file_ == rules::kGameSectors + 1) {
            if (id >= rules::kFirstExtensionPictureId)
                add(Severity::Note, "picture-id", file,
                    picture + "; " + std::to_string(*expected) + " is the best choice for " +
                        fileName(file_));
            else
                add(Severity::Warning, "picture-id", file,
                    picture + " is the game's map for " + fileName(id - rules::kOverviewPictureId) + "; " +
                        std::to_string(*expected) + " is the best choice for " + fileName(file_));
            return;
        }
        if (expected) {
            add(Severity::Warning, "picture-id", file,
                picture + "; the game's value for " + fileName(file_) + " is " + std::to_string(*expected));
            return;
        }
        if (id < rules::kFirstExtensionPictureId) // OvData5..9 on one of the game's own maps
            add(Severity::Warning, "picture-id", file,
                picture + " is the game's map for " + fileName(id - rules::kOverviewPictureId) +
                    "; an added file needs a picture of its own from " +
                    rules::rangeText(rules::kFirstExtensionPictureId, rules::kLastPictureId));
    }

    void entryRules(const EntryPath& where, const std::string& name, const Rect& r,
                    std::optional<std::int64_t> expectedId) {
        const std::string_view level = levelName(where);
        if (name.empty())
            add(Severity::Warning, "empty-name", where, "the " + std::string(level) + " has no name");
        else if (name.find('\0') != std::string::npos)
            add(Severity::Warning, "name-zero-byte", where,
                "the name holds a zero byte; the file keeps only what stands before it");
        else if (name.size() > rules::kMaxNameBytes)
            add(Severity::Warning, "name-too-long", where,
                "the name has " + std::to_string(name.size()) + " characters; saving keeps the first " +
                    std::to_string(rules::kMaxNameBytes));

        const std::int32_t id = where.depth() == 1   ? where.sectorId
                                : where.depth() == 2 ? where.opId
                                                     : where.battleId;
        if (expectedId && *expectedId != id)
            add(Severity::Note, "id-numbering", where,
                "ID " + std::to_string(id) + "; renumbering gives " + std::to_string(*expectedId));

        rectRules(where, r);
    }

    void rectRules(const EntryPath& where, const Rect& r) {
        for (const std::int32_t c : r) {
            if (std::string problem = rules::coordinateProblem(c); !problem.empty()) {
                add(Severity::Error, "coordinate-range", where, problem + "; the file cannot hold it");
                return;
            }
        }
        if (r[0] == 0 || r[1] == 0 || r[2] == 0 || r[3] == 0) {
            add(Severity::Note, "rect-not-drawn", where,
                r == Rect{}
                    ? std::string("no rectangle set, so nothing is drawn")
                    : "rectangle " + rectText(r) + " has a coordinate 0 (not set), so it is not drawn");
            return;
        }
        const bool outside = std::any_of(r.begin(), r.end(), [](std::int32_t c) { return c < 0; }) ||
                             r[0] >= rules::kMapWidth || r[2] >= rules::kMapWidth ||
                             r[1] >= rules::kMapHeight || r[3] >= rules::kMapHeight;
        if (outside)
            add(Severity::Warning, "rect-outside-map", where,
                "rectangle " + rectText(r) + " reaches outside the " + std::to_string(rules::kMapWidth) +
                    " x " + std::to_string(rules::kMapHeight) + " map");
        if (r[2] < r[0] || r[3] < r[1])
            add(Severity::Warning, "rect-reversed", where,
                "rectangle " + rectText(r) + " has its corners reversed (" +
                    (r[2] < r[0] ? "x2 < x1" : "y2 < y1") + "); the game may not draw it");
    }

    // An ID used twice at one level: among all sectors, all ops or all battles of the file. The
    // later entry is reported, pointing at the first.
    void duplicateIds() {
        std::vector<std::pair<std::int32_t, EntryPath>> sectors, ops, battles;
        for (int s = 0; s < used(m_.OvNumberOfSectors); ++s) {
            sectors.emplace_back(m_.SectorID[s], sectorRef(m_, file_, s));
            for (int o = 0; o < used(m_.SectorNumberOfOps[s]); ++o) {
                ops.emplace_back(m_.OpsID[s][o], opRef(m_, file_, s, o));
                for (int b = 0; b < used(m_.OpsNumberOfBattles[s][o]); ++b)
                    battles.emplace_back(m_.BatID[s][o][b], battleRef(m_, file_, s, o, b));
            }
        }
        for (auto* level : {&sectors, &ops, &battles}) {
            // Stable, so that within one ID the entries stay in tree order.
            std::stable_sort(level->begin(), level->end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            std::size_t first = 0;
            for (std::size_t i = 1; i < level->size(); ++i) {
                if ((*level)[i].first != (*level)[first].first) {
                    first = i;
                    continue;
                }
                const EntryPath& at = (*level)[i].second;
                const EntryPath& earlier = (*level)[first].second;
                add(Severity::Error, "duplicate-id", at,
                    std::string(levelName(at)) + " ID " +
                        std::to_string(at.depth() == 1   ? at.sectorId
                                       : at.depth() == 2 ? at.opId
                                                         : at.battleId) +
                        " is used already by " + quotedName(nameOf(earlier)) + ", " + positionText(earlier),
                    earlier);
            }
        }
    }

    const std::string& nameOf(const EntryPath& r) const {
        return r.depth() == 1   ? m_.SectorName[r.sector]
               : r.depth() == 2 ? m_.OpsName[r.sector][r.op]
                                : m_.BatName[r.sector][r.op][r.battle];
    }

    // "sector 2 of the file", "op 1 of sector 2", "battle 1 of op 2/20" (positions from 1).
    static std::string positionText(const EntryPath& r) {
        if (r.depth() == 1)
            return "sector " + std::to_string(r.sector + 1) + " of the file";
        if (r.depth() == 2)
            return "op " + std::to_string(r.op + 1) + " of sector " + std::to_string(r.sectorId);
        return "battle " + std::to_string(r.battle + 1) + " of op " + std::to_string(r.sectorId) + "/" +
               std::to_string(r.opId);
    }

    const OvDataModel& m_;
    int file_;
    std::vector<Finding>& out_;
};

// ---- set rules ------------------------------------------------------------------------------

int findSector(const OvDataModel& m, std::int32_t id) {
    for (int s = 0; s < used(m.OvNumberOfSectors); ++s)
        if (m.SectorID[s] == id)
            return s;
    return -1;
}
int findOp(const OvDataModel& m, int s, std::int32_t id) {
    for (int o = 0; o < used(m.SectorNumberOfOps[s]); ++o)
        if (m.OpsID[s][o] == id)
            return o;
    return -1;
}
int findBattle(const OvDataModel& m, int s, int o, std::int32_t id) {
    for (int b = 0; b < used(m.OpsNumberOfBattles[s][o]); ++b)
        if (m.BatID[s][o][b] == id)
            return b;
    return -1;
}

bool flagsEqual(const std::string& a, const std::string& b) {
    return flagsText(a) == flagsText(b);
}

class SetChecker {
public:
    SetChecker(const OvDataModel& overview, const OvDataModel& file, int number, std::vector<Finding>& out)
        : o_(overview), n_(file), number_(number), out_(out),
          compareRects_(overview.OvResourceID == file.OvResourceID) {}

    void run() {
        for (int s = 0; s < used(n_.OvNumberOfSectors); ++s) {
            const EntryPath here = sectorRef(n_, number_, s);
            const int s0 = findSector(o_, n_.SectorID[s]);
            if (s0 < 0) {
                EntryPath file;
                file.file = 0;
                missing(here, file, "OvData0 has no sector " + std::to_string(n_.SectorID[s]));
                continue;
            }
            const EntryPath there = sectorRef(o_, 0, s0);
            fields(here, there, n_.SectorName[s], o_.SectorName[s0], n_.SectorXY[s], o_.SectorXY[s0], nullptr,
                   nullptr);
            if (s == 0)
                order(here, s0);
            for (int o = 0; o < used(n_.SectorNumberOfOps[s]); ++o) {
                const EntryPath opHere = opRef(n_, number_, s, o);
                const int o0 = findOp(o_, s0, n_.OpsID[s][o]);
                if (o0 < 0) {
                    missing(opHere, there,
                            "OvData0 has no op " + std::to_string(n_.OpsID[s][o]) + " in its sector " +
                                std::to_string(n_.SectorID[s]));
                    continue;
                }
                const EntryPath opThere = opRef(o_, 0, s0, o0);
                fields(opHere, opThere, n_.OpsName[s][o], o_.OpsName[s0][o0], n_.OpsXY[s][o],
                       o_.OpsXY[s0][o0], nullptr, nullptr);
                for (int b = 0; b < used(n_.OpsNumberOfBattles[s][o]); ++b) {
                    const EntryPath batHere = battleRef(n_, number_, s, o, b);
                    const int b0 = findBattle(o_, s0, o0, n_.BatID[s][o][b]);
                    if (b0 < 0) {
                        missing(batHere, opThere,
                                "OvData0 has no battle " + std::to_string(n_.BatID[s][o][b]) + " in its op " +
                                    idPathText(opThere));
                        continue;
                    }
                    fields(batHere, battleRef(o_, 0, s0, o0, b0), n_.BatName[s][o][b], o_.BatName[s0][o0][b0],
                           n_.BatXY[s][o][b], o_.BatXY[s0][o0][b0], &n_.BatTail[s][o][b],
                           &o_.BatTail[s0][o0][b0]);
                }
                lacking(opHere, s0, o0, s, o);
            }
            lacking(here, s0, s);
        }
    }

private:
    Finding& add(Severity severity, const char* code, const EntryPath& where, std::string message,
                 std::optional<EntryPath> counterpart) {
        return addFinding(out_, severity, code, where, std::move(message), std::move(counterpart));
    }

    void missing(const EntryPath& here, const EntryPath& parentThere, std::string message) {
        Finding& f = add(Severity::Error, "missing-in-overview", here, std::move(message), parentThere);
        f.canCopyToOverview = true;
        f.syncPart = SyncPart::Subtree;
    }

    void differs(const char* code, SyncPart part, const EntryPath& here, const EntryPath& there,
                 std::string message) {
        Finding& f = add(Severity::Warning, code, here, std::move(message), there);
        f.canCopyToOverview = true;
        f.canTakeFromOverview = true;
        f.syncPart = part;
    }

    void fields(const EntryPath& here, const EntryPath& there, const std::string& name,
                const std::string& name0, const Rect& r, const Rect& r0, const std::string* tail,
                const std::string* tail0) {
        if (name != name0)
            differs("name-differs", SyncPart::Name, here, there,
                    between("name ", name, " here, ", name0, " in OvData0", appendQuoted));
        if (compareRects_ && r != r0)
            differs("rect-differs", SyncPart::Rectangle, here, there,
                    between("rectangle ", r, " here, ", r0, " in OvData0", appendRect));
        if (tail && !flagsEqual(*tail, *tail0))
            differs("flags-differ", SyncPart::Flags, here, there,
                    "flags (LZ-Bridge-Road) " + flagsText(*tail) + " here, " + flagsText(*tail0) +
                        " in OvData0");
    }

    // OvDataN's sector should be sector N of OvData0.
    void order(const EntryPath& here, int s0) {
        const int wanted = number_ - 1;
        if (s0 == wanted)
            return;
        std::optional<EntryPath> counterpart;
        std::string message = "this is sector " + std::to_string(s0 + 1) + " of OvData0; " +
                              fileName(number_) + " should hold its sector " + std::to_string(number_);
        if (wanted < used(o_.OvNumberOfSectors)) {
            counterpart = sectorRef(o_, 0, wanted);
            message += " (ID " + std::to_string(o_.SectorID[wanted]) + ")";
        } else {
            message += ", and OvData0 has only " + std::to_string(used(o_.OvNumberOfSectors));
        }
        add(Severity::Warning, "sector-order", here, std::move(message), counterpart);
    }

    void lackingEntry(const EntryPath& here, const EntryPath& there, const std::string& name) {
        Finding& f = add(Severity::Warning, "missing-in-sector-file", here,
                         fileName(number_) + " lacks OvData0's " + std::string(levelName(there)) + " " +
                             idPathText(there) + " " + quotedName(name),
                         there);
        f.canTakeFromOverview = true;
        f.syncPart = SyncPart::Subtree;
    }

    // The ops of OvData0's sector s0 that OvDataN's sector s lacks.
    void lacking(const EntryPath& here, int s0, int s) {
        for (int o0 = 0; o0 < used(o_.SectorNumberOfOps[s0]); ++o0)
            if (findOp(n_, s, o_.OpsID[s0][o0]) < 0)
                lackingEntry(here, opRef(o_, 0, s0, o0), o_.OpsName[s0][o0]);
    }
    // The battles of OvData0's op (s0, o0) that OvDataN's op (s, o) lacks.
    void lacking(const EntryPath& here, int s0, int o0, int s, int o) {
        for (int b0 = 0; b0 < used(o_.OpsNumberOfBattles[s0][o0]); ++b0)
            if (findBattle(n_, s, o, o_.BatID[s0][o0][b0]) < 0)
                lackingEntry(here, battleRef(o_, 0, s0, o0, b0), o_.BatName[s0][o0][b0]);
    }

    const OvDataModel& o_;
    const OvDataModel& n_;
    int number_;
    std::vector<Finding>& out_;
    bool compareRects_;
};

int severityRank(Severity s) {
    return s == Severity::Error ? 0 : s == Severity::Warning ? 1 : 2;
}

} // namespace

std::vector<Finding> CheckFile(const OvDataModel& model, int fileNumber) {
    std::vector<Finding> findings;
    FileChecker(model, fileNumber, findings).run();
    SortFindings(findings);
    return findings;
}

std::vector<Finding> CheckSetRules(const OvDataSet& set) {
    std::vector<Finding> findings;
    if (!set[0])
        return findings;
    for (int n = 1; n < kFileNumbers; ++n)
        if (set[static_cast<std::size_t>(n)])
            SetChecker(*set[0], *set[static_cast<std::size_t>(n)], n, findings).run();
    SortFindings(findings);
    return findings;
}

std::vector<Finding> CheckSet(const OvDataSet& set) {
    std::vector<Finding> findings;
    findings.reserve(256);
    for (int n = 0; n < kFileNumbers; ++n)
        if (set[static_cast<std::size_t>(n)])
            FileChecker(*set[static_cast<std::size_t>(n)], n, findings).run();
    if (set[0])
        for (int n = 1; n < kFileNumbers; ++n)
            if (set[static_cast<std::size_t>(n)])
                SetChecker(*set[0], *set[static_cast<std::size_t>(n)], n, findings).run();
    SortFindings(findings);
    return findings;
}

void SortFindings(std::vector<Finding>& findings) {
    // Sorted as (key, index) pairs, then each finding moved once: a set of ten full files has
    // tens of thousands of findings, and moving them through a merge sort costs more than
    // finding them.
    const auto level = [](int position) {
        return static_cast<std::uint32_t>(std::clamp(position + 1, 0, 15));
    };
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order(findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const EntryPath& w = findings[i].where;
        order[i] = {(level(w.file) << 18) | (level(w.sector) << 14) | (level(w.op) << 10) |
                        (level(w.battle) << 6) |
                        static_cast<std::uint32_t>(severityRank(findings[i].severity)),
                    static_cast<std::uint32_t>(i)};
    }
    std::stable_sort(order.begin(), order.end(), [&findings](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        const Finding& fa = findings[a.second];
        const Finding& fb = findings[b.second];
        return std::tie(fa.code, fa.message) < std::tie(fb.code, fb.message);
    });
    // Moved into place cycle by cycle: no second buffer of findings.
    std::vector<bool> placed(order.size(), false);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start] || order[start].second == start)
            continue;
        Finding held = std::move(findings[start]);
        std::size_t to = start;
        for (std::size_t from = order[to].second; from != start; from = order[to].second) {
            findings[to] = std::move(findings[from]);
            placed[to] = true;
            to = from;
        }
        findings[to] = std::move(held);
        placed[to] = true;
    }
}

FindingCounts CountFindings(const std::vector<Finding>& findings) {
    FindingCounts counts;
    for (const Finding& f : findings)
        (f.severity == Severity::Error     ? counts.errors
         : f.severity == Severity::Warning ? counts.warnings
                                           : counts.notes)++;
    return counts;
}

std::string CountsText(const FindingCounts& c) {
    std::string text;
    const auto part = [&text](int n, const char* one, const char* many) {
        if (n != 0)
            text += (text.empty() ? "" : ", ") + std::to_string(n) + " " + (n == 1 ? one : many);
    };
    part(c.errors, "error", "errors");
    part(c.warnings, "warning", "warnings");
    part(c.notes, "note", "notes");
    return text.empty() ? "no findings" : text;
}

} // namespace ov
