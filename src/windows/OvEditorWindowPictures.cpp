#include "windows/OvEditorWindow.h"

void OvEditorWindow::ReadPICTFromUIfile(OvPictCanvas*, int) {}
void OvEditorWindow::ReadPictureFromIntrface(OvPictCanvas*, int) {}
void OvEditorWindow::ReadPictureFromGraphicsFile(OvPictCanvas*, int) {}
void OvEditorWindow::PushButtonReloadGraphics_Action() {}
