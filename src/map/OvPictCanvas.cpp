#include "map/OvPictCanvas.h"

#include "map/MapCursors.h"
#include "platform/Dialogs.h"

#include <QBuffer>
#include <QDrag>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QUrl>
#include <QtMath>

namespace {

const auto kUnreadablePicture = QStringLiteral("sorry, picture not found or memory overflow.");

// The pixel under the mouse: positions may be fractional on scaled screens.
QPoint pixelAt(const QPointF& position) {
    return {qFloor(position.x()), qFloor(position.y())};
}

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
    resize(kMapWidth, kMapHeight);
    m_dragRunner = [](QDrag& drag) { drag.exec(Qt::CopyAction); };
    Event_Open();
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
    return x >= 0 && x < width() && y >= 0 && y < height();
}

bool OvPictCanvas::CoordinatesInsideGlobal(int x, int y) const {
    return x >= this->x() && x < this->x() + width() && y >= this->y() && y < this->y() + height();
}

QImage OvPictCanvas::NewBackgroundBuffer(int width, int height) const {
    if (width <= 0 || height <= 0)
        return {};
    if (m_layer.isNull() || m_layer.size() != QSize(width, height) ||
        m_layerKey != MasterBackground.cacheKey()) {
        QImage layer(width, height, QImage::Format_RGB16);
        if (layer.isNull())
            return {};
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
    // A deep copy: the caller draws into it, the layer stays clean.
    return m_layer.copy();
}

void OvPictCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    Q_EMIT Paint(painter);
}

// --- mouse ---

void OvPictCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_buttonDown = true;
    const QPoint p = pixelAt(event->position());
    m_pressPoint = p;
    Event_MouseDown(p.x(), p.y());
    event->accept();
}

void OvPictCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!m_buttonDown || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint p = pixelAt(event->position());
    Event_MouseDrag(p.x(), p.y());
    event->accept();
}

void OvPictCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_buttonDown = false;
    QWidget::mouseReleaseEvent(event);
}

bool OvPictCanvas::Event_MouseDown(int x, int y) {
    Q_EMIT MoreMouseDown(x, y);
    // Whatever the window did with it, the press is ours, so the drag events that follow come here.
    return true;
}

void OvPictCanvas::Event_MouseDrag(int x, int y) {
    // Inside, the window decides (false while it marks); leaving the canvas always drags the picture.
    const bool goAhead = CoordinatesInsideLocal(x, y) ? MoreMouseDrag(x, y) : true;
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
