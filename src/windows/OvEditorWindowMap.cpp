#include "windows/OvEditorWindow.h"

#include <QPainter>

void OvEditorWindow::CanvasPaintAction(QPainter&) {}
QImage OvEditorWindow::GetCanvasScreenshot() { return {}; }
void OvEditorWindow::PreviewCanvas_Paint(QPainter& g) { CanvasPaintAction(g); }
bool OvEditorWindow::PreviewCanvas_MoreMouseDown(int, int) { return false; }
bool OvEditorWindow::PreviewCanvas_MoreMouseDrag(int, int) { return false; }
void OvEditorWindow::PreviewCanvas_MouseEnter() {}
void OvEditorWindow::PreviewCanvas_MouseExit() {}
void OvEditorWindow::PushButtonRedraw_Action() {}
void OvEditorWindow::PushButtonUnselect_Action() {}
