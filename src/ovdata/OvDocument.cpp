#include "ovdata/OvDocument.h"

#include <algorithm>

namespace ov {

namespace {

// Counts index fixed-size arrays; a count outside 0..11 (only a model built by hand can hold
// one) must never make a walk leave them.
int clampCount(std::int32_t n) {
    return std::clamp<std::int32_t>(n, 0, kCapacity);
}
bool inAddRange(int index) {
    return index >= 0 && index < kAddLimit;
}

enum NumberField : std::uint8_t {
    ResourceID,
    SectorCount,
    SectorIDField,
    SectorOps,
    SectorRect,
    OpsIDField,
    OpsBattles,
    OpsRect,
    BatIDField,
    BatRect
};
enum TextField : std::uint8_t { SectorNameField, OpsNameField, BatNameField, BatTailField };

std::int32_t& numberAt(OvDataModel& m, const OvEdit::Slot& at) {
    switch (at.field) {
    case ResourceID:
        return m.OvResourceID;
    case SectorCount:
        return m.OvNumberOfSectors;
    case SectorIDField:
        return m.SectorID[at.s];
    case SectorOps:
        return m.SectorNumberOfOps[at.s];
    case SectorRect:
        return m.SectorXY[at.s][at.k];
    case OpsIDField:
        return m.OpsID[at.s][at.o];
    case OpsBattles:
        return m.OpsNumberOfBattles[at.s][at.o];
    case OpsRect:
        return m.OpsXY[at.s][at.o][at.k];
    case BatIDField:
        return m.BatID[at.s][at.o][at.b];
    default:
        return m.BatXY[at.s][at.o][at.b][at.k];
    }
}

std::string& textAt(OvDataModel& m, const OvEdit::Slot& at) {
    switch (at.field) {
    case SectorNameField:
        return m.SectorName[at.s];
    case OpsNameField:
        return m.OpsName[at.s][at.o];
    case BatNameField:
        return m.BatName[at.s][at.o][at.b];
    default:
        return m.BatTail[at.s][at.o][at.b];
    }
}

OvEdit::Slot slot(std::uint8_t field, int s = 0, int o = 0, int b = 0, int k = 0) {
    return {field, static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(o), static_cast<std::uint8_t>(b),
            static_cast<std::uint8_t>(k)};
}

// A tail as the table shows it and reads it back: three bytes, each 0 or 1.
std::string shownTail(const std::string& tail) {
    std::string shown(kTailLength, '\0');
    for (std::size_t k = 0; k < shown.size() && k < tail.size(); ++k)
        shown[k] = tail[k] != '\0' ? '\1' : '\0';
    return shown;
}

const std::string kNoText;
const Rect kNoRect{};

} // namespace

// Every write of an operation goes through here, so the edit holds each value it overwrote.
class OvDocument::Writer {
public:
    Writer(OvDataModel& model, OvEdit& edit) : m_model(model), m_edit(edit) {}

    void number(const OvEdit::Slot& at, std::int32_t value) {
        std::int32_t& place = numberAt(m_model, at);
        if (place == value)
            return;
        m_edit.m_numbers.push_back({at, place, value});
        place = value;
    }
    void rect(std::uint8_t field, int s, int o, int b, const Rect& value) {
        for (int k = 0; k < 4; ++k)
            number(slot(field, s, o, b, k), value[static_cast<std::size_t>(k)]);
    }
    void text(const OvEdit::Slot& at, const std::string& value) {
        std::string& place = textAt(m_model, at);
        if (place == value)
            return;
        m_edit.m_texts.push_back({at, place, value});
        place = value;
    }
    // The table's read-back, which ran before every structural edit: tails as shown.
    void showTails() {
        const OvDataModel& m = m_model;
        for (int s = 0; s < clampCount(m.OvNumberOfSectors); ++s)
            for (int o = 0; o < clampCount(m.SectorNumberOfOps[s]); ++o)
                for (int b = 0; b < clampCount(m.OpsNumberOfBattles[s][o]); ++b)
                    text(slot(BatTailField, s, o, b), shownTail(m.BatTail[s][o][b]));
    }

private:
    OvDataModel& m_model;
    OvEdit& m_edit;
};

std::size_t OvEdit::memoryUse() const {
    std::size_t bytes =
        sizeof(*this) + m_numbers.capacity() * sizeof(NumberChange) + m_texts.capacity() * sizeof(TextChange);
    for (const TextChange& change : m_texts)
        for (const std::string* text : {&change.before, &change.after})
            if (text->capacity() > std::string().capacity()) // beyond the in-place buffer
                bytes += text->capacity() + 1;
    return bytes;
}

namespace {
template <typename Change> void fold(std::vector<Change>& into, const std::vector<Change>& later) {
    for (const Change& change : later) {
        // The last write of a slot decides where it ends.
        const auto same =
            std::find_if(into.rbegin(), into.rend(), [&](const Change& c) { return c.at == change.at; });
        if (same == into.rend())
            into.push_back(change);
        else
            same->after = change.after;
    }
    into.erase(std::remove_if(into.begin(), into.end(), [](const Change& c) { return c.before == c.after; }),
               into.end());
}
} // namespace

void OvEdit::append(const OvEdit& later) {
    fold(m_numbers, later.m_numbers);
    fold(m_texts, later.m_texts);
}

OvDocument::OvDocument() = default;

void OvDocument::reset(const OvDataModel& model) {
    *m_model = model;
    rowsChanged();
}

void OvDocument::resetFromScratch(int index) {
    OvDataModel& m = *m_model;
    m.InitProperties();
    m.OvNumberOfSectors = 1;
    m.OvResourceID = 1014 + index;
    m.SectorID[0] = index;
    m.SectorName[0] = "<new sector " + std::to_string(index) + ">";
    rowsChanged();
}

// ---------------------------------------------------------------------------------------------
// rows

const std::vector<EntryRef>& OvDocument::rows() const {
    if (m_rowsValid)
        return m_rows;
    const OvDataModel& m = *m_model;
    m_rows.clear();
    for (int s = 0; s < clampCount(m.OvNumberOfSectors); ++s) {
        m_rows.push_back({s, -1, -1});
        for (int o = 0; o < clampCount(m.SectorNumberOfOps[s]); ++o) {
            m_rows.push_back({s, o, -1});
            for (int b = 0; b < clampCount(m.OpsNumberOfBattles[s][o]); ++b)
                m_rows.push_back({s, o, b});
        }
    }
    m_rowsValid = true;
    return m_rows;
}

int OvDocument::rowCount() const {
    return static_cast<int>(rows().size());
}

EntryRef OvDocument::entryAt(int row) const {
    const auto& all = rows();
    return row >= 0 && row < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(row)] : EntryRef{};
}

int OvDocument::rowOf(const EntryRef& entry) const {
    if (entry.kind() == EntryRef::Kind::None)
        return -1;
    const auto& all = rows();
    const auto found = std::find(all.begin(), all.end(), entry);
    return found == all.end() ? -1 : static_cast<int>(found - all.begin());
}

std::int32_t OvDocument::id(const EntryRef& e) const {
    const OvDataModel& m = *m_model;
    switch (e.kind()) {
    case EntryRef::Kind::Sector:
        return m.SectorID[e.s];
    case EntryRef::Kind::Ops:
        return m.OpsID[e.s][e.o];
    case EntryRef::Kind::Battle:
        return m.BatID[e.s][e.o][e.b];
    default:
        return 0;
    }
}

const std::string& OvDocument::name(const EntryRef& e) const {
    const OvDataModel& m = *m_model;
    switch (e.kind()) {
    case EntryRef::Kind::Sector:
        return m.SectorName[e.s];
    case EntryRef::Kind::Ops:
        return m.OpsName[e.s][e.o];
    case EntryRef::Kind::Battle:
        return m.BatName[e.s][e.o][e.b];
    default:
        return kNoText;
    }
}

const Rect& OvDocument::rect(const EntryRef& e) const {
    const OvDataModel& m = *m_model;
    switch (e.kind()) {
    case EntryRef::Kind::Sector:
        return m.SectorXY[e.s];
    case EntryRef::Kind::Ops:
        return m.OpsXY[e.s][e.o];
    case EntryRef::Kind::Battle:
        return m.BatXY[e.s][e.o][e.b];
    default:
        return kNoRect;
    }
}

const std::string& OvDocument::tail(const EntryRef& e) const {
    return e.kind() == EntryRef::Kind::Battle ? m_model->BatTail[e.s][e.o][e.b] : kNoText;
}

namespace {
// The nearest row at or above `row` whose entry is of `kind`; -1 when there is none.
int rowAtOrAbove(const OvDocument& doc, int row, EntryRef::Kind kind) {
    for (int r = std::min(row, doc.rowCount() - 1); r >= 0; --r)
        if (doc.entryAt(r).kind() == kind)
            return r;
    return -1;
}
} // namespace

int OvDocument::sectorForRow(int row) const {
    if (row <= 0)
        return 0;
    return std::max(entryAt(std::min(row, rowCount() - 1)).s, 0);
}

int OvDocument::opsForRow(int row) const {
    const int opsRow = rowAtOrAbove(*this, row, EntryRef::Kind::Ops);
    return opsRow < 0 ? 0 : entryAt(opsRow).o;
}

bool OvDocument::opsRowInSameSector(int row) const {
    return rowAtOrAbove(*this, row, EntryRef::Kind::Ops) > rowAtOrAbove(*this, row, EntryRef::Kind::Sector);
}

// ---------------------------------------------------------------------------------------------
// edits of one value

OvEdit OvDocument::setName(const EntryRef& e, const std::string& text) {
    OvEdit edit;
    if (rowOf(e) < 0)
        return edit;
    Writer w(*m_model, edit);
    const std::uint8_t field = e.kind() == EntryRef::Kind::Sector ? SectorNameField
                               : e.kind() == EntryRef::Kind::Ops  ? OpsNameField
                                                                  : BatNameField;
    w.text(slot(field, e.s, std::max(e.o, 0), std::max(e.b, 0)), text);
    return edit;
}

OvEdit OvDocument::setRect(const EntryRef& e, const Rect& value) {
    OvEdit edit;
    if (rowOf(e) < 0)
        return edit;
    Writer w(*m_model, edit);
    const std::uint8_t field = e.kind() == EntryRef::Kind::Sector ? SectorRect
                               : e.kind() == EntryRef::Kind::Ops  ? OpsRect
                                                                  : BatRect;
    w.rect(field, e.s, std::max(e.o, 0), std::max(e.b, 0), value);
    return edit;
}

OvEdit OvDocument::setCoordinate(const EntryRef& e, int k, std::int32_t value) {
    if (k < 0 || k > 3)
        return {};
    Rect changed = rect(e);
    changed[static_cast<std::size_t>(k)] = value;
    return setRect(e, changed);
}

OvEdit OvDocument::setFlag(const EntryRef& e, int k, bool on) {
    OvEdit edit;
    if (e.kind() != EntryRef::Kind::Battle || k < 0 || k >= kTailLength || rowOf(e) < 0)
        return edit;
    std::string changed = shownTail(tail(e));
    changed[static_cast<std::size_t>(k)] = on ? '\1' : '\0';
    Writer(*m_model, edit).text(slot(BatTailField, e.s, e.o, e.b), changed);
    return edit;
}

OvEdit OvDocument::setResourceID(std::int32_t value) {
    OvEdit edit;
    Writer(*m_model, edit).number(slot(ResourceID), value);
    return edit;
}

// ---------------------------------------------------------------------------------------------
// structural edits

OvEdit OvDocument::addSector(EntryRef* added) {
    OvEdit edit;
    OvDataModel& m = *m_model;
    const int n = m.OvNumberOfSectors;
    if (n < 0 || n >= kAddLimit)
        return edit;
    Writer w(m, edit);
    w.showTails();
    w.number(slot(SectorCount), n + 1);
    // A new sector's ID follows its position, not the first ID chosen for the file.
    w.number(slot(SectorIDField, n), n + 1);
    w.number(slot(SectorOps, n), 0);
    w.text(slot(SectorNameField, n), "<enter new sector name>");
    rowsChanged();
    if (added)
        *added = {n, -1, -1};
    return edit;
}

OvEdit OvDocument::addOps(int s, EntryRef* added) {
    OvEdit edit;
    OvDataModel& m = *m_model;
    // An ops can only be added to a sector in use: one added past the last sector would be
    // invisible and never saved.
    if (!inAddRange(s) || s >= m.OvNumberOfSectors)
        return edit;
    const int o = m.SectorNumberOfOps[s];
    if (o < 0 || o >= kAddLimit)
        return edit;
    Writer w(m, edit);
    w.showTails();
    w.number(slot(SectorOps, s), o + 1);
    w.number(slot(OpsIDField, s, o), m.SectorID[s] * 10 + o);
    w.text(slot(OpsNameField, s, o), "<enter new ops name");
    w.number(slot(OpsBattles, s, o), 0);
    rowsChanged();
    if (added)
        *added = {s, o, -1};
    return edit;
}

OvEdit OvDocument::addBattle(int s, int o, EntryRef* added) {
    OvEdit edit;
    OvDataModel& m = *m_model;
    if (!inAddRange(s) || !inAddRange(o) || s >= m.OvNumberOfSectors || o >= m.SectorNumberOfOps[s])
        return edit;
    const int b = m.OpsNumberOfBattles[s][o];
    if (b < 0 || b >= kAddLimit)
        return edit;
    Writer w(m, edit);
    w.showTails();
    w.number(slot(OpsBattles, s, o), b + 1);
    w.number(slot(BatIDField, s, o, b), m.OpsID[s][o] * 10 + b);
    w.text(slot(BatNameField, s, o, b), "<enter new battle name");
    w.text(slot(BatTailField, s, o, b), std::string(kTailLength, '\0'));
    rowsChanged();
    if (added)
        *added = {s, o, b};
    return edit;
}

OvEdit OvDocument::deleteBattle(int s, int o, int b) {
    OvEdit edit;
    OvDataModel& m = *m_model;
    if (s < 0 || s >= clampCount(m.OvNumberOfSectors) || o < 0 || o >= clampCount(m.SectorNumberOfOps[s]))
        return edit;
    const int count = clampCount(m.OpsNumberOfBattles[s][o]);
    if (b < 0 || b >= count)
        return edit;
    Writer w(m, edit);
    w.showTails();
    for (int i = b; i < count - 1; ++i) {
        w.text(slot(BatNameField, s, o, i), m.BatName[s][o][i + 1]);
        w.rect(BatRect, s, o, i, m.BatXY[s][o][i + 1]);
        w.text(slot(BatTailField, s, o, i), m.BatTail[s][o][i + 1]);
    }
    w.number(slot(OpsBattles, s, o), count - 1);
    rowsChanged();
    return edit;
}

OvEdit OvDocument::deleteOps(int s, int o) {
    OvEdit edit;
    OvDataModel& m = *m_model;
    if (s < 0 || s >= clampCount(m.OvNumberOfSectors))
        return edit;
    const int count = clampCount(m.SectorNumberOfOps[s]);
    if (o < 0 || o >= count)
        return edit;
    Writer w(m, edit);
    w.showTails();
    for (int i = o; i < count - 1; ++i) {
        w.text(slot(OpsNameField, s, i), m.OpsName[s][i + 1]);
        w.rect(OpsRect, s, i, 0, m.OpsXY[s][i + 1]);
        // The ops keeps the ID of its new position; its battles are renumbered under it.
        for (int b = 0; b < clampCount(m.OpsNumberOfBattles[s][i + 1]); ++b) {
            w.number(slot(BatIDField, s, i, b), m.OpsID[s][i] * 10 + b);
            w.text(slot(BatNameField, s, i, b), m.BatName[s][i + 1][b]);
            w.rect(BatRect, s, i, b, m.BatXY[s][i + 1][b]);
            w.text(slot(BatTailField, s, i, b), m.BatTail[s][i + 1][b]);
        }
        w.number(slot(OpsBattles, s, i), m.OpsNumberOfBattles[s][i + 1]);
    }
    w.number(slot(SectorOps, s), count - 1);
    rowsChanged();
    return edit;
}

OvEdit OvDocument::deleteSector(int s) {
    OvEdit edit;
    OvDataModel& m = *m_model;
    const int count = clampCount(m.OvNumberOfSectors);
    if (s < 0 || s >= count)
        return edit;
    Writer w(m, edit);
    w.showTails();
    for (int i = s; i < count - 1; ++i) {
        // Ops IDs of a moved sector come from its new position (position + 1), not from its
        // SectorID; with the overview's usual numbering (first ID 1) the two agree.
        for (int o = 0; o < clampCount(m.SectorNumberOfOps[i + 1]); ++o) {
            w.number(slot(OpsIDField, i, o), (i + 1) * 10 + o);
            w.text(slot(OpsNameField, i, o), m.OpsName[i + 1][o]);
            w.rect(OpsRect, i, o, 0, m.OpsXY[i + 1][o]);
            for (int b = 0; b < clampCount(m.OpsNumberOfBattles[i + 1][o]); ++b) {
                w.number(slot(BatIDField, i, o, b), m.OpsID[i][o] * 10 + b);
                w.text(slot(BatNameField, i, o, b), m.BatName[i + 1][o][b]);
                w.rect(BatRect, i, o, b, m.BatXY[i + 1][o][b]);
                w.text(slot(BatTailField, i, o, b), m.BatTail[i + 1][o][b]);
            }
            w.number(slot(OpsBattles, i, o), m.OpsNumberOfBattles[i + 1][o]);
        }
        w.text(slot(SectorNameField, i), m.SectorName[i + 1]);
        w.rect(SectorRect, i, 0, 0, m.SectorXY[i + 1]);
        w.number(slot(SectorOps, i), m.SectorNumberOfOps[i + 1]);
    }
    w.number(slot(SectorCount), count - 1);
    rowsChanged();
    return edit;
}

OvEdit OvDocument::renumber(std::int32_t first) {
    OvEdit edit;
    OvDataModel& m = *m_model;
    Writer w(m, edit);
    w.showTails();
    for (int s = 0; s < clampCount(m.OvNumberOfSectors); ++s) {
        w.number(slot(SectorIDField, s), first + s);
        for (int o = 0; o < clampCount(m.SectorNumberOfOps[s]); ++o) {
            w.number(slot(OpsIDField, s, o), m.SectorID[s] * 10 + o);
            for (int b = 0; b < clampCount(m.OpsNumberOfBattles[s][o]); ++b)
                w.number(slot(BatIDField, s, o, b), m.OpsID[s][o] * 10 + b);
        }
    }
    return edit;
}

// ---------------------------------------------------------------------------------------------
// history

void OvDocument::undo(const OvEdit& edit) {
    OvDataModel& m = *m_model;
    for (auto it = edit.m_texts.rbegin(); it != edit.m_texts.rend(); ++it)
        textAt(m, it->at) = it->before;
    for (auto it = edit.m_numbers.rbegin(); it != edit.m_numbers.rend(); ++it)
        numberAt(m, it->at) = it->before;
    rowsChanged();
}

void OvDocument::redo(const OvEdit& edit) {
    OvDataModel& m = *m_model;
    for (const auto& change : edit.m_numbers)
        numberAt(m, change.at) = change.after;
    for (const auto& change : edit.m_texts)
        textAt(m, change.at) = change.after;
    rowsChanged();
}

OvDataModel OvDocument::fileModel() const {
    OvDataModel file = *m_model;
    OvEdit ignored;
    Writer(file, ignored).showTails();
    return file;
}

} // namespace ov
