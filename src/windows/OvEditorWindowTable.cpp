#include "map/OvPictCanvas.h"
#include "platform/Dialogs.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditCommands.h"
#include "windows/OvEditorWindow.h"

#include <QComboBox>
#include <QUndoStack>

// Every change of the data is a step on the undo stack (OvEditCommands.h). The commands here
// work out from the table and the document where the step applies, check the row kind and the
// count limits as the buttons always did (a wrong row kind beeps, a full level does nothing),
// and push the step; the step changes the document and brings the views in line.

namespace {
constexpr int kFirstPictureID = 1013;
using Kind = ov::EntryRef::Kind;
} // namespace

void OvEditorWindow::thisListBox_CellAction(int, int) {
    PreviewCanvas->Refresh();
}

void OvEditorWindow::thisListBox_Change() {
    PreviewCanvas->Refresh();
}

bool OvEditorWindow::thisListBox_HeaderPressed(int column) {
    OvDataListBox& box = *thisListBox;
    if (column != OvDataListBox::ColView || box.ListCount() == 0)
        return false;
    const bool show = !box.CellCheck(0, OvDataListBox::ColView);
    for (int row = 0; row < box.ListCount(); ++row)
        box.setCellCheck(row, OvDataListBox::ColView, show);
    PreviewCanvas->Refresh();
    return true;
}

bool OvEditorWindow::pushStep(OvEditCommand* step) {
    if (!step->prepare()) {
        delete step;
        return false;
    }
    m_undoStack->push(step);
    return true;
}

void OvEditorWindow::thisListBox_EditRequested(int row, int column, const QString& text) {
    const ov::EntryRef entry = m_document.entryAt(row);
    if (entry.kind() != Kind::None)
        pushStep(new SetFieldCommand(*this, entry, column, text));
}

void OvEditorWindow::thisListBox_FlagToggled(int row, int k, bool on) {
    const ov::EntryRef entry = m_document.entryAt(row);
    if (entry.kind() != Kind::Battle || !pushStep(new SetFlagCommand(*this, entry, k, on)))
        thisListBox->refreshRow(row); // the tick shows the document, also when nothing changed
}

// --- what a step shows --------------------------------------------------------------------------

void OvEditorWindow::showEntryChanged(const ov::EntryRef& entry, bool select) {
    const int row = m_document.rowOf(entry);
    thisListBox->refreshRow(row);
    if (select)
        thisListBox->showRow(row);
    PreviewCanvas->Refresh();
}

void OvEditorWindow::showStructureChanged(const ov::EntryRef& entry, bool tick) {
    thisListBox->PutDataToListBox();
    setPopupIndex(PopupMenuID, qint64{m_document.model().SectorID[0]} - 1);
    const int row = m_document.rowOf(entry);
    if (row >= 0) {
        thisListBox->showRow(row);
        if (tick)
            thisListBox->setCellCheck(row, OvDataListBox::ColView, true);
    }
    PreviewCanvas->Refresh();
}

void OvEditorWindow::showPictureIdChanged() {
    const int id = m_document.model().OvResourceID;
    setPopupIndex(PopupMenuPICT, qint64{id} - kFirstPictureID);
    loadMapPicture(id, false);
}

// --- adding ----------------------------------------------------------------------------------------

void OvEditorWindow::PushButtonAddSector_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    if (m_document.model().OvNumberOfSectors >= ov::kAddLimit)
        return;
    pushStep(new AddCommand(*this, Kind::Sector, -1, -1));
}

void OvEditorWindow::PushButtonAddOps_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    const int s = m_document.sectorForRow(thisListBox->CurrentOrLastRow());
    if (m_document.model().SectorNumberOfOps[s] >= ov::kAddLimit)
        return;
    if (!pushStep(new AddCommand(*this, Kind::Ops, s, -1)))
        Beep(); // the document refused (no sector in use there)
}

void OvEditorWindow::PushButtonAddBattle_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    const int current = thisListBox->CurrentOrLastRow();
    const int s = m_document.sectorForRow(current);
    const int o = m_document.opsForRow(current);
    if (m_document.model().OpsNumberOfBattles[s][o] >= ov::kAddLimit)
        return;
    // The ops row the battle goes under must belong to the current sector; from a sector row
    // (or a sector without ops) the nearest ops row above lies in another sector, and adding
    // there would put the battle under an ops the user never chose.
    if (!m_document.opsRowInSameSector(current) || !pushStep(new AddCommand(*this, Kind::Battle, s, o)))
        Beep();
}

// --- deleting ----------------------------------------------------------------------------------------

namespace {
// The entry of the selected row when it is of `kind`; a wrong kind beeps; no selection is silent.
ov::EntryRef entryToDelete(const OvDataListBox& box, const ov::OvDocument& document, Kind kind) {
    const int r = box.ListIndex();
    if (r < 0 || r >= box.ListCount())
        return {};
    const ov::EntryRef entry = document.entryAt(r);
    if (entry.kind() != kind) {
        Beep();
        return {};
    }
    return entry;
}
} // namespace

void OvEditorWindow::PushButtonDelBattle_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    const ov::EntryRef entry = entryToDelete(*thisListBox, m_document, Kind::Battle);
    if (entry.kind() != Kind::None)
        pushStep(new DeleteCommand(*this, entry));
}

void OvEditorWindow::PushButtonDelOps_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    const ov::EntryRef entry = entryToDelete(*thisListBox, m_document, Kind::Ops);
    if (entry.kind() != Kind::None)
        pushStep(new DeleteCommand(*this, entry));
}

void OvEditorWindow::PushButtonDelSector_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    const ov::EntryRef entry = entryToDelete(*thisListBox, m_document, Kind::Sector);
    if (entry.kind() != Kind::None)
        pushStep(new DeleteCommand(*this, entry));
}

// --- the popups ----------------------------------------------------------------------------------------

void OvEditorWindow::PopupMenuID_Change() {
    if (!thisListBox->commitPendingEdit()) {
        setPopupIndex(PopupMenuID, qint64{m_document.model().SectorID[0]} - 1);
        return;
    }
    const int index = PopupMenuID->currentIndex();
    if (index >= 0)
        RecalculateIDs(index + 1);
}

void OvEditorWindow::PopupMenuPICT_Change() {
    if (!thisListBox->commitPendingEdit()) {
        setPopupIndex(PopupMenuPICT, qint64{m_document.model().OvResourceID} - kFirstPictureID);
        return;
    }
    const int index = PopupMenuPICT->currentIndex();
    if (index >= 0)
        ChangePICTresourceID(kFirstPictureID + index);
}

void OvEditorWindow::RecalculateIDs(int first) {
    // Nothing to renumber is no step, but the table is rebuilt (and unselected) all the same.
    if (!pushStep(new RenumberCommand(*this, first)))
        showStructureChanged({}, false);
}

void OvEditorWindow::ChangePICTresourceID(int id) {
    pushStep(new PictureIdCommand(*this, id));
    loadMapPicture(id, true);
}
