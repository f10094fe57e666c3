#include "table/TablePictures.h"

#include "resources/Resources.h"

namespace {
QImage load(const char* name, qreal ratio) {
    QImage image(QStringLiteral(":/table/") + QString::fromLatin1(name));
    image.setDevicePixelRatio(ratio);
    return image;
}
} // namespace

TablePictures::TablePictures() {
    initResources();
    m_eyeOpen = load("theeyeopen.png", 1.0);
    m_eyeOpen2x = load("theeyeopen@2x.png", 2.0);
    m_eyeMissing = load("theeyemissing.png", 1.0);
    m_eyeMissing2x = load("theeyemissing@2x.png", 2.0);
    m_bar = load("imageBlueBarLeopard.png", 1.0);
    m_bar2x = load("imageBlueBarLeopard@2x.png", 2.0);
}

const TablePictures& TablePictures::instance() {
    static const TablePictures pictures;
    return pictures;
}
