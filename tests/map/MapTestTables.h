#pragma once

#include "GuiTestSupport.h"

#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>

class OvDataListBox;
class OvEditorWindow;
class OvPictCanvas;
class QWidget;

// Tables and probes shared by the map and clipboard tests.
namespace MapTest {

// One sector (ID 1, "S") with `ops` ops (ID 10 + o, "Ops o") of `battles` battles each (ID
// (10 + o) * 10 + b, "Bat o.b"), rows in that order, every rectangle unset. Battle b has LZ set when
// b is 0, Bridge when 1, Road when 2.
void fillModel(OvDataListBox& table, int ops, int battles);
// Writes a row's coordinate cells as the user would type them.
void setRect(OvDataListBox& table, int row, int x1, int y1, int x2, int y2);
// The colour a 16-bit picture holds for `colour`.
QRgb in16Bits(QRgb colour);
// A picture in `fill` with its top left pixel red and its bottom right one blue.
QImage markedPicture(int width, int height, QRgb fill);
// Pixels of `image` that are not `background`, as "x,y" for readable failures.
QString pixelsOtherThan(const QImage& image, QRgb background);
// A real mouse event; and a left-button press, move with the button held, or release.
void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons);
void press(QWidget* widget, QPoint at);
void drag(QWidget* widget, QPoint to);
void release(QWidget* widget, QPoint at);

// A new window whose table holds fillModel(2, 3): 9 rows, unmodified.
class MapWindowTest : public GuiTest {
protected:
    void SetUp() override;
    // What the canvas shows, as 32-bit pixels.
    QImage shot();
    // The row's coordinate cells, as "x1 y1 x2 y2".
    QString rect(int row) const;

    OvEditorWindow* window = nullptr;
    OvDataListBox* table = nullptr;
    OvPictCanvas* canvas = nullptr;
};

} // namespace MapTest
