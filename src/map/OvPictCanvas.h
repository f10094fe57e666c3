#pragma once

#include "map/MapView.h"
#include "ovdata/OvDataRules.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

class QDrag;
class QMimeData;
class QPainter;
class QScrollBar;

// The map canvas of an editing window. It holds the map picture in MasterBackground and asks its
// window to compose the picture with the entries' outlines on every paint (signal Paint). One map
// pixel is one logical pixel of the canvas at zoom 1, origin top left; the canvas is 314 x 491 when
// created. The map pixels it can show (its extent) are always the canvas's size at zoom 1; at a
// higher zoom (MapView::kLevels) each map pixel is a zoom x zoom square, scroll bars appear over
// the right and bottom edges and the view scrolls by them, by the wheel (Shift+wheel: sideways),
// or by dragging with the middle button. Ctrl+wheel zooms keeping the map pixel under the mouse.
// view() is the one conversion between view and map pixels: every coordinate the canvas raises
// is a map pixel.
//
// Mouse: a press raises MoreMouseDown, a move with the button held raises MoreMouseDrag while the
// mouse is inside the canvas. When that handler answers true (no mark going on), or as soon as the
// mouse leaves the canvas, the bare map picture is dragged out as a platform drag. A picture
// dropped on the canvas (image data, or an image file from the file manager) becomes the map.
//
// Setting the picture (the contract for every picture source):
//   1. setExtentSize(the picture's size, at most kMapWidth x kMapHeight): at zoom 1 that resizes
//      the canvas, as a plain resize() does;
//   2. setMap(picture) (or assign MasterBackground directly);
//   3. Refresh().
// The picture is kept as given, whatever its size: a larger one shows its top-left part, a
// smaller one leaves the rest of a larger canvas white. Painting never changes it.
class OvPictCanvas : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMapWidth = ov::rules::kMapWidth;
    static constexpr int kMapHeight = ov::rules::kMapHeight;

    explicit OvPictCanvas(QWidget* parent = nullptr);

    QImage MasterBackground;

    // Makes `picture` the map; the canvas's size is left to the caller (see above).
    void setMap(const QImage& picture) { MasterBackground = picture; }

    // Repaint without erasing: the whole map is composed again.
    void Refresh() { update(); }

    // A new 16-bit picture (QImage::Format_RGB16) of width x height holding the map at its natural
    // size from the top-left corner, white where the map does not reach: the off-screen buffer of
    // one paint. Null when it cannot be made. The conversion is cached, so an unchanged map costs
    // one copy per paint.
    QImage NewBackgroundBuffer(int width, int height) const;
    // The part `region` (map pixels, inside the canvas's extent) of the buffer of the canvas's
    // size: what a zoomed view needs without copying the whole map.
    QImage BackgroundPart(const QRect& region) const;

    // Map pixel (x, y) lies in the canvas's extent (at zoom 1: on the canvas at its current size).
    bool CoordinatesInsideLocal(int x, int y) const;
    // The same test for (x, y) in the coordinates of the canvas's parent (the window's content).
    bool CoordinatesInsideGlobal(int x, int y) const;

    void AcceptPictureDrop();

    // The map pixels the canvas can show. At zoom 1 it is the canvas's size (resizing the canvas
    // sets it); above zoom 1 the window may make the canvas larger, a viewport onto the zoomed
    // extent, which then stays as it was.
    QSize extentSize() const { return m_extentSize; }
    // The picture contract's step 1: at zoom 1 a resize, above it the extent alone.
    void setExtentSize(QSize size);

    // --- zoom and scroll ---
    const MapView& view() const { return m_view; }
    int zoom() const { return m_view.zoom(); }
    // Both take a level of MapView::kLevels (another value is ignored) and raise ViewChanged.
    void setZoomKeepingTopLeft(int zoom);
    void setZoomAt(int zoom, QPointF anchor);
    void setScroll(QPoint scroll);
    // The visible map, in view pixels: the canvas less the scroll bars shown over it.
    QRect viewport() const;

    // Runs a picture drag that has been set up. The default runs the platform drag to its end
    // (QDrag::exec); tests install their own to see the drag without a nested event loop.
    // The canvas never deletes the drag: after exec() Qt keeps it until the drop target has
    // fetched the data, then deletes it; a drag that was never executed dies with the canvas.
    using DragRunner = std::function<void(QDrag& drag)>;
    void setDragRunner(DragRunner runner);

    // What a picture drag and the clipboard carry: the image, plus a PNG for programs that only
    // take files' bytes. Caller owns the result.
    static QMimeData* newPictureMimeData(const QImage& picture);
    // The picture a drop or the clipboard offers: image data, image bytes of any format Qt reads,
    // or the first local image file. Null when there is none; `unreadable` is set when a picture
    // was offered but could not be read (a broken or oversized file).
    static QImage pictureFromMimeData(const QMimeData* mime, bool* unreadable = nullptr);
    // Whether a drop of `mime` can give a picture, judged without decoding it.
    static bool offersPicture(const QMimeData* mime);

Q_SIGNALS:
    void Paint(QPainter& g);
    // Raised with canvas coordinates. A signal without a handler answers false.
    bool MoreMouseDown(int x, int y);
    bool MoreMouseDrag(int x, int y);
    void MouseEnter();
    void MouseExit();
    // The map pixel under the mouse (inside the extent or not) whenever it moves over the canvas.
    void PointerMoved(int x, int y);
    // The zoom or the scroll changed.
    void ViewChanged();
    // An arrow key with the canvas focused: move the marked rectangle by (dx, dy) map pixels
    // (Shift: 10 per key), or with Alt only its second corner (`resize`).
    void NudgeRequested(int dx, int dy, bool resize);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Event_Open();
    bool Event_MouseDown(int x, int y);
    void Event_MouseDrag(int x, int y);
    void Event_DropObject(const QMimeData* mime);
    void startPictureDrag();
    // The extent, viewport and scroll bars after a size or zoom change.
    void updateView();
    void viewChanged();
    // A mark near the viewport's edge: one scroll step towards it, then the mark follows.
    bool scrollTowardsEdge(QPointF at);
    void edgeScrollStep();
    // The map pixel a drag step at `view` gives: while marking, kept inside the extent.
    QPoint markPixelAt(QPointF view) const;

    DragRunner m_dragRunner;
    bool m_buttonDown = false;
    QPoint m_pressPoint;
    MapView m_view;
    QSize m_extentSize{kMapWidth, kMapHeight};
    QScrollBar* m_hBar = nullptr;
    QScrollBar* m_vBar = nullptr;
    bool m_syncingBars = false;
    // Middle-button panning: the view point where the last pan step was.
    bool m_panning = false;
    QPointF m_panFrom;
    // A mark held near the edge keeps scrolling by this timer.
    QTimer m_edgeTimer;
    QPointF m_lastDragPoint;
    bool m_marking = false;

    // MasterBackground converted to 16 bits and cut to the last buffer size; rebuilt when the
    // picture (its cache key) or the size changes.
    const QImage* layerOfSize(int width, int height) const;
    mutable QImage m_layer;
    mutable qint64 m_layerKey = 0;
};
