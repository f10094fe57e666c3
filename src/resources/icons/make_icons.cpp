// Draws the program icon at every size the desktop asks for and writes mapquill-<size>.png.
// Drawn in vector form at each size (not scaled from one bitmap), so small sizes stay crisp.
// Build and run: ./make_icons.sh
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// Everything is designed on a 256-unit square and scaled by the painter.
void drawIcon(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);

    // Tile: deep teal with a soft top light.
    QLinearGradient tile(0, 0, 0, 256);
    tile.setColorAt(0.0, QColor(0x2f, 0x7f, 0x86));
    tile.setColorAt(1.0, QColor(0x16, 0x4a, 0x52));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // The map sheet, folded in three panels, slightly tilted.
    p.save();
    p.translate(128, 136);
    p.rotate(-6);
    const QPolygonF panels[3] = {
        QPolygonF({QPointF(-86, -74), QPointF(-30, -84), QPointF(-30, 80), QPointF(-86, 90)}),
        QPolygonF({QPointF(-30, -84), QPointF(28, -74), QPointF(28, 90), QPointF(-30, 80)}),
        QPolygonF({QPointF(28, -74), QPointF(84, -84), QPointF(84, 80), QPointF(28, 90)}),
    };
    const QColor paper[3] = {QColor(0xf3, 0xe6, 0xc2), QColor(0xe4, 0xd3, 0xa8), QColor(0xf3, 0xe6, 0xc2)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(paper[i]);
        p.setPen(QPen(QColor(0x6b, 0x55, 0x32), 3));
        p.drawPolygon(panels[i]);
    }
    // Sea in the lower left, a river across, a green wood.
    QPainterPath sea;
    sea.moveTo(-84, 30);
    sea.cubicTo(-60, 36, -50, 62, -30, 66);
    sea.lineTo(-30, 80);
    sea.lineTo(-84, 88);
    sea.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6f, 0xa8, 0xc9));
    p.drawPath(sea);
    QPainterPath river;
    river.moveTo(-58, 44);
    river.cubicTo(-30, 10, 0, 30, 20, -10);
    river.cubicTo(36, -40, 60, -30, 80, -60);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x3f, 0x7f, 0xb0), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(river);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7b, 0xa0, 0x5b));
    p.drawEllipse(QPointF(-50, -40), 20, 15);
    p.drawEllipse(QPointF(50, 40), 16, 12);
    // The overlay: a red outlined rectangle, as the editor draws it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 12, 12), 7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(-6, -50, 58, 52));
    p.restore();

    // The quill, across the upper right.
    p.save();
    p.translate(176, 86);
    p.rotate(38);
    QPainterPath vane;
    vane.moveTo(0, -78);
    vane.cubicTo(30, -50, 26, 10, 4, 56);
    vane.lineTo(-4, 56);
    vane.cubicTo(-26, 10, -30, -50, 0, -78);
    QLinearGradient feather(-24, 0, 24, 0);
    feather.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
    feather.setColorAt(1.0, QColor(0xd6, 0xdd, 0xe6));
    p.setBrush(feather);
    p.setPen(QPen(QColor(0x2b, 0x33, 0x3d), 3));
    p.drawPath(vane);
    p.setPen(QPen(QColor(0x2b, 0x33, 0x3d), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -66), QPointF(0, 84));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x33, 0x3d));
    p.drawPolygon(QPolygonF({QPointF(-4, 78), QPointF(4, 78), QPointF(0, 98)}));
    p.restore();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.scale(size / 256.0, size / 256.0);
        drawIcon(painter);
        painter.end();
        const QString file = QStringLiteral("%1/mapquill-%2.png").arg(folder).arg(size);
        if (!image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
