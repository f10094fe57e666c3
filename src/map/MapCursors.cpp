#include "map/MapCursors.h"

#include <QHash>
#include <QImage>
#include <QPixmap>

namespace MapCursors {

namespace {
constexpr int kBlackAndWhiteOffset = 40;

// Where each drawing points; must match the drawings of resources/cursors/make_cursors.py.
QPoint hotSpot(int number) {
    switch (number) {
    case PictureDrag:
    case PictureDrag + kBlackAndWhiteOffset:
        return {1, 1};
    default:
        return {15, 15};
    }
}
} // namespace

int resourceNumber(Cursor cursor, bool colour) {
    return colour ? static_cast<int>(cursor) : static_cast<int>(cursor) + kBlackAndWhiteOffset;
}

QCursor fromResource(int number) {
    // Decoded once per run. Kept as images: a static pixmap would outlive the application object.
    static QHash<int, QImage> loaded;
    auto it = loaded.find(number);
    if (it == loaded.end())
        it = loaded.insert(number, QImage(QStringLiteral(":/cursors/cursor%1.png").arg(number)));
    if (it->isNull())
        return QCursor(Qt::ArrowCursor);
    const QPoint spot = hotSpot(number);
    return QCursor(QPixmap::fromImage(*it), spot.x(), spot.y());
}

namespace {
bool g_colour = true;
} // namespace

void setColour(bool colour) {
    g_colour = colour;
}

bool colour() {
    return g_colour;
}

QCursor current(Cursor cursor) {
    return fromResource(resourceNumber(cursor, g_colour));
}

} // namespace MapCursors
