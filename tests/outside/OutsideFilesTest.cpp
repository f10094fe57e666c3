// OvData files from outside the open dialogs: the command line's slot rule, bad files, files
// already open, and files dropped from the file manager on the About window and the table.
#include "GuiTestSupport.h"
#include "app/CommandLine.h"
#include "app/OpenFiles.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"
#include "windows/mainWindow.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

class OutsideFiles : public GuiTest {
protected:
    // A copy of example `name` at `relative` below this test's folder.
    QString copyOf(const char* name, const QString& relative) {
        const QString path = QDir(tempDir()).filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(QFile::copy(example(name), path)) << relative.toStdString();
        return path;
    }
    QString fileWith(const QString& relative, const QByteArray& bytes) {
        const QString path = QDir(tempDir()).filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Each good file's load asks for the map's 'UI' file; the user cancels it.
    void cancelPictureDialogs(int count) {
        for (int i = 0; i < count; ++i)
            script().openAnswers.push_back(QString());
    }
    OvEditorWindow* slot(int index) { return app().OvWindow[static_cast<std::size_t>(index)]; }
    int openSlots() {
        int count = 0;
        for (int i = 0; i < 10; ++i)
            count += slot(i) ? 1 : 0;
        return count;
    }
    // Drops `files` on `target` as the file manager would; true when the drop was taken.
    static bool dropFiles(QWidget* target, const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(QPoint(20, 20), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(20, 20), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction); // the file manager must never move the file
        QCoreApplication::processEvents();            // the files open once the drop has finished
        return drop.isAccepted();
    }
};

} // namespace

TEST(CommandLine, FilesBecomeAbsolutePathsInOrderAndWrongOptionsAreRefused) {
    const struct {
        QStringList arguments;
        QStringList files;
        const char* error;
    } cases[] = {
        {{u"mapquill"_s}, {}, ""},
        {{u"mapquill"_s, u"OvData1"_s, u"sub/../maps/OvData2"_s},
         {u"/base/OvData1"_s, u"/base/maps/OvData2"_s},
         ""},
        {{u"mapquill"_s, u"/abs/OvData9"_s, u"x"_s}, {u"/abs/OvData9"_s, u"/base/x"_s}, ""},
        {{u"mapquill"_s, u"--"_s, u"-odd name"_s}, {u"/base/-odd name"_s}, ""},
        {{u"mapquill"_s, u"--bogus"_s, u"OvData1"_s}, {}, "Unknown option 'bogus'."},
    };
    for (const auto& c : cases) {
        const CommandLine::Parsed parsed = CommandLine::parse(c.arguments, u"/base"_s);
        EXPECT_EQ(parsed.files, c.files) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.error, QString::fromLatin1(c.error)) << c.arguments.join(u' ').toStdString();
        EXPECT_FALSE(parsed.exit);
    }
}

TEST(CommandLine, SlotsGoToTheFilesDigitWhenFreeElseToTheLowestFreeSlot) {
    const auto taken = [](std::initializer_list<int> slots) {
        std::array<bool, 10> result{};
        for (int s : slots)
            result[static_cast<std::size_t>(s)] = true;
        return result;
    };
    const struct {
        QStringList files;
        std::array<bool, 10> taken;
        std::vector<int> slots;
    } cases[] = {
        {{u"/a/OvData3"_s, u"/a/OvData1"_s}, taken({}), {3, 1}},
        // An unnumbered file earlier in the list does not take a later file's slot.
        {{u"/a/map"_s, u"/a/OvData0"_s}, taken({}), {1, 0}},
        // A taken digit slot, or a digit claimed twice: the lowest free slot.
        {{u"/a/OvData4"_s, u"/b/OvData4"_s, u"/a/x"_s}, taken({0, 4}), {1, 2, 3}},
        {{u"/a/OvData4"_s}, taken({4}), {0}},
        // Only the last character counts, and only in the file's name.
        {{u"/d9/file"_s, u"/a/OvData12"_s}, taken({}), {0, 2}},
        {{u"/a/f"_s, u"/a/g"_s}, taken({0, 1, 2, 3, 4, 5, 6, 7, 8}), {9, -1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenFiles::assignSlots(c.files, c.taken), c.slots) << c.files.join(u' ').toStdString();
}

TEST_F(OutsideFiles, EachFileOpensInItsSlotAsAfterTheOpenDialog) {
    OvEditorWindow* scratch = newFromScratch(); // takes slot 4
    ASSERT_EQ(scratch, slot(4));
    const QStringList files = {copyOf("OvData1", u"a/OvData4"_s), copyOf("OvData2", u"b/mine"_s),
                               copyOf("OvData3", u"c/OvData0"_s)};
    cancelPictureDialogs(3);
    OpenFiles::open(files);

    EXPECT_EQ(slot(4), scratch);
    const struct {
        int slot;
        int resourceId;
    } expected[] = {{0, 1016}, {1, 1014}, {2, 1015}};
    for (const auto& e : expected) {
        OvEditorWindow* window = slot(e.slot);
        ASSERT_NE(window, nullptr) << e.slot;
        EXPECT_EQ(window->windowTitle().remove(u"[*]"_s), u"OvData%1"_s.arg(e.slot));
        EXPECT_EQ(window->myWindowIndex, e.slot);
        EXPECT_EQ(window->document().model().OvResourceID, e.resourceId) << e.slot;
        EXPECT_GT(window->thisListBox->ListCount(), 0);
        EXPECT_FALSE(window->isModified());
        EXPECT_TRUE(window->isVisible());
        // The buttons of the slot, as the Open commands give them.
        EXPECT_EQ(window->PushButtonAddSector->isEnabled(), e.slot == 0);
        EXPECT_EQ(window->PushButtonBatnames->isEnabled(), e.slot == 0);
    }
    // Each load asked for the map picture as usual, and nothing else was asked.
    ASSERT_EQ(script().openRequests.size(), 3u);
    for (const FileDialogRequest& request : script().openRequests)
        EXPECT_EQ(request.title, u"Select file UI"_s);
    EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join(u"; "_s).toStdString();

    // A file that is open already comes forward instead of opening twice.
    OpenFiles::open({QDir(tempDir()).filePath(u"b/../b/mine"_s)});
    EXPECT_EQ(openSlots(), 4);
    EXPECT_EQ(app().Window(0), slot(2));
}

TEST_F(OutsideFiles, BadFilesGiveTheUsualMessageAndLeaveNoWindow) {
    const QString good = copyOf("OvData1", u"OvData7"_s);
    const struct {
        QString path;
        const char* message;
    } cases[] = {
        {QDir(tempDir()).filePath(u"missing/OvData5"_s), "sorry, file failed to open"},
        {tempDir(), "please select a single file"},
        {fileWith(u"OvData2"_s, QByteArray()), "file is empty"},
        {fileWith(u"notes.txt"_s, "hello, this is no OvData file at all"), "no valid 'OvDa' header found"},
    };
    for (const auto& c : cases) {
        script().clear();
        OpenFiles::open({c.path});
        EXPECT_EQ(script().messages, QStringList{QString::fromLatin1(c.message)}) << c.path.toStdString();
        EXPECT_EQ(openSlots(), 0) << c.path.toStdString();
    }
    // Bad files among good ones cost the good ones nothing.
    script().clear();
    cancelPictureDialogs(1);
    OpenFiles::open({cases[0].path, good});
    EXPECT_EQ(script().messages, QStringList{u"sorry, file failed to open"_s});
    ASSERT_NE(slot(7), nullptr);
    EXPECT_EQ(slot(7)->document().model().OvResourceID, 1014);
}

TEST_F(OutsideFiles, WithEverySlotOpenTheUsualMessageIsShownOnce) {
    QStringList files;
    for (int i = 0; i < 12; ++i)
        files << copyOf("OvData1", u"f%1/data"_s.arg(i));
    cancelPictureDialogs(10);
    OpenFiles::open(files);
    EXPECT_EQ(openSlots(), 10);
    EXPECT_EQ(script().messages, QStringList{u"sorry, only up to 9 OvData-files are possible."_s});
}

TEST_F(OutsideFiles, FilesDroppedOnTheAboutWindowOrTheTableOpenAndThePictureDropKeepsItsMeaning) {
    mainWindow* about = app().aboutWindow();
    about->show();
    const QString first = copyOf("OvData2", u"OvData2"_s);
    const QString second = copyOf("OvData3", u"x/OvData3"_s);
    const QString third = copyOf("OvData1", u"y/OvData1"_s);

    // The About window, on its background and on the help text (which would otherwise take the
    // file's name as text).
    const QString help = about->EditFieldMainHelp->toPlainText();
    cancelPictureDialogs(2);
    EXPECT_TRUE(dropFiles(about, {first}));
    EXPECT_TRUE(dropFiles(about->EditFieldMainHelp->viewport(), {second}));
    EXPECT_EQ(about->EditFieldMainHelp->toPlainText().toStdString(), help.toStdString());
    ASSERT_NE(slot(2), nullptr);
    ASSERT_NE(slot(3), nullptr);
    EXPECT_EQ(slot(3)->document().model().OvResourceID, 1016);

    // An editing window's table.
    cancelPictureDialogs(1);
    EXPECT_TRUE(dropFiles(slot(2)->thisListBox->viewport(), {third}));
    ASSERT_NE(slot(1), nullptr);
    EXPECT_EQ(slot(1)->document().model().OvResourceID, 1014);
    EXPECT_EQ(openSlots(), 3);

    // The table takes files only: text or a remote address is refused and changes no cell.
    QMimeData text;
    text.setText(u"renamed"_s);
    text.setUrls({QUrl(u"https://example.org/OvData1"_s)});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(slot(2)->thisListBox->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());

    // On the map an OvData file is no picture: refused, nothing opens. A picture still becomes the map.
    OvPictCanvas* map = slot(2)->PreviewCanvas;
    EXPECT_FALSE(dropFiles(map, {copyOf("OvData0", u"z/OvData0"_s)}));
    EXPECT_EQ(openSlots(), 3);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const QString png = QDir(tempDir()).filePath(u"map.png"_s);
    ASSERT_TRUE(picture.save(png, "PNG"));
    EXPECT_TRUE(dropFiles(map, {png}));
    EXPECT_EQ(map->MasterBackground.pixel(5, 5), qRgb(10, 200, 30));
    EXPECT_EQ(openSlots(), 3);
    EXPECT_TRUE(script().messages.isEmpty()) << script().messages.join(u"; "_s).toStdString();
}
