#include "MapTestTables.h"

#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

namespace MapTest {

void fillModel(OvDataListBox& table, int ops, int battles) {
    auto model = std::make_unique<ov::OvDataModel>();
    ov::OvDataModel& m = *model;
    m.InitProperties();
    m.OvResourceID = 1013;
    m.OvNumberOfSectors = 1;
    m.SectorID[0] = 1;
    m.SectorName[0] = std::string("S");
    m.SectorNumberOfOps[0] = ops;
    for (int o = 0; o < ops; ++o) {
        const auto os = static_cast<std::size_t>(o);
        m.OpsID[0][os] = 10 + o;
        // Built with append: g++ 12 at -O3 warns falsely about "literal" + std::string.
        m.OpsName[0][os] = std::string("Ops ").append(std::to_string(o));
        m.OpsNumberOfBattles[0][os] = battles;
        for (int b = 0; b < battles; ++b) {
            const auto bs = static_cast<std::size_t>(b);
            m.BatID[0][os][bs] = (10 + o) * 10 + b;
            m.BatName[0][os][bs] =
                std::string("Bat ").append(std::to_string(o)).append(".").append(std::to_string(b));
            std::string tail(3, '\0');
            if (b < 3)
                tail[bs] = 1;
            m.BatTail[0][os][bs] = tail;
        }
    }
    auto* window = qobject_cast<OvEditorWindow*>(table.window());
    window->document().reset(m);
    table.PutDataToListBox();
}

void setRect(OvDataListBox& table, int row, int x1, int y1, int x2, int y2) {
    int column = OvDataListBox::ColX1;
    for (const int value : {x1, y1, x2, y2})
        table.userFinishedEdit(row, column++, QString::number(value));
}

QRgb in16Bits(QRgb colour) {
    QImage pixel(1, 1, QImage::Format_RGB16);
    pixel.fill(QColor::fromRgb(colour));
    return pixel.pixel(0, 0);
}

QImage markedPicture(int width, int height, QRgb fill) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(fill);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(width - 1, height - 1, qRgb(0, 0, 255));
    return picture;
}

QString pixelsOtherThan(const QImage& image, QRgb background) {
    QStringList found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                found << QStringLiteral("%1,%2").arg(x).arg(y);
    return found.join(QLatin1Char(' '));
}

void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    const QPointF local(at);
    QMouseEvent event(type, local, local, widget->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void press(QWidget* widget, QPoint at) {
    mouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}

void drag(QWidget* widget, QPoint to) {
    mouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
}

void release(QWidget* widget, QPoint at) {
    mouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void MapWindowTest::SetUp() {
    GuiTest::SetUp();
    window = newFromScratch();
    ASSERT_NE(window, nullptr);
    table = window->thisListBox;
    canvas = window->PreviewCanvas;
    fillModel(*table, 2, 3);
    ASSERT_EQ(table->ListCount(), 9);
    window->setModified(false);
}

QImage MapWindowTest::shot() {
    const QImage image = window->GetCanvasScreenshot();
    EXPECT_FALSE(image.isNull());
    return image.convertToFormat(QImage::Format_RGB32);
}

QString MapWindowTest::rect(int row) const {
    QStringList cells;
    for (int column = OvDataListBox::ColX1; column <= OvDataListBox::ColY2; ++column)
        cells << table->Cell(row, column);
    return cells.join(QLatin1Char(' '));
}

} // namespace MapTest
