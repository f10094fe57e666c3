#include "map/OvPictCanvas.h"

#include "map/MapCursors.h"
#include "platform/Dialogs.h"

#include <QBuffer>
#include <QDrag>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <QWheelEvent>
#include <QtMath>

#include <algorithm>

namespace {

const auto kUnreadablePicture = QStringLiteral("sorry, picture not found or memory overflow.");

// A mark this close to the viewport's edge (view pixels) scrolls the view, this much per step
// and this often while the mouse stays there.
constexpr int kEdgeBand = 12;
constexpr int kEdgeStep = 16;
constexpr int kEdgeInterval = 40;
// One wheel notch scrolls this many view pixels.
constexpr int kWheelStep = 48;

bool isImageFormat(const QString& mimeType) {
    return mimeType.startsWith(QLatin1String("image/"));
}

// The first dropped local file that Qt can read as a picture (checked by its content, not its name).
QString firstImageFile(const QMimeData* mime) {
    if (!mime->hasUrls())
        return {};
    const QList<QUrl> urls = mime->urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isFile() && QImageReader(path).canRead())
            return path;
    }
    return {};
}

// Takes the picture as a copy where the source allows it, else as whatever the source proposes:
// the source's data is never ours to move.
void acceptAsCopy(QDropEvent* event) {
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

} // namespace

OvPictCanvas::OvPictCanvas(QWidget* parent) : QWidget(parent) {
    // Every paint covers the whole canvas, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button feed the read-out of the pixel under the mouse.
    setMouseTracking(true);
    resize(kMapWidth, kMapHeight);
    m_dragRunner = [](QDrag& drag) { drag.exec(Qt::CopyAction); };
    m_hBar = new QScrollBar(Qt::Horizontal, this);
    m_vBar = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_hBar, m_vBar}) {
        bar->hide();
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (!m_syncingBars)
                setScroll({m_hBar->value(), m_vBar->value()});
        });
    }
    m_edgeTimer.setInterval(kEdgeInterval);
    connect(&m_edgeTimer, &QTimer::timeout, this, &OvPictCanvas::edgeScrollStep);
    updateView();
    Event_Open();
}

// --- zoom and scroll ---

QRect OvPictCanvas::viewport() const {
    return {QPoint(0, 0), m_view.viewport()};
}

void OvPictCanvas::setExtentSize(QSize size) {
    if (m_view.zoom() == 1) {
        resize(size);
        return;
    }
    m_extentSize = size;
    viewChanged();
}

void OvPictCanvas::updateView() {
    m_view.setExtent(m_extentSize);
    const bool zoomed = m_view.zoom() > 1;
    const int bar = zoomed ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
    m_view.setViewport(QSize(width() - bar, height() - bar));
    m_syncingBars = true;
    const QPoint most = m_view.maxScroll();
    m_hBar->setGeometry(0, height() - bar, width() - bar, bar);
    m_vBar->setGeometry(width() - bar, 0, bar, height() - bar);
    m_hBar->setRange(0, most.x());
    m_vBar->setRange(0, most.y());
    m_hBar->setPageStep(m_view.viewport().width());
    m_vBar->setPageStep(m_view.viewport().height());
    m_hBar->setSingleStep(m_view.zoom() * 4);
    m_vBar->setSingleStep(m_view.zoom() * 4);
    m_hBar->setValue(m_view.scroll().x());
    m_vBar->setValue(m_view.scroll().y());
    m_hBar->setVisible(zoomed);
    m_vBar->setVisible(zoomed);
    m_syncingBars = false;
}

void OvPictCanvas::viewChanged() {
    updateView();
    Refresh();
    Q_EMIT ViewChanged();
}

void OvPictCanvas::setZoomKeepingTopLeft(int zoom) {
    if (!MapView::isLevel(zoom) || zoom == m_view.zoom())
        return;
    m_view.zoomKeepingTopLeft(zoom);
    // The viewport shrinks by the scroll bars when they appear; the scroll keeps within it.
    updateView();
    m_view.setScroll(m_view.scroll());
    viewChanged();
}

void OvPictCanvas::setZoomAt(int zoom, QPointF anchor) {
    if (!MapView::isLevel(zoom) || zoom == m_view.zoom())
        return;
    // The scroll bars take their room first, so the anchor's pixel is kept in the final viewport.
    const QPoint pixel = m_view.mapPixelAt(anchor);
    const int before = m_view.zoom();
    MapView probe = m_view;
    probe.zoomAt(zoom, anchor);
    m_view = probe;
    updateView();
    if (m_view.mapPixelAt(anchor) != pixel) {
        m_view = probe;
        m_view.zoomAt(before, anchor); // back, then again in the final viewport
        updateView();
        m_view.zoomAt(zoom, anchor);
    }
    viewChanged();
}

void OvPictCanvas::setScroll(QPoint scroll) {
    const QPoint before = m_view.scroll();
    m_view.setScroll(scroll);
    if (m_view.scroll() != before)
        viewChanged();
}

void OvPictCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_view.zoom() == 1)
        m_extentSize = size();
    const QPoint before = m_view.scroll();
    updateView();
    if (m_view.scroll() != before)
        Q_EMIT ViewChanged();
}

void OvPictCanvas::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta == 0) {
        event->ignore();
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        const int zoom = delta > 0 ? MapView::levelAbove(m_view.zoom()) : MapView::levelBelow(m_view.zoom());
        setZoomAt(zoom, event->position());
        event->accept();
        return;
    }
    const int step = -delta * kWheelStep / 120;
    // Shift+wheel scrolls sideways (some platforms already turn it into a horizontal delta).
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || angle.y() == 0;
    const QPoint before = m_view.scroll();
    setScroll(before + (sideways ? QPoint(step, 0) : QPoint(0, step)));
    if (m_view.scroll() == before)
        event->ignore();
    else
        event->accept();
}

void OvPictCanvas::keyPressEvent(QKeyEvent* event) {
    QPoint direction;
    switch (event->key()) {
    case Qt::Key_Left:
        direction = {-1, 0};
        break;
    case Qt::Key_Right:
        direction = {1, 0};
        break;
    case Qt::Key_Up:
        direction = {0, -1};
        break;
    case Qt::Key_Down:
        direction = {0, 1};
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers & ~(Qt::ShiftModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event); // Ctrl+arrows and the like are not ours
        return;
    }
    const int step = (modifiers & Qt::ShiftModifier) ? 10 : 1;
    Q_EMIT NudgeRequested(direction.x() * step, direction.y() * step, (modifiers & Qt::AltModifier) != 0);
    event->accept();
}

bool OvPictCanvas::scrollTowardsEdge(QPointF at) {
    if (m_view.zoom() <= 1)
        return false;
    const QRect area = viewport();
    QPoint step;
    if (at.x() < area.left() + kEdgeBand)
        step.rx() = -kEdgeStep;
    else if (at.x() > area.right() - kEdgeBand)
        step.rx() = kEdgeStep;
    if (at.y() < area.top() + kEdgeBand)
        step.ry() = -kEdgeStep;
    else if (at.y() > area.bottom() - kEdgeBand)
        step.ry() = kEdgeStep;
    if (step.isNull())
        return false;
    const QPoint before = m_view.scroll();
    setScroll(before + step);
    return m_view.scroll() != before;
}

QPoint OvPictCanvas::markPixelAt(QPointF view) const {
    const QPoint p = m_view.mapPixelAt(view);
    if (!m_marking)
        return p;
    // A zoomed canvas larger than the zoomed map shows white beyond it: a mark going on there
    // stops at the map's edge instead of turning into a picture drag inside the canvas.
    return {std::clamp(p.x(), 0, std::max(0, m_extentSize.width() - 1)),
            std::clamp(p.y(), 0, std::max(0, m_extentSize.height() - 1))};
}

void OvPictCanvas::edgeScrollStep() {
    if (!m_buttonDown || !m_marking || !scrollTowardsEdge(m_lastDragPoint)) {
        m_edgeTimer.stop();
        return;
    }
    const QPoint p = markPixelAt(m_lastDragPoint);
    Event_MouseDrag(p.x(), p.y());
}

void OvPictCanvas::Event_Open() {
    AcceptPictureDrop();
}

void OvPictCanvas::AcceptPictureDrop() {
    setAcceptDrops(true);
}

void OvPictCanvas::setDragRunner(DragRunner runner) {
    m_dragRunner = std::move(runner);
}

bool OvPictCanvas::CoordinatesInsideLocal(int x, int y) const {
    return x >= 0 && x < m_extentSize.width() && y >= 0 && y < m_extentSize.height();
}

bool OvPictCanvas::CoordinatesInsideGlobal(int x, int y) const {
    return x >= this->x() && x < this->x() + width() && y >= this->y() && y < this->y() + height();
}

QImage OvPictCanvas::NewBackgroundBuffer(int width, int height) const {
    const QImage* layer = layerOfSize(width, height);
    // A deep copy: the caller draws into it, the layer stays clean.
    return layer ? layer->copy() : QImage();
}

QImage OvPictCanvas::BackgroundPart(const QRect& region) const {
    const QImage* layer = layerOfSize(m_extentSize.width(), m_extentSize.height());
    if (!layer || region.isEmpty())
        return {};
    return layer->copy(region);
}

const QImage* OvPictCanvas::layerOfSize(int width, int height) const {
    if (width <= 0 || height <= 0)
        return nullptr;
    if (m_layer.isNull() || m_layer.size() != QSize(width, height) ||
        m_layerKey != MasterBackground.cacheKey()) {
        QImage layer(width, height, QImage::Format_RGB16);
        if (layer.isNull())
            return nullptr;
        layer.fill(Qt::white);
        if (!MasterBackground.isNull()) {
            // One picture pixel is one buffer pixel, whatever scale the picture was made for.
            QImage picture = MasterBackground;
            if (picture.devicePixelRatio() != 1.0)
                picture.setDevicePixelRatio(1.0);
            QPainter painter(&layer);
            painter.drawImage(QPoint(0, 0), picture, QRect(0, 0, width, height));
        }
        m_layer = layer;
        m_layerKey = MasterBackground.cacheKey();
    }
    return &m_layer;
}

void OvPictCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    Q_EMIT Paint(painter);
}

// --- mouse ---

void OvPictCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && m_view.zoom() > 1) {
        m_panning = true;
        m_panFrom = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_buttonDown = true;
    m_marking = false;
    m_pressPoint = QPoint(qFloor(event->position().x()), qFloor(event->position().y()));
    const QPoint p = m_view.mapPixelAt(event->position());
    Event_MouseDown(p.x(), p.y());
    event->accept();
}

void OvPictCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (m_panning && (event->buttons() & Qt::MiddleButton)) {
        const QPointF delta = event->position() - m_panFrom;
        m_panFrom = event->position();
        setScroll(m_view.scroll() - delta.toPoint());
        event->accept();
        return;
    }
    const QPoint p = m_view.mapPixelAt(event->position());
    Q_EMIT PointerMoved(p.x(), p.y());
    if (!m_buttonDown || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_lastDragPoint = event->position();
    // Leaving the canvas drags the picture out, at every zoom: the test is the view's.
    if (!rect().contains(QPoint(qFloor(event->position().x()), qFloor(event->position().y())))) {
        m_edgeTimer.stop();
        if (!MasterBackground.isNull())
            startPictureDrag();
        event->accept();
        return;
    }
    const QPoint at = markPixelAt(event->position());
    Event_MouseDrag(at.x(), at.y());
    if (m_buttonDown && m_marking && scrollTowardsEdge(event->position())) {
        const QPoint q = markPixelAt(event->position());
        Event_MouseDrag(q.x(), q.y());
        m_edgeTimer.start();
    }
    event->accept();
}

void OvPictCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && m_panning) {
        m_panning = false;
        unsetCursor();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_buttonDown = false;
        m_marking = false;
        m_edgeTimer.stop();
    }
    QWidget::mouseReleaseEvent(event);
}

bool OvPictCanvas::Event_MouseDown(int x, int y) {
    // True from the window: a mark started, so the moves that follow are its steps.
    m_marking = Q_EMIT MoreMouseDown(x, y);
    // Whatever the window did with it, the press is ours, so the drag events that follow come here.
    return true;
}

void OvPictCanvas::Event_MouseDrag(int x, int y) {
    // Inside, the window decides (false while it marks); leaving the canvas always drags the picture.
    const bool goAhead = CoordinatesInsideLocal(x, y) ? MoreMouseDrag(x, y) : true;
    m_marking = !goAhead;
    if (goAhead && !MasterBackground.isNull())
        startPictureDrag();
}

void OvPictCanvas::startPictureDrag() {
    // The platform drag owns the mouse until the button goes up; no further drag steps reach us.
    m_buttonDown = false;
    // Qt owns the drag from here on: a drop into another process fetches the data only after
    // exec() has returned (on X11 when the target asks for it), so the drag and its mime data
    // must outlive this function. Qt deletes the drag once the target is done with it.
    auto* drag = new QDrag(this);
    drag->setMimeData(newPictureMimeData(MasterBackground));
    const QCursor cursor = MapCursors::current(MapCursors::PictureDrag);
    drag->setDragCursor(cursor.pixmap(), Qt::CopyAction);
    // The drag shows the canvas's rectangle with the map, at a third of its size so it does not
    // hide the drop target, held where the mouse went down.
    constexpr int kGhostScale = 3;
    QImage ghost(size() / kGhostScale, QImage::Format_ARGB32_Premultiplied);
    if (!ghost.isNull()) {
        ghost.fill(Qt::transparent);
        QPainter painter(&ghost);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(0.7);
        painter.drawImage(ghost.rect(), MasterBackground, rect());
        painter.setOpacity(1.0);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawRect(ghost.rect().adjusted(0, 0, -1, -1));
        painter.end();
        drag->setPixmap(QPixmap::fromImage(ghost));
        drag->setHotSpot(m_pressPoint / kGhostScale);
    }
    m_dragRunner(*drag);
}

void OvPictCanvas::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    Q_EMIT MouseEnter();
}

void OvPictCanvas::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Q_EMIT MouseExit();
}

// --- drag and drop ---

QMimeData* OvPictCanvas::newPictureMimeData(const QImage& picture) {
    auto* mime = new QMimeData;
    mime->setImageData(picture);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (picture.save(&buffer, "PNG"))
        mime->setData(QStringLiteral("image/png"), png);
    return mime;
}

bool OvPictCanvas::offersPicture(const QMimeData* mime) {
    if (!mime)
        return false;
    if (mime->hasImage())
        return true;
    const QStringList formats = mime->formats();
    for (const QString& format : formats)
        if (isImageFormat(format))
            return true;
    return !firstImageFile(mime).isEmpty();
}

QImage OvPictCanvas::pictureFromMimeData(const QMimeData* mime, bool* unreadable) {
    if (unreadable)
        *unreadable = false;
    if (!mime)
        return {};
    bool offered = false;
    if (mime->hasImage()) {
        offered = true;
        const QImage picture = qvariant_cast<QImage>(mime->imageData());
        if (!picture.isNull())
            return picture;
    }
    const QStringList formats = mime->formats();
    for (const QString& format : formats) {
        if (!isImageFormat(format))
            continue;
        offered = true;
        // QImage's reader refuses pictures above its allocation limit, so odd bytes cannot make
        // us allocate without bound.
        const QImage picture = QImage::fromData(mime->data(format));
        if (!picture.isNull())
            return picture;
    }
    if (const QString path = firstImageFile(mime); !path.isEmpty()) {
        offered = true;
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage picture = reader.read();
        if (!picture.isNull())
            return picture;
    }
    if (unreadable)
        *unreadable = offered;
    return {};
}

void OvPictCanvas::dragEnterEvent(QDragEnterEvent* event) {
    // Our own picture dropped back on us would change nothing.
    if (event->source() != this && offersPicture(event->mimeData())) {
        acceptAsCopy(event);
        return;
    }
    event->ignore();
}

void OvPictCanvas::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() != this && offersPicture(event->mimeData())) {
        acceptAsCopy(event);
        return;
    }
    event->ignore();
}

void OvPictCanvas::dropEvent(QDropEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return;
    }
    Event_DropObject(event->mimeData());
    acceptAsCopy(event);
}

void OvPictCanvas::Event_DropObject(const QMimeData* mime) {
    bool unreadable = false;
    const QImage picture = pictureFromMimeData(mime, &unreadable);
    if (!picture.isNull()) {
        setMap(picture);
        Refresh();
        return;
    }
    if (unreadable) {
        // Shown once the drop has finished: the program the drag came from waits for the answer.
        QPointer<OvPictCanvas> self = this;
        QMetaObject::invokeMethod(
            this, [self] { MsgBox(kUnreadablePicture, self ? self->window() : nullptr); },
            Qt::QueuedConnection);
    }
}
