#pragma once

#include "ovdata/OvDataModel.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ov {

// One entry of the tree by its positions; -1 stands for "none" below the entry's level.
struct EntryRef {
    int s = -1, o = -1, b = -1;

    enum class Kind { None, Sector, Ops, Battle };
    Kind kind() const {
        if (s < 0)
            return Kind::None;
        if (o < 0)
            return Kind::Sector;
        return b < 0 ? Kind::Ops : Kind::Battle;
    }
    bool operator==(const EntryRef&) const = default;
};

// What one edit changed: every value it overwrote, before and after, in the order written.
// Undoing restores the "before" values in reverse order, redoing writes the "after" values
// again, so both are exact for every slot of the model, also the hidden ones beyond a count.
// An edit costs memory in proportion to what it changed, not to the size of the model.
class OvEdit {
public:
    // A place in the model: which field and its indices (unused indices are 0).
    struct Slot {
        std::uint8_t field = 0, s = 0, o = 0, b = 0, k = 0;
        bool operator==(const Slot&) const = default;
    };
    struct NumberChange {
        Slot at;
        std::int32_t before = 0, after = 0;
    };
    struct TextChange {
        Slot at;
        std::string before, after;
    };

    bool empty() const { return m_numbers.empty() && m_texts.empty(); }
    // Folds a later edit into this one, as one step from this one's "before" to the later
    // one's "after"; values that end where they began drop out.
    void append(const OvEdit& later);
    // Bytes held by this edit, for the memory budget of a long undo history.
    std::size_t memoryUse() const;

private:
    friend class OvDocument;
    std::vector<NumberChange> m_numbers;
    std::vector<TextChange> m_texts;
};

// The document of one editing window: the model of one OvData file and every operation that
// changes it. Each operation applies its change at once and returns it as an OvEdit, which is
// empty when nothing changed (or the operation refused); undo() and redo() take such an edit
// back and forth. Views read the model and the row order from here; nothing else writes it.
//
// Rows: the entries in tree order (sector, its ops, each ops followed by its battles), the order
// in which the table shows them.
class OvDocument {
public:
    OvDocument();
    OvDocument(const OvDocument&) = delete;
    OvDocument& operator=(const OvDocument&) = delete;

    const OvDataModel& model() const { return *m_model; }

    // Replaces the whole model (a file was read, a new file made). Not an edit: the history of
    // the previous model means nothing for this one.
    void reset(const OvDataModel& model);
    // A new one-sector file for slot `index`: picture 1014 + index, sector ID index, named
    // "<new sector index>", no ops and an unset rectangle.
    void resetFromScratch(int index);

    // --- rows ---
    int rowCount() const;
    EntryRef entryAt(int row) const;        // kind None outside the rows
    int rowOf(const EntryRef& entry) const; // -1 when the entry is not in use

    // --- an entry's values ---
    std::int32_t id(const EntryRef& entry) const;
    const std::string& name(const EntryRef& entry) const;
    const Rect& rect(const EntryRef& entry) const;
    // Battles only; other entries have no tail.
    const std::string& tail(const EntryRef& entry) const;

    // --- where the add commands work, from the row they start at (the current row, or the last
    //     row when none is selected) ---
    // The sector of that row (0 without rows).
    int sectorForRow(int row) const;
    // The position within its sector of the nearest ops row at or above; 0 when there is none.
    // From a sector row that is the previous sector's last ops.
    int opsForRow(int row) const;
    // Whether that nearest ops row lies in the row's own sector.
    bool opsRowInSameSector(int row) const;

    // --- edits; each returns what it changed ---
    OvEdit setName(const EntryRef& entry, const std::string& name);
    OvEdit setRect(const EntryRef& entry, const Rect& rect);
    OvEdit setCoordinate(const EntryRef& entry, int k, std::int32_t value);
    // A battle flag (0 LZ, 1 Bridge, 2 Road). The tail is written as the table reads it back:
    // three bytes of 0 or 1.
    OvEdit setFlag(const EntryRef& battle, int k, bool on);
    OvEdit setResourceID(std::int32_t id);

    // The structural edits. Each first takes every battle tail to the form the table shows
    // (three bytes of 0 or 1), as the table's read-back always did before them.
    // A new entry goes to the end of its parent with the default name and positional ID and
    // keeps whatever rectangle its slot still holds. Refused at 10 entries of a level or when
    // the parent is not in use; `added` receives the new entry.
    OvEdit addSector(EntryRef* added = nullptr);
    OvEdit addOps(int s, EntryRef* added = nullptr);
    OvEdit addBattle(int s, int o, EntryRef* added = nullptr);
    // Later entries of the same parent move up, IDs stay with positions, IDs of entries under a
    // new parent are recomputed; the slot that falls out of use keeps its contents.
    OvEdit deleteBattle(int s, int o, int b);
    OvEdit deleteOps(int s, int o);
    OvEdit deleteSector(int s);
    // The positional scheme: sectors first, first + 1, ...; ops sector ID x 10 + o; battles
    // ops ID x 10 + b.
    OvEdit renumber(std::int32_t first);

    void undo(const OvEdit& edit);
    void redo(const OvEdit& edit);

    // The model as the file and the export take it: tails as the table shows them.
    OvDataModel fileModel() const;

private:
    class Writer;
    void rowsChanged() { m_rowsValid = false; }
    const std::vector<EntryRef>& rows() const;

    std::unique_ptr<OvDataModel> m_model = std::make_unique<OvDataModel>(); // 120 KB: not on the stack
    mutable std::vector<EntryRef> m_rows;
    mutable bool m_rowsValid = false;
};

} // namespace ov
