#include "app/App.h"
#include "map/OvPictCanvas.h"
#include "platform/Dialogs.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QComboBox>

// Every structural command follows one rhythm: take the cells back into the model (so unsaved
// edits survive), change the model, rebuild the table. Row kinds and entry positions are worked
// out from the table before the read-back, while rows and model still match.

namespace {
constexpr int kFirstPictureID = 1013;
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

namespace {
// After an add the new entry's row is the only selected one, with its View box ticked.
void selectNewRow(OvDataListBox& box, int row) {
    if (row < 0 || row >= box.ListCount())
        return;
    box.setSelected(row, true);
    box.setCellCheck(row, OvDataListBox::ColView, true);
    box.scrollToItem(box.item(row, OvDataListBox::ColNumber));
}
} // namespace

void OvEditorWindow::PushButtonAddSector_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    OvDataListBox& box = *thisListBox;
    if (box.OvNumberOfSectors >= ov::kAddLimit)
        return;
    box.GetDataFromListBox();
    if (!box.AddSector()) {
        Beep();
        return;
    }
    box.PutDataToListBox();
    selectNewRow(box, box.GetLineFromIndices(box.OvNumberOfSectors - 1, -1, -1));
    setModified(true);
    PreviewCanvas->Refresh();
}

void OvEditorWindow::PushButtonAddOps_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    OvDataListBox& box = *thisListBox;
    const int s = box.GetSectorIndex();
    if (box.SectorNumberOfOps[s] >= ov::kAddLimit)
        return;
    box.GetDataFromListBox();
    const int o = box.AddOps(s);
    if (o < 0) {
        Beep();
        return;
    }
    box.PutDataToListBox();
    selectNewRow(box, box.GetLineFromIndices(s, o, -1));
    setModified(true);
    PreviewCanvas->Refresh();
}

void OvEditorWindow::PushButtonAddBattle_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    OvDataListBox& box = *thisListBox;
    const int s = box.GetSectorIndex();
    const int o = box.GetOpsIndex();
    // The ops row the battle goes under must belong to the current sector; from a sector row
    // (or a sector without ops) the nearest ops row above lies in another sector, and adding
    // there would put the battle under an ops the user never chose.
    const int current = box.CurrentOrLastRow();
    const bool opsOfThisSector = box.OpsRowAtOrAbove(current) > box.SectorRowAtOrAbove(current);
    if (box.OpsNumberOfBattles[s][o] >= ov::kAddLimit)
        return;
    box.GetDataFromListBox();
    const int b = opsOfThisSector ? box.AddBattle(s, o) : -1;
    if (b < 0) {
        Beep();
        return;
    }
    box.PutDataToListBox();
    selectNewRow(box, box.GetLineFromIndices(s, o, b));
    setModified(true);
    PreviewCanvas->Refresh();
}

void OvEditorWindow::PushButtonDelBattle_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    OvDataListBox& box = *thisListBox;
    const int r = box.ListIndex();
    if (r < 0 || r >= box.ListCount())
        return;
    if (box.CellBold(r, OvDataListBox::ColNumber) || box.CellItalic(r, OvDataListBox::ColNumber)) {
        Beep();
        return;
    }
    const int s = box.GetSectorIndex();
    const int o = box.GetOpsIndex();
    const int b = box.GetBattleIndex();
    box.GetDataFromListBox();
    const bool deleted = box.DeleteBattle(s, o, b);
    box.PutDataToListBox();
    if (deleted)
        setModified(true);
}

void OvEditorWindow::PushButtonDelOps_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    OvDataListBox& box = *thisListBox;
    const int r = box.ListIndex();
    if (r < 0 || r >= box.ListCount())
        return;
    if (!box.CellItalic(r, OvDataListBox::ColNumber)) {
        Beep();
        return;
    }
    const int s = box.GetSectorIndex();
    const int o = box.GetOpsIndex();
    box.GetDataFromListBox();
    const bool deleted = box.DeleteOps(s, o);
    box.PutDataToListBox();
    if (deleted)
        setModified(true);
}

void OvEditorWindow::PushButtonDelSector_Action() {
    if (!thisListBox->commitPendingEdit())
        return;
    OvDataListBox& box = *thisListBox;
    const int r = box.ListIndex();
    if (r < 0 || r >= box.ListCount())
        return;
    if (!box.CellBold(r, OvDataListBox::ColNumber)) {
        Beep();
        return;
    }
    const int s = box.GetSectorIndex();
    box.GetDataFromListBox();
    const bool deleted = box.DeleteSector(s);
    box.PutDataToListBox();
    if (deleted)
        setModified(true);
}

void OvEditorWindow::PopupMenuID_Change() {
    if (!thisListBox->commitPendingEdit()) {
        setPopupIndex(PopupMenuID, qint64{thisListBox->SectorID[0]} - 1);
        return;
    }
    const int index = PopupMenuID->currentIndex();
    if (index >= 0)
        RecalculateIDs(index + 1);
}

void OvEditorWindow::PopupMenuPICT_Change() {
    if (!thisListBox->commitPendingEdit()) {
        setPopupIndex(PopupMenuPICT, qint64{thisListBox->OvResourceID} - kFirstPictureID);
        return;
    }
    const int index = PopupMenuPICT->currentIndex();
    if (index >= 0)
        ChangePICTresourceID(kFirstPictureID + index);
}

void OvEditorWindow::RecalculateIDs(int first) {
    OvDataListBox& box = *thisListBox;
    box.GetDataFromListBox();
    box.RenumberIDs(first);
    box.PutDataToListBox();
    setModified(true);
}

void OvEditorWindow::ChangePICTresourceID(int id) {
    OvDataListBox& box = *thisListBox;
    if (box.OvResourceID != id)
        setModified(true);
    box.OvResourceID = id;
    const App* app = theApp();
    if (app && app->gUseFileUI)
        ReadPICTFromUIfile(PreviewCanvas, box.OvResourceID);
    else
        ReadPictureFromIntrface(PreviewCanvas, box.OvResourceID);
}
