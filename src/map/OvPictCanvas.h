#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

// The map canvas of an editing window. It holds the map picture in MasterBackground and asks its
// window to compose the picture with the entries' outlines on every paint.
class OvPictCanvas : public QWidget {
    Q_OBJECT
public:
    explicit OvPictCanvas(QWidget* parent = nullptr);

    QImage MasterBackground;

    // Repaint without erasing: the whole map is composed again.
    void Refresh() { update(); }

    bool CoordinatesInsideLocal(int x, int y) const;
    bool CoordinatesInsideGlobal(int x, int y) const;

Q_SIGNALS:
    void Paint(QPainter& g);
    bool MoreMouseDown(int x, int y);
    bool MoreMouseDrag(int x, int y);
    void MouseEnter();
    void MouseExit();

protected:
    void paintEvent(QPaintEvent* event) override;
};
