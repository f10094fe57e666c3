#include "windows/OvEditCommands.h"

#include "table/OvDataListBox.h"
#include "table/TableText.h"
#include "windows/OvEditorWindow.h"

#include <algorithm>

namespace {

const char* kindName(ov::EntryRef::Kind kind) {
    switch (kind) {
    case ov::EntryRef::Kind::Sector:
        return "Sector";
    case ov::EntryRef::Kind::Ops:
        return "Ops";
    default:
        return "Battle";
    }
}

const char* const kFlagNames[] = {"LZ", "Bridge", "Road"};

} // namespace

QString entryLabel(const ov::OvDocument& document, const ov::EntryRef& entry) {
    return QString::fromLatin1(kindName(entry.kind())) + QLatin1Char(' ') +
           QString::number(document.id(entry));
}

OvEditCommand::OvEditCommand(OvEditorWindow& window) : m_window(window) {}

bool OvEditCommand::prepare() {
    m_ticksBefore = m_window.thisListBox->viewTicks();
    m_edit = perform(m_window.document());
    return !m_edit.empty();
}

void OvEditCommand::redo() {
    // The first run only shows what prepare() did.
    const bool first = !m_shown;
    if (!first)
        m_window.document().redo(m_edit);
    m_shown = true;
    show(false, first);
}

void OvEditCommand::rememberTicks(bool undone, bool first) {
    OvDataListBox& table = *m_window.thisListBox;
    if (first)
        m_ticksAfter = table.viewTicks();
    else
        table.setViewTicks(undone ? m_ticksBefore : m_ticksAfter);
}

void OvEditCommand::undo() {
    m_window.document().undo(m_edit);
    show(true, false);
}

// --- one value ---

SetFieldCommand::SetFieldCommand(OvEditorWindow& window, const ov::EntryRef& entry, int column,
                                 const QString& text)
    : OvEditCommand(window), m_entry(entry), m_column(column), m_text(text) {
    const QString label = entryLabel(window.document(), entry);
    if (column == OvDataListBox::ColName)
        setText(QStringLiteral("Rename ") + label);
    else
        setText(QStringLiteral("Change %1 of %2")
                    .arg(window.thisListBox->model()->headerData(column, Qt::Horizontal).toString(), label));
}

ov::OvEdit SetFieldCommand::perform(ov::OvDocument& document) {
    if (m_column == OvDataListBox::ColName)
        return document.setName(m_entry, TableText::TextToName(m_text));
    // Typed coordinates follow the table's read-back rule: the number the text begins with.
    return document.setCoordinate(m_entry, m_column - OvDataListBox::ColX1, TableText::Val32(m_text));
}

void SetFieldCommand::show(bool, bool first) {
    m_window.showEntryChanged(m_entry, !first);
}

SetFlagCommand::SetFlagCommand(OvEditorWindow& window, const ov::EntryRef& battle, int k, bool on)
    : OvEditCommand(window), m_entry(battle), m_k(k), m_on(on) {
    setText(QStringLiteral("%1 %2 of %3")
                .arg(on ? QStringLiteral("Tick") : QStringLiteral("Untick"),
                     QLatin1String(kFlagNames[std::clamp(k, 0, 2)]), entryLabel(window.document(), battle)));
}

ov::OvEdit SetFlagCommand::perform(ov::OvDocument& document) {
    return document.setFlag(m_entry, m_k, m_on);
}

void SetFlagCommand::show(bool, bool first) {
    m_window.showEntryChanged(m_entry, !first);
}

// --- marking ---

MarkCommand::MarkCommand(OvEditorWindow& window, const ov::EntryRef& entry, const ov::Rect& rect, int gesture,
                         const char* verb)
    : OvEditCommand(window), m_entry(entry), m_rect(rect), m_gesture(gesture) {
    setText(QLatin1String(verb) + QLatin1Char(' ') + entryLabel(window.document(), entry));
}

ov::OvEdit MarkCommand::perform(ov::OvDocument& document) {
    return document.setRect(m_entry, m_rect);
}

void MarkCommand::show(bool, bool first) {
    m_window.showEntryChanged(m_entry, !first);
}

bool MarkCommand::mergeWith(const QUndoCommand* other) {
    const auto* later = static_cast<const MarkCommand*>(other);
    if (later->m_gesture != m_gesture || !(later->m_entry == m_entry))
        return false;
    m_edit.append(later->edit());
    m_rect = later->m_rect;
    // A mark that ends where it began changed nothing: QUndoStack drops it.
    setObsolete(m_edit.empty());
    return true;
}

// --- structure ---

AddCommand::AddCommand(OvEditorWindow& window, ov::EntryRef::Kind kind, int s, int o)
    : OvEditCommand(window), m_kind(kind), m_s(s), m_o(o) {
    setText(QStringLiteral("Add ") + QLatin1String(kindName(kind)));
}

ov::OvEdit AddCommand::perform(ov::OvDocument& document) {
    ov::OvEdit edit = m_kind == ov::EntryRef::Kind::Sector ? document.addSector(&m_added)
                      : m_kind == ov::EntryRef::Kind::Ops  ? document.addOps(m_s, &m_added)
                                                           : document.addBattle(m_s, m_o, &m_added);
    if (!edit.empty())
        setText(QStringLiteral("Add ") + entryLabel(document, m_added));
    return edit;
}

void AddCommand::show(bool undone, bool first) {
    if (undone) {
        // The parent the entry was added to (nothing for a sector).
        ov::EntryRef parent = m_added;
        if (m_added.b >= 0)
            parent.b = -1;
        else if (m_added.o >= 0)
            parent.o = -1;
        else
            parent = {};
        m_window.showStructureChanged(parent, false);
    } else {
        // The new entry's row is the only selected one, with its View box ticked.
        m_window.showStructureChanged(m_added, true);
    }
    rememberTicks(undone, first);
}

DeleteCommand::DeleteCommand(OvEditorWindow& window, const ov::EntryRef& entry)
    : OvEditCommand(window), m_entry(entry) {
    setText(QStringLiteral("Delete ") + entryLabel(window.document(), entry));
}

ov::OvEdit DeleteCommand::perform(ov::OvDocument& document) {
    switch (m_entry.kind()) {
    case ov::EntryRef::Kind::Sector:
        return document.deleteSector(m_entry.s);
    case ov::EntryRef::Kind::Ops:
        return document.deleteOps(m_entry.s, m_entry.o);
    case ov::EntryRef::Kind::Battle:
        return document.deleteBattle(m_entry.s, m_entry.o, m_entry.b);
    default:
        return {};
    }
}

void DeleteCommand::show(bool undone, bool first) {
    // After a delete no row is selected, as the table always did; an undo shows the entry again.
    m_window.showStructureChanged(undone ? m_entry : ov::EntryRef{}, false);
    rememberTicks(undone, first);
}

RenumberCommand::RenumberCommand(OvEditorWindow& window, int first) : OvEditCommand(window), m_first(first) {
    setText(QStringLiteral("Renumber from %1").arg(first));
}

ov::OvEdit RenumberCommand::perform(ov::OvDocument& document) {
    return document.renumber(m_first);
}

void RenumberCommand::show(bool undone, bool first) {
    m_window.showStructureChanged({}, false);
    rememberTicks(undone, first);
}

PictureIdCommand::PictureIdCommand(OvEditorWindow& window, int id) : OvEditCommand(window), m_id(id) {
    setText(QStringLiteral("Change Map Picture to %1").arg(id));
}

ov::OvEdit PictureIdCommand::perform(ov::OvDocument& document) {
    return document.setResourceID(m_id);
}

void PictureIdCommand::show(bool, bool first) {
    // The first run is the user's choice in the popup, which loads the picture itself.
    if (!first)
        m_window.showPictureIdChanged();
}

SyncCommand::SyncCommand(OvEditorWindow& window, const ov::OvDataModel& before, const ov::OvDataModel& after,
                         const ov::EntryRef& show, const QString& text)
    : QUndoCommand(text), m_window(window), m_before(std::make_unique<ov::OvDataModel>(before)),
      m_after(std::make_unique<ov::OvDataModel>(after)), m_show(show) {}

void SyncCommand::redo() {
    put(*m_after);
}

void SyncCommand::undo() {
    put(*m_before);
}

void SyncCommand::put(const ov::OvDataModel& model) {
    // The table is rebuilt (View ticks stay with row positions, as after any rebuild).
    m_window.document().reset(model);
    m_window.showStructureChanged(m_show, false);
}
