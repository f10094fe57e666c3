#include "GuiTestSupport.h"
#include "PictureFixtures.h"
#include "map/OvPictCanvas.h"
#include "windows/OvEditorWindow.h"

#include <QDir>

#include <limits>

using namespace fixtures;

namespace {

class IntrfaceReaderTest : public GuiTest {};

// Each read asks, because the one before forgot the file.
TEST_F(IntrfaceReaderTest, FailuresThatForgetTheFile) {
    const QString folder = tempDir() + QStringLiteral("/a folder");
    QDir().mkpath(folder);
    struct Case {
        QString chosen;
        QString message;
    } cases[] = {
        {writeFile(tempDir() + QStringLiteral("/empty.brm"), demo::Bytes{}),
         QStringLiteral("sorry, file is empty.")},
        {writeFile(tempDir() + QStringLiteral("/count-only.brm"), demo::Bytes{20, 0, 0, 0}),
         QStringLiteral("sorry, file is empty.")},
        {writeFile(tempDir() + QStringLiteral("/three.brm"), demo::Bytes{20, 0, 0}),
         QStringLiteral("sorry, file is empty.")},
        {hugeFile(tempDir() + QStringLiteral("/huge.brm")),
         QStringLiteral("sorry, file is larger than 64 MB.")},
        {folder, QStringLiteral("please select a single file.")},
        {QString(), QString()},
    };
    OvEditorWindow* w = newFromScratch();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        script().messages.clear();
        readMap(*w, Source::Intrface, 1013, c.chosen);
        EXPECT_EQ(script().messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(app().OvIntrfaceFileAbsolutePath.isEmpty());
        EXPECT_EQ(w->PreviewCanvas->size(), QSize(314, 491));
    }
    EXPECT_EQ(script().openRequests.size(), std::size(cases));
}

// Failures inside a file that was read keep it: the next read goes to it without a dialog. (Each
// directory fault's message is the container's own; here: the editor's path for each kind.)
TEST_F(IntrfaceReaderTest, ShortCountsAndHostileIDsFailCleanlyAndKeepTheFile) {
    demo::Bytes bytes = demo::buildBrmContainer(std::vector<demo::Rgb>(13));
    const QString counted = writeFile(tempDir() + QStringLiteral("/Intrface.brm"), bytes);
    bytes[0] = 2000 & 0xFF; // a count past the directory's end
    bytes[1] = 2000 >> 8;
    const QString many = writeFile(tempDir() + QStringLiteral("/many/Intrface.brm"), bytes);
    const QString notInFile = QStringLiteral("sorry, picture not in file.");
    const struct {
        QString path;
        int id;
        QString message;
    } cases[] = {
        {counted, 1013, notInFile}, // a count short of the picture
        {counted, 1012, QStringLiteral("memory overflow when creating picture.")}, // no pixels
        {many, std::numeric_limits<int>::min(), notInFile},
        {many, std::numeric_limits<int>::max(), notInFile},
    };
    OvEditorWindow* w = newFromScratch();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        app().OvIntrfaceFileAbsolutePath = c.path;
        script().messages.clear();
        w->ReadPictureFromIntrface(w->PreviewCanvas, c.id);
        EXPECT_EQ(script().messages, QStringList{c.message});
        EXPECT_EQ(app().OvIntrfaceFileAbsolutePath, c.path);
        EXPECT_TRUE(w->PreviewCanvas->MasterBackground.isNull());
    }
    EXPECT_TRUE(script().openRequests.empty());
}

} // namespace
