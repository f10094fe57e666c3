#include "graphics/QtPictText.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// fontconfig's generic names; DejaVu answers them on Debian (fonts-dejavu-core).
QFont fontFor(const gfx::PictTextRun& run) {
    const std::string_view generic = gfx::genericFamily(run);
    QFont font;
    if (generic == "serif") {
        font.setFamily(QStringLiteral("serif"));
        font.setStyleHint(QFont::Serif);
    } else if (generic == "monospace") {
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
    } else {
        font.setFamily(QStringLiteral("sans-serif"));
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPixelSize(std::max(1, run.size));
    font.setBold((run.face & 1u) != 0);
    font.setItalic((run.face & 2u) != 0);
    font.setUnderline((run.face & 4u) != 0);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

gfx::PictTextRenderer qtPictTextRenderer() {
    return [](const gfx::PictTextRun& run, std::size_t maxPixels) -> gfx::PictTextMask {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || run.text.empty())
            return {};
        const QFont font = fontFor(run);
        const QString text = QString::fromStdString(run.text);
        const QFontMetrics metrics(font);
        // Everything the run can touch, relative to its start on the baseline: the glyphs' own
        // bounds, the advance, and the line from ascent to descent (where an underline goes).
        const QRect box = metrics.boundingRect(text).united(
            QRect(0, -metrics.ascent(), std::max(1, metrics.horizontalAdvance(text)),
                  metrics.ascent() + metrics.descent() + std::max(1, metrics.lineWidth()) + 1));
        const std::size_t pixels =
            static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(box.height());
        if (box.isEmpty() || pixels > maxPixels)
            return {};
        QImage image(box.size(), QImage::Format_Grayscale8);
        if (image.isNull())
            return {};
        image.fill(0);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(-box.left(), -box.top(), text);
        painter.end();
        gfx::PictTextMask mask;
        mask.left = box.left();
        mask.top = box.top();
        mask.width = box.width();
        mask.height = box.height();
        mask.coverage.resize(pixels);
        for (int y = 0; y < mask.height; ++y)
            std::memcpy(mask.coverage.data() +
                            static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width),
                        image.constScanLine(y), static_cast<std::size_t>(mask.width));
        return mask;
    };
}
