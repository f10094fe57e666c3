#include "map/OvPictCanvas.h"

#include <QPainter>

OvPictCanvas::OvPictCanvas(QWidget* parent) : QWidget(parent) {}

bool OvPictCanvas::CoordinatesInsideLocal(int x, int y) const {
    return x >= 0 && x < width() && y >= 0 && y < height();
}

bool OvPictCanvas::CoordinatesInsideGlobal(int x, int y) const {
    return x >= this->x() && x < this->x() + width() && y >= this->y() && y < this->y() + height();
}

void OvPictCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Q_EMIT Paint(painter);
}
