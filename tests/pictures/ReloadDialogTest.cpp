#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"
#include "windows/OvReloadWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <limits>

using namespace fixtures;

namespace {

// Each ID has its own colour in each file, so a test can tell which picture from which file landed.
QColor uiColour(int id) {
    return QColor(8 * (id - 1000), 40, 200);
}
QColor brmColour(int id) {
    return QColor(200, 8 * (id - 1000), 40);
}

class ReloadDialogTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        std::vector<demo::Rgb> ui, brm;
        for (int id = 1013; id <= 1016; ++id) {
            ui.push_back(picture(30 + id - 1013, 20, uiColour(id)));
            brm.push_back(picture(40 + id - 1013, 10, brmColour(id)));
        }
        m_ui = writeSource(tempDir(), Source::UI, ui);
        m_brm = writeSource(tempDir(), Source::Intrface, brm);
    }

    // The window of "OvData2" (picture ID 1015), its map read from the container at load time.
    OvEditorWindow* openOvData2() {
        app().gUseFileUI = false;
        script().openAnswers.push_back(example("OvData2"));
        script().openAnswers.push_back(m_brm);
        app().OvWindowInit(2);
        OvEditorWindow* w = app().OvWindow[2];
        EXPECT_EQ(w->PreviewCanvas->MasterBackground.pixelColor(5, 5), brmColour(1015));
        return w;
    }

    // Answers the reload dialog: optionally picks a popup row as the user would, then presses
    // `button` (none: the close box). Records what the dialog showed when it opened.
    void answer(QPushButton* OvReloadWindow::*button, int row = -1) {
        script().modalAnswers.push_back([this, button, row](QDialog& d) {
            auto* dialog = qobject_cast<OvReloadWindow*>(&d);
            EXPECT_NE(dialog, nullptr);
            if (!dialog)
                return 0;
            m_openedOnRow = dialog->PopupMenu1->currentIndex();
            m_loadFileWhenOpen = dialog->OvLoadFile;
            if (row >= 0) {
                dialog->PopupMenu1->setCurrentIndex(row);
                Q_EMIT dialog->PopupMenu1->activated(row);
            }
            if (button)
                (dialog->*button)->click();
            else
                dialog->close();
            return d.result();
        });
    }

    QString m_ui;
    QString m_brm;
    int m_openedOnRow = -2;
    int m_loadFileWhenOpen = -2;
};

// Whatever the setting says, the chosen button decides the source and the chosen row the picture;
// the file's own picture ID stays. Cancel and the close box load nothing.
TEST_F(ReloadDialogTest, StartsOnTheFilesPictureAndLoadsByTheChosenSourceAndRow) {
    const QString pict = writeFile(tempDir() + QStringLiteral("/outside.pict"), pictFile(picture(70, 90)));
    struct Case {
        QPushButton* OvReloadWindow::*button;
        int row;
        bool useFileUI;
        QString answer; // none: no file dialog
        int loadFile, loadID;
        QSize size;
        QColor colour;
    } cases[] = {
        {&OvReloadWindow::PushButtonReloadUI, -1, false, m_ui, 1, 1015, {32, 20}, uiColour(1015)},
        {&OvReloadWindow::PushButtonReloadIntrface, 0, true, {}, 0, 1013, {40, 10}, brmColour(1013)},
        {&OvReloadWindow::PushButtonReloadExternal, -1, true, pict, 2, 1015, {70, 90}, kFill},
        {&OvReloadWindow::PushButtonReloadCancel, 0, false, {}, -1, 1013, {42, 10}, brmColour(1015)},
        {nullptr, -1, true, {}, -1, 1015, {42, 10}, brmColour(1015)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        closeAllProgramWindows();
        script().clear();
        app().Event_Open();
        OvEditorWindow* w = openOvData2();
        app().gUseFileUI = c.useFileUI;
        const std::size_t asked = script().openRequests.size();
        answer(c.button, c.row);
        if (!c.answer.isEmpty())
            script().openAnswers.push_back(c.answer);
        w->PushButtonReloadGraphics_Action();

        EXPECT_EQ(m_openedOnRow, 2); // "1015 <nijm>"
        EXPECT_EQ(m_loadFileWhenOpen, -1);
        EXPECT_EQ(w->myLoadFile, c.loadFile);
        EXPECT_EQ(w->myLoadID, c.loadID);
        EXPECT_EQ(script().openRequests.size(), asked + (c.answer.isEmpty() ? 0u : 1u));
        EXPECT_EQ(w->PreviewCanvas->size(), c.size);
        EXPECT_EQ(w->PreviewCanvas->MasterBackground.pixelColor(5, 5), c.colour);
        EXPECT_EQ(w->thisListBox->document().model().OvResourceID, 1015);
        EXPECT_EQ(w->PopupMenuPICT->currentIndex(), 2);
        EXPECT_FALSE(w->isModified());
        EXPECT_TRUE(script().messages.isEmpty());
    }
}

TEST_F(ReloadDialogTest, ControlsTextsAndGeometry) {
    OvReloadWindow dialog(1016);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Re-Load Graphics from File"));
    EXPECT_EQ(dialog.size(), QSize(361, 153));
    EXPECT_EQ(dialog.PopupMenu1->currentIndex(), 3);
    EXPECT_EQ(dialog.OvLoadFile, -1);

    struct Control {
        QWidget* widget;
        const char* name;
        const char* text;
        QRect geometry;
    } controls[] = {
        {dialog.StaticTextReload1, "StaticTextReload1", "select resource picture:", {13, 13, 166, 21}},
        {dialog.PopupMenu1, "PopupMenu1", "1016 <eind>", {185, 11, 156, 20}},
        {dialog.StaticTextReload2, "StaticTextReload2", "select resource file:", {13, 73, 166, 21}},
        {dialog.PushButtonReloadIntrface,
         "PushButtonReloadIntrface",
         "from Intrface.brm...",
         {185, 58, 150, 20}},
        {dialog.PushButtonReloadUI, "PushButtonReloadUI", "from UI...", {185, 88, 150, 20}},
        {dialog.PushButtonReloadExternal,
         "PushButtonReloadExternal",
         "from external file...",
         {185, 118, 150, 20}},
        {dialog.PushButtonReloadCancel, "PushButtonReloadCancel", "Cancel", {57, 113, 69, 20}},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.widget->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(c.widget->geometry(), c.geometry);
        const auto* label = qobject_cast<QLabel*>(c.widget);
        const auto* button = qobject_cast<QPushButton*>(c.widget);
        const auto* popup = qobject_cast<QComboBox*>(c.widget);
        EXPECT_EQ(label    ? label->text()
                  : button ? button->text()
                           : popup->currentText(),
                  QString::fromLatin1(c.text));
        if (button) {
            EXPECT_FALSE(button->isDefault());
            EXPECT_FALSE(button->autoDefault());
        }
    }

    QStringList rows;
    for (int i = 0; i < dialog.PopupMenu1->count(); ++i)
        rows << dialog.PopupMenu1->itemText(i);
    EXPECT_EQ(rows.join(QLatin1Char('|')),
              QStringLiteral("1013 <over>|1014 <arnh>|1015 <nijm>|1016 <eind>|1017 <about>|1018 ppat/ext.|"
                             "1019 extension|1020 extension|1021 extension|1022 extension|1023 extension|"
                             "1024 extension"));
}

TEST_F(ReloadDialogTest, AnIDOutsideTheRowsShowsNoRowAndIsLoadedAsItIs) {
    OvEditorWindow* w = newFromScratch();
    w->document().setResourceID(1030);
    answer(&OvReloadWindow::PushButtonReloadIntrface);
    script().openAnswers.push_back(m_brm);
    w->PushButtonReloadGraphics_Action();
    EXPECT_EQ(m_openedOnRow, -1);
    EXPECT_EQ(w->myLoadID, 1030);
    EXPECT_EQ(script().messages, QStringList{QStringLiteral("sorry, picture not in file.")});

    // A hostile file's ID at the end of the Int32 range: still no row, still a clean message.
    w->document().setResourceID(std::numeric_limits<int>::min());
    answer(&OvReloadWindow::PushButtonReloadIntrface);
    w->PushButtonReloadGraphics_Action();
    EXPECT_EQ(m_openedOnRow, -1);
    EXPECT_EQ(script().messages.size(), 2);
}

TEST_F(ReloadDialogTest, OpensBesideTheButton) {
    OvEditorWindow* w = newFromScratch();
    QPoint where;
    script().modalAnswers.push_back([&where](QDialog& d) {
        where = d.pos();
        return 0;
    });
    w->PushButtonReloadGraphics_Action();
    const QPoint expected = w->PushButtonReloadGraphics->mapToGlobal(QPoint(130, -70));
    const QRect screen = w->screen()->availableGeometry();
    // Beside the button, unless that would leave the screen.
    if (screen.contains(QRect(expected, QSize(361, 153)))) {
        EXPECT_EQ(where, expected);
    }
    EXPECT_TRUE(screen.contains(QRect(where, QSize(361, 153))));
}

} // namespace
