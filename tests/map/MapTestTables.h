#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>

class OvDataListBox;
class OvEditorWindow;
class QMimeData;
class QWidget;

// Tables and probes shared by the map and clipboard tests.
namespace MapTest {

// Gives the window's model one sector with `ops` ops of `battles` battles each and rebuilds the
// table. Rows: the sector, then each ops followed by its battles. IDs: sector 1, ops 10 + o,
// battles (10 + o) * 10 + b; names "S", "Ops o", "Bat o.b"; every rectangle unset (zeros). Battle
// b of every ops has LZ set when b is 0, Bridge when b is 1, Road when b is 2.
void fillModel(OvDataListBox& table, int ops, int battles);

// Writes a row's coordinate cells as the user would type them.
void setRect(OvDataListBox& table, int row, int x1, int y1, int x2, int y2);

// The colour a 16-bit picture holds for `colour` (the 5-6-5 rounding of Qt itself).
QRgb in16Bits(QRgb colour);

// A picture of the given size filled with `fill`, with single marker pixels in its corners
// (top left red, bottom right blue) so that cuts and offsets show.
QImage markedPicture(int width, int height, QRgb fill);

// Pixels of `image` that are not `background`, listed as "x,y" for readable failures.
QString pixelsOtherThan(const QImage& image, QRgb background);

// Sends a real left-button press, a move with the button held, or a release to `widget`.
void press(QWidget* widget, QPoint at);
void drag(QWidget* widget, QPoint to);
void release(QWidget* widget, QPoint at);

} // namespace MapTest
