#include "ovdata/OvDataDiff.h"

#include "ovdata/Latin1Text.h"

#include <algorithm>
#include <map>

namespace ov {

namespace {

int used(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, kCapacity);
}

std::string quoted(const std::string& bytes) {
    return "'" + latin1ToUtf8(bytes) + "'";
}

std::string rectText(const Rect& r) {
    return "[" + std::to_string(r[0]) + ", " + std::to_string(r[1]) + ", " + std::to_string(r[2]) + ", " +
           std::to_string(r[3]) + "]";
}

// The raw bytes in the table's "1-0-1" form; a short tail counts its missing bytes as 0, as the
// writer stores them.
std::string flagsText(const std::string& tail) {
    std::string text;
    for (int k = 0; k < kTailLength; ++k) {
        const auto byte = static_cast<std::size_t>(k) < tail.size()
                              ? static_cast<unsigned char>(tail[static_cast<std::size_t>(k)])
                              : 0u;
        text += (k ? "-" : "") + std::to_string(byte);
    }
    return text;
}

// For each entry of `a`, the index of its match in `b` or -1: the k-th occurrence of an ID in
// `a` matches its k-th occurrence in `b`.
std::vector<int> match(const std::vector<std::int32_t>& a, const std::vector<std::int32_t>& b) {
    std::map<std::int32_t, std::vector<int>> positions;
    for (std::size_t i = 0; i < b.size(); ++i)
        positions[b[i]].push_back(static_cast<int>(i));
    std::map<std::int32_t, std::size_t> taken;
    std::vector<int> result(a.size(), -1);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto found = positions.find(a[i]);
        std::size_t& k = taken[a[i]];
        if (found != positions.end() && k < found->second.size())
            result[i] = found->second[k++];
    }
    return result;
}

std::string idList(const std::vector<std::int32_t>& ids) {
    std::string text;
    for (std::size_t i = 0; i < ids.size(); ++i)
        text += (i ? ", " : "") + std::to_string(ids[i]);
    return text;
}

class Differ {
public:
    Differ(const OvDataModel& a, const OvDataModel& b, std::vector<Difference>& out)
        : a_(a), b_(b), out_(out) {}

    void run() {
        EntryRef file;
        if (a_.OvResourceID != b_.OvResourceID)
            changed(file, "picture ID", std::to_string(a_.OvResourceID), std::to_string(b_.OvResourceID));
        std::vector<std::int32_t> ia, ib;
        for (int s = 0; s < used(a_.OvNumberOfSectors); ++s)
            ia.push_back(a_.SectorID[s]);
        for (int s = 0; s < used(b_.OvNumberOfSectors); ++s)
            ib.push_back(b_.SectorID[s]);
        const std::vector<int> m = match(ia, ib);
        for (int s = 0; s < static_cast<int>(m.size()); ++s) {
            const EntryRef ref = sector(a_, s);
            if (m[static_cast<std::size_t>(s)] < 0) {
                entry(Difference::Kind::Removed, ref, a_, s, -1, -1);
                continue;
            }
            const int t = m[static_cast<std::size_t>(s)];
            fields(ref, a_.SectorName[s], b_.SectorName[t], a_.SectorXY[s], b_.SectorXY[t]);
            ops(s, t);
        }
        added(ib, m, [&](int t) { entry(Difference::Kind::Added, sector(b_, t), b_, t, -1, -1); });
        order(file, "sectors", ia, ib, m);
    }

private:
    static EntryRef sector(const OvDataModel& m, int s) {
        EntryRef r;
        r.sector = s;
        r.sectorId = m.SectorID[s];
        return r;
    }
    static EntryRef op(const OvDataModel& m, int s, int o) {
        EntryRef r = sector(m, s);
        r.op = o;
        r.opId = m.OpsID[s][o];
        return r;
    }
    static EntryRef battle(const OvDataModel& m, int s, int o, int b) {
        EntryRef r = op(m, s, o);
        r.battle = b;
        r.battleId = m.BatID[s][o][b];
        return r;
    }

    void ops(int s, int t) {
        std::vector<std::int32_t> ia, ib;
        for (int o = 0; o < used(a_.SectorNumberOfOps[s]); ++o)
            ia.push_back(a_.OpsID[s][o]);
        for (int o = 0; o < used(b_.SectorNumberOfOps[t]); ++o)
            ib.push_back(b_.OpsID[t][o]);
        const std::vector<int> m = match(ia, ib);
        for (int o = 0; o < static_cast<int>(m.size()); ++o) {
            const EntryRef ref = op(a_, s, o);
            if (m[static_cast<std::size_t>(o)] < 0) {
                entry(Difference::Kind::Removed, ref, a_, s, o, -1);
                continue;
            }
            const int u = m[static_cast<std::size_t>(o)];
            fields(ref, a_.OpsName[s][o], b_.OpsName[t][u], a_.OpsXY[s][o], b_.OpsXY[t][u]);
            battles(s, o, t, u);
        }
        added(ib, m, [&](int u) { entry(Difference::Kind::Added, op(b_, t, u), b_, t, u, -1); });
        order(sector(a_, s), "ops", ia, ib, m);
    }

    void battles(int s, int o, int t, int u) {
        std::vector<std::int32_t> ia, ib;
        for (int b = 0; b < used(a_.OpsNumberOfBattles[s][o]); ++b)
            ia.push_back(a_.BatID[s][o][b]);
        for (int b = 0; b < used(b_.OpsNumberOfBattles[t][u]); ++b)
            ib.push_back(b_.BatID[t][u][b]);
        const std::vector<int> m = match(ia, ib);
        for (int b = 0; b < static_cast<int>(m.size()); ++b) {
            const EntryRef ref = battle(a_, s, o, b);
            if (m[static_cast<std::size_t>(b)] < 0) {
                entry(Difference::Kind::Removed, ref, a_, s, o, b);
                continue;
            }
            const int v = m[static_cast<std::size_t>(b)];
            fields(ref, a_.BatName[s][o][b], b_.BatName[t][u][v], a_.BatXY[s][o][b], b_.BatXY[t][u][v]);
            const std::string fa = flagsText(a_.BatTail[s][o][b]);
            const std::string fb = flagsText(b_.BatTail[t][u][v]);
            if (fa != fb)
                changed(ref, "flags", fa, fb);
        }
        added(ib, m, [&](int v) { entry(Difference::Kind::Added, battle(b_, t, u, v), b_, t, u, v); });
        order(op(a_, s, o), "battles", ia, ib, m);
    }

    template <typename AddFn>
    static void added(const std::vector<std::int32_t>& ib, const std::vector<int>& m, AddFn add) {
        std::vector<bool> matched(ib.size(), false);
        for (const int t : m)
            if (t >= 0)
                matched[static_cast<std::size_t>(t)] = true;
        for (std::size_t t = 0; t < ib.size(); ++t)
            if (!matched[t])
                add(static_cast<int>(t));
    }

    // The common entries in a's order against b's order.
    void order(const EntryRef& parent, const char* what, const std::vector<std::int32_t>& ia,
               const std::vector<std::int32_t>& ib, const std::vector<int>& m) {
        std::vector<std::int32_t> inA, inB;
        std::vector<int> bPositions;
        for (std::size_t i = 0; i < m.size(); ++i)
            if (m[i] >= 0) {
                inA.push_back(ia[i]);
                bPositions.push_back(m[i]);
            }
        if (std::is_sorted(bPositions.begin(), bPositions.end()))
            return;
        std::sort(bPositions.begin(), bPositions.end());
        for (const int t : bPositions)
            inB.push_back(ib[static_cast<std::size_t>(t)]);
        Difference& d = out_.emplace_back();
        d.kind = Difference::Kind::Order;
        d.where = parent;
        d.field = what;
        d.before = idList(inA);
        d.after = idList(inB);
    }

    void changed(const EntryRef& where, const char* field, std::string before, std::string after) {
        Difference& d = out_.emplace_back();
        d.kind = Difference::Kind::Changed;
        d.where = where;
        d.field = field;
        d.before = std::move(before);
        d.after = std::move(after);
    }

    void fields(const EntryRef& where, const std::string& na, const std::string& nb, const Rect& ra,
                const Rect& rb) {
        if (na != nb)
            changed(where, "name", quoted(na), quoted(nb));
        if (ra != rb)
            changed(where, "rect", rectText(ra), rectText(rb));
    }

    void entry(Difference::Kind kind, const EntryRef& where, const OvDataModel& m, int s, int o, int b) {
        Difference& d = out_.emplace_back();
        d.kind = kind;
        d.where = where;
        if (b >= 0) {
            d.summary = quoted(m.BatName[s][o][b]) + " " + rectText(m.BatXY[s][o][b]) + " flags " +
                        flagsText(m.BatTail[s][o][b]);
        } else if (o >= 0) {
            const int n = used(m.OpsNumberOfBattles[s][o]);
            d.summary = quoted(m.OpsName[s][o]) + " " + rectText(m.OpsXY[s][o]) + ", " + std::to_string(n) +
                        (n == 1 ? " battle" : " battles");
        } else {
            const int n = used(m.SectorNumberOfOps[s]);
            d.summary = quoted(m.SectorName[s]) + " " + rectText(m.SectorXY[s]) + ", " + std::to_string(n) +
                        (n == 1 ? " op" : " ops");
        }
    }

    const OvDataModel& a_;
    const OvDataModel& b_;
    std::vector<Difference>& out_;
};

} // namespace

std::vector<Difference> DiffModels(const OvDataModel& a, const OvDataModel& b) {
    std::vector<Difference> out;
    Differ(a, b, out).run();
    return out;
}

std::string DifferenceLine(const Difference& d) {
    const std::string path = idPathText(d.where);
    switch (d.kind) {
    case Difference::Kind::Changed:
        return "~ " + path + " " + d.field + ": " + d.before + " -> " + d.after;
    case Difference::Kind::Removed:
        return "- " + path + " " + std::string(levelName(d.where)) + " " + d.summary;
    case Difference::Kind::Added:
        return "+ " + path + " " + std::string(levelName(d.where)) + " " + d.summary;
    case Difference::Kind::Order:
        return "~ " + path + " order of " + d.field + ": " + d.before + " -> " + d.after;
    }
    return {};
}

} // namespace ov
