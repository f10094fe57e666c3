#include "windows/OvEditorWindow.h"

#include <QComboBox>

void OvEditorWindow::thisListBox_CellAction(int, int) {}
void OvEditorWindow::thisListBox_Change() {}
bool OvEditorWindow::thisListBox_HeaderPressed(int) { return false; }
void OvEditorWindow::PushButtonAddSector_Action() {}
void OvEditorWindow::PushButtonAddOps_Action() {}
void OvEditorWindow::PushButtonAddBattle_Action() {}
void OvEditorWindow::PushButtonDelSector_Action() {}
void OvEditorWindow::PushButtonDelOps_Action() {}
void OvEditorWindow::PushButtonDelBattle_Action() {}
void OvEditorWindow::PopupMenuID_Change() {}
void OvEditorWindow::PopupMenuPICT_Change() {}
void OvEditorWindow::RecalculateIDs() {}
void OvEditorWindow::ChangePICTresourceID() {}
