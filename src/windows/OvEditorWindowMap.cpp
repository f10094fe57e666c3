#include "map/MapCursors.h"
#include "map/MapPainting.h"
#include "map/OvPictCanvas.h"
#include "ovdata/OvDataRules.h"
#include "platform/Dialogs.h"
#include "table/OvDataListBox.h"
#include "table/TableText.h"
#include "windows/OvEditCommands.h"
#include "windows/OvEditorWindow.h"

#include <QLabel>
#include <QPainter>
#include <QUndoStack>

#include <algorithm>
#include <cstdlib>

namespace {

using Col = OvDataListBox::Column;

// "Active" of the designed framework: the table can take part in a mark. A press that reaches the
// canvas has already brought this window forward, so what is left to ask is whether the table
// can be used at all.
bool tableActive(const OvDataListBox& table) {
    return table.isEnabled() && table.isVisible();
}

} // namespace

QImage OvEditorWindow::composedMap(const QRect& part) {
    if (!PreviewCanvas || !thisListBox)
        return {};
    // Both the screen and the screenshot compose the canvas's extent, in map pixels (a device's
    // own metrics would count physical pixels on a dense screen).
    const QSize extent = PreviewCanvas->extentSize();
    QImage buffer = part.isNull() ? PreviewCanvas->NewBackgroundBuffer(extent.width(), extent.height())
                                  : PreviewCanvas->BackgroundPart(part);
    if (buffer.isNull())
        return {};
    const QPoint origin = part.isNull() ? QPoint() : part.topLeft();

    // Which rows are drawn is the table's (selection, View ticks); where, the document's.
    const OvDataListBox& table = *thisListBox;
    // The current row cannot change while painting; asked once instead of per row.
    const int current = table.ListIndex();
    for (int row = 0; row <= table.ListCount() - 1; ++row) {
        const bool selected = table.Selected(row);
        if (!selected && !table.CellCheck(row, Col::ColView))
            continue;
        const ov::Rect& r = m_document.rect(m_document.entryAt(row));
        MapPainting::drawEntry(buffer, r[0], r[1], r[2], r[3], selected || row == current, origin);
    }
    return buffer;
}

void OvEditorWindow::CanvasPaintAction(QPainter& g) {
    if (!g.isActive() || !PreviewCanvas || !thisListBox)
        return;
    const MapView& view = PreviewCanvas->view();
    QImage buffer;
    if (view.zoom() == 1) {
        buffer = composedMap();
    } else {
        // Only the map pixels the view shows are composed; the composition is then scaled as a
        // whole, so outlines cover their map pixels' squares.
        const QRect extent(QPoint(0, 0), view.extent());
        const QRect part =
            QRect(view.mapPixelAt({0, 0}),
                  view.mapPixelAt(QPointF(PreviewCanvas->width() - 1, PreviewCanvas->height() - 1)))
                .intersected(extent);
        const QImage composed = composedMap(part);
        if (!composed.isNull() && m_zoomBuffer.size() != PreviewCanvas->size())
            m_zoomBuffer = QImage(PreviewCanvas->size(), QImage::Format_RGB16);
        if (!composed.isNull() && !m_zoomBuffer.isNull()) {
            QImage source = composed;
            gfx::zoomInto(MapPainting::rgb16View(source), view.zoom(),
                          view.scroll().x() - part.x() * view.zoom(),
                          view.scroll().y() - part.y() * view.zoom(), MapPainting::rgb16View(m_zoomBuffer));
            buffer = m_zoomBuffer;
        }
    }
    if (buffer.isNull())
        return; // the canvas keeps what it showed

    g.save();
    g.setRenderHint(QPainter::SmoothPixmapTransform, false);
    g.setCompositionMode(QPainter::CompositionMode_Source);
    g.drawImage(QPoint(0, 0), buffer);
    g.restore();
}

QImage OvEditorWindow::GetCanvasScreenshot() {
    if (!PreviewCanvas)
        return {};
    // The map as composed at zoom 1, whatever the view shows.
    QImage picture = composedMap();
    if (picture.isNull()) {
        MsgBox(QStringLiteral("Not enough memory to create picture for export."), this);
        return {};
    }
    return picture;
}

void OvEditorWindow::PreviewCanvas_Paint(QPainter& g) {
    CanvasPaintAction(g);
}

namespace {

// The marked entry's row when a mark may go on at (x, y) of the canvas; -1 when not.
int markedRow(const OvPictCanvas& canvas, const OvDataListBox& table, int x, int y) {
    if (!canvas.CoordinatesInsideLocal(x, y) || !tableActive(table))
        return -1;
    const int row = table.ListIndex();
    return row >= 0 && row < table.ListCount() ? row : -1;
}

} // namespace

// A mark is one step from the press to the release: the press starts a gesture and every
// mouse step of it pushes a MarkCommand of that gesture, which the undo stack merges into one.
bool OvEditorWindow::PreviewCanvas_MoreMouseDown(int x, int y) {
    m_markGesture = 0;
    const int row = markedRow(*PreviewCanvas, *thisListBox, x, y);
    if (row < 0 || !thisListBox->commitPendingEdit())
        return false;
    setCursor(MapCursors::current(MapCursors::MapHover));
    m_markGesture = ++m_gestures;
    // The entry becomes a point at the mouse: the first corner, and the second where it starts.
    pushStep(new MarkCommand(*this, m_document.entryAt(row), {x, y, x, y}, m_markGesture));
    showRectReadout({x, y, x, y});
    PreviewCanvas->Refresh();
    return true;
}

bool OvEditorWindow::PreviewCanvas_MoreMouseDrag(int x, int y) {
    const int row = markedRow(*PreviewCanvas, *thisListBox, x, y);
    if (row < 0)
        return true; // no mark: the picture may be dragged out
    if (m_markGesture == 0)
        return false; // the press did not start a mark (a refused cell is still open)
    setCursor(MapCursors::current(MapCursors::MarkDrag));
    // The corners are kept as the mouse gave them, also right-to-left or bottom-to-top.
    const ov::EntryRef entry = m_document.entryAt(row);
    const ov::Rect& r = m_document.rect(entry);
    const ov::Rect marked{r[0], r[1], x, y};
    pushStep(new MarkCommand(*this, entry, marked, m_markGesture));
    showRectReadout(marked);
    PreviewCanvas->Refresh();
    return false;
}

void OvEditorWindow::PreviewCanvas_MouseEnter() {
    setCursor(MapCursors::current(MapCursors::MapHover));
}

void OvEditorWindow::PreviewCanvas_MouseExit() {
    setCursor(Qt::ArrowCursor);
    MapReadout->clear();
}

void OvEditorWindow::PreviewCanvas_PointerMoved(int x, int y) {
    MapReadout->setText(QStringLiteral("x %1, y %2").arg(x).arg(y));
}

void OvEditorWindow::showRectReadout(const ov::Rect& r) {
    const auto extent = [](std::int32_t a, std::int32_t b) { return std::abs(std::int64_t{b} - a) + 1; };
    MapReadout->setText(QStringLiteral("x1 %1, y1 %2 - x2 %3, y2 %4 (%5 x %6)")
                            .arg(r[0])
                            .arg(r[1])
                            .arg(r[2])
                            .arg(r[3])
                            .arg(extent(r[0], r[2]))
                            .arg(extent(r[1], r[3])));
}

namespace {

// The part of `delta` that keeps every one of `values` within 1..kMaxCoordinate: a rectangle
// pushed against the edge stops there instead of changing shape or becoming unset (0).
int limitedDelta(int delta, std::initializer_list<std::int32_t> values) {
    for (const std::int32_t value : values) {
        if (delta < 0)
            delta = std::max<std::int64_t>(delta, std::int64_t{1} - value);
        else
            delta = static_cast<int>(
                std::min<std::int64_t>(delta, std::int64_t{ov::rules::kMaxCoordinate} - value));
    }
    return delta;
}

} // namespace

void OvEditorWindow::PreviewCanvas_Nudge(int dx, int dy, bool resize) {
    if (!tableActive(*thisListBox))
        return;
    const int row = thisListBox->ListIndex();
    if (row < 0 || row >= thisListBox->ListCount() || !thisListBox->commitPendingEdit())
        return;
    const ov::EntryRef entry = m_document.entryAt(row);
    ov::Rect r = m_document.rect(entry);
    // An unset rectangle (a 0 coordinate) has no place to move from: it is marked with the mouse.
    if (r[0] == 0 || r[1] == 0 || r[2] == 0 || r[3] == 0) {
        Beep();
        return;
    }
    if (resize) {
        dx = limitedDelta(dx, {r[2]});
        dy = limitedDelta(dy, {r[3]});
    } else {
        dx = limitedDelta(dx, {r[0], r[2]});
        dy = limitedDelta(dy, {r[1], r[3]});
        r[0] += dx;
        r[1] += dy;
    }
    r[2] += dx;
    r[3] += dy;
    if (dx == 0 && dy == 0)
        return;
    const bool goesOn = m_nudgeGesture != 0 && m_nudgeEntry == entry &&
                        m_nudgeIndex == m_undoStack->index() && m_nudgeClock.isValid() &&
                        m_nudgeClock.elapsed() <= kNudgeBurstMs;
    if (!goesOn)
        m_nudgeGesture = ++m_gestures;
    pushStep(new MarkCommand(*this, entry, r, m_nudgeGesture, "Move"));
    m_nudgeEntry = entry;
    m_nudgeIndex = m_undoStack->index();
    m_nudgeClock.restart();
    showRectReadout(r);
    PreviewCanvas->Refresh();
}

void OvEditorWindow::PushButtonRedraw_Action() {
    PreviewCanvas->Refresh();
}

void OvEditorWindow::PushButtonUnselect_Action() {
    // Only the selection changes; the table's change event repaints the map.
    for (int row = 0; row <= thisListBox->ListCount() - 1; ++row)
        thisListBox->setSelected(row, false);
}
