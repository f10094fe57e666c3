#include "GuiTestSupport.h"
#include "graphics/MapPictureFiles.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"
#include "windows/OvReloadWindow.h"

#include <QPushButton>

#include <cstdlib>

namespace {

QString demoMap(const char* name) {
    return QStringLiteral(MQ_EXAMPLES_DIR "/maps/") + QString::fromLatin1(name);
}

// The container keeps 5-6-5 colours, the PICTs 8-bit ones: the same picture within 7 a channel.
bool sameMap(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); y += 7)
        for (int x = 0; x < a.width(); x += 5) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > 7 || std::abs(p.green() - q.green()) > 7 ||
                std::abs(p.blue() - q.blue()) > 7)
                return false;
        }
    return true;
}

TEST(DemoMaps, EveryCarrierOfTheDemoUIHoldsTheSamePicturesAsTheContainer) {
    const QSize sizes[] = {{314, 491}, {314, 491}, {314, 491}, {314, 491}, {200, 300}, {64, 64}};
    for (const char* ui : {"mac/UI", "mac/UI.bin", "mac/UI.hqx"}) {
        SCOPED_TRACE(ui);
        for (int id = 1013; id <= 1018; ++id) {
            SCOPED_TRACE(id);
            const MapPicture fromUi = MapPictureFiles::readUiPicture(demoMap(ui), id);
            const MapPicture fromBrm = MapPictureFiles::readIntrfacePicture(demoMap("Intrface.brm"), id);
            ASSERT_TRUE(fromUi.ok()) << fromUi.message.toStdString();
            ASSERT_TRUE(fromBrm.ok()) << fromBrm.message.toStdString();
            EXPECT_EQ(fromUi.image.size(), sizes[id - 1013]);
            EXPECT_TRUE(sameMap(fromUi.image, fromBrm.image));
        }
        EXPECT_FALSE(MapPictureFiles::readUiPicture(demoMap(ui), 1019).ok());
    }
    const MapPicture png = MapPictureFiles::readPictureFile(demoMap("OverviewMap.png"));
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.image.convertToFormat(QImage::Format_RGB888),
              MapPictureFiles::readUiPicture(demoMap("mac/UI.bin"), 1013)
                  .image.convertToFormat(QImage::Format_RGB888));
    const MapPicture small = MapPictureFiles::readPictureFile(demoMap("SmallMap.png"));
    EXPECT_EQ(small.image.size(), QSize(200, 300));
}

class DemoMapsInTheEditor : public GuiTest {};

// The demo's own walk-through: "OvData0" with its map from 'Intrface.brm', then the same map from
// 'UI' through the reload dialog.
TEST_F(DemoMapsInTheEditor, OvData0ShowsItsMapFromBothGameFiles) {
    app().gUseFileUI = false;
    script().openAnswers = {example("OvData0"), demoMap("Intrface.brm")};
    app().OvWindowInit(0);
    OvEditorWindow* w = app().OvWindow[0];
    ASSERT_NE(w, nullptr);
    const QImage fromBrm = w->PreviewCanvas->MasterBackground;
    EXPECT_EQ(fromBrm.size(), QSize(314, 491));

    script().modalAnswers.push_back([](QDialog& d) {
        static_cast<OvReloadWindow&>(d).PushButtonReloadUI->click();
        return d.result();
    });
    script().openAnswers.push_back(demoMap("mac/UI"));
    w->PushButtonReloadGraphics_Action();
    EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(sameMap(w->PreviewCanvas->MasterBackground, fromBrm));
    EXPECT_NE(w->PreviewCanvas->MasterBackground, fromBrm); // the 8-bit colours of the PICT
}

} // namespace
