// Loading, saving, exporting and the unsaved-edits question of an editing window.
#include "GuiTestSupport.h"

#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"
#include "platform/ColonPath.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include <limits>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class FileFlow : public GuiTest {
protected:
    void TearDown() override {
        ColonPath::setVolumeRootsForTesting({});
        GuiTest::TearDown();
    }
    // Loads the demo overview without asking for its map picture (no 'UI' file is known).
    OvEditorWindow* openOverview() {
        script().openAnswers.push_back(example("OvData0"));
        // The map reader asks for the 'UI' file after the load; the test cancels that dialog.
        script().openAnswers.push_back(QString());
        app().OvWindowInit(0);
        return app().OvWindow[0];
    }
};

TEST_F(FileFlow, TheOpenDialogNamesTheFileOfItsSlot) {
    const QString root = tempDir();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("Brenmoor/Data/Graphics")));
    writeAll(root + QStringLiteral("/Brenmoor/Data/Graphics/OvData3"), QByteArray());
    ColonPath::setVolumeRootsForTesting({root});

    openSlot(3, QString());
    ASSERT_EQ(script().openRequests.size(), 1u);
    const FileDialogRequest& request = script().openRequests.front();
    EXPECT_EQ(request.title, QStringLiteral("Select a file OvData3"));
    EXPECT_EQ(request.promptText, QStringLiteral("select a BRM file 'OvData3' which contains the BRM overlay datas."));
    EXPECT_EQ(request.initialLocation, root + QStringLiteral("/Brenmoor/Data/Graphics/OvData3"));
}

TEST_F(FileFlow, WithoutTheGameVolumeTheDialogStartsAtItsDefaultPlace) {
    ColonPath::setVolumeRootsForTesting({tempDir()});
    openSlot(1, QString());
    ASSERT_EQ(script().openRequests.size(), 1u);
    EXPECT_TRUE(script().openRequests.front().initialLocation.isEmpty());
}

TEST_F(FileFlow, LoadFillsTableAndPopupsThenAsksForTheMap) {
    OvEditorWindow* window = openOverview();
    ASSERT_NE(window, nullptr);
    OvDataListBox* box = window->thisListBox;
    EXPECT_EQ(box->OvResourceID, 1013);
    EXPECT_GT(box->OvNumberOfSectors, 0);
    EXPECT_GT(box->ListCount(), box->OvNumberOfSectors);
    EXPECT_EQ(window->PopupMenuPICT->currentIndex(), 0);
    EXPECT_EQ(window->PopupMenuID->currentIndex(), box->SectorID[0] - 1);
    EXPECT_FALSE(window->isModified());
    ASSERT_EQ(script().openRequests.size(), 2u);
    EXPECT_EQ(script().openRequests.back().title, QStringLiteral("Select file UI"));
}

TEST_F(FileFlow, FolderAndUnreadableChoicesChangeNothing) {
    OvEditorWindow* window = newFromScratch();
    window->thisListBox->setCell(0, OvDataListBox::ColName, QStringLiteral("typed"));

    script().openAnswers.push_back(tempDir());
    window->ReadOvDatas(4);
    script().openAnswers.push_back(tempDir() + QStringLiteral("/does-not-exist"));
    window->ReadOvDatas(4);

    EXPECT_EQ(script().messages,
              (QStringList{QStringLiteral("please select a single file"), QStringLiteral("sorry, file failed to open")}));
    EXPECT_EQ(window->thisListBox->Cell(0, OvDataListBox::ColName), QStringLiteral("typed"));
    EXPECT_EQ(window->thisListBox->SectorName[0], "<new sector 4>");
}

TEST_F(FileFlow, ARejectedFileKeepsModelAndUnsavedCellEdits) {
    OvEditorWindow* window = newFromScratch();
    window->thisListBox->setCell(0, OvDataListBox::ColName, QStringLiteral("typed but not saved"));
    const QString empty = tempDir() + QStringLiteral("/empty");
    const QString wrong = tempDir() + QStringLiteral("/wrong");
    const QString cut = tempDir() + QStringLiteral("/cut");
    writeAll(empty, QByteArray());
    writeAll(wrong, QByteArrayLiteral("ovda\0\0\0\1"));
    writeAll(cut, readAll(example("OvData0")).left(200));

    for (const QString& path : {empty, wrong, cut}) {
        script().openAnswers.push_back(path);
        window->ReadOvDatas(4);
    }
    EXPECT_EQ(script().messages, (QStringList{QStringLiteral("file is empty"),
                                              QStringLiteral("no valid 'OvDa' header found"),
                                              QStringLiteral("sorry, file is damaged or truncated.")}));
    EXPECT_EQ(window->thisListBox->Cell(0, OvDataListBox::ColName), QStringLiteral("typed but not saved"));
    EXPECT_EQ(window->thisListBox->OvResourceID, 1018);
    EXPECT_EQ(window->PopupMenuPICT->currentIndex(), 5);
}

TEST_F(FileFlow, SavingWritesTheLoadedFileBackByteForByte) {
    OvEditorWindow* window = openOverview();
    const QString target = tempDir() + QStringLiteral("/OvData0");
    script().saveAnswers.push_back(target);
    window->PushButtonSave->click();

    ASSERT_EQ(script().saveRequests.size(), 1u);
    EXPECT_EQ(script().saveRequests.front().title, QStringLiteral("Create new file OvData0"));
    EXPECT_EQ(script().saveRequests.front().promptText,
              QStringLiteral("enter name for new BRM file 'OvData0' which will contains the new overlay datas."));
    EXPECT_EQ(readAll(target), readAll(example("OvData0")));
    EXPECT_FALSE(window->isModified());
}

TEST_F(FileFlow, EditedCellsReachTheSavedFile) {
    OvEditorWindow* window = newFromScratch();
    window->thisListBox->setCell(0, OvDataListBox::ColName, QStringLiteral("Fährhafen"));
    window->thisListBox->setCell(0, OvDataListBox::ColX1, QStringLiteral("12"));
    const QString target = tempDir() + QStringLiteral("/OvData4");
    script().saveAnswers.push_back(target);
    ASSERT_TRUE(window->WriteOvDatas(4));

    const QByteArray bytes = readAll(target);
    ov::OvDataModel model;
    ASSERT_EQ(ov::ReadFromOvDataFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                               static_cast<std::size_t>(bytes.size())),
                                     model),
              "");
    EXPECT_EQ(model.SectorName[0], "F\xe4hrhafen") << "names are stored as ISO-8859-1";
    EXPECT_EQ(model.SectorXY[0][0], 12);
    EXPECT_EQ(model.OvResourceID, 1018);
}

TEST_F(FileFlow, ARefusedOrFailedSaveLeavesTheOldFileIntact) {
    OvEditorWindow* window = newFromScratch();
    const QString target = tempDir() + QStringLiteral("/OvData4");
    writeAll(target, QByteArrayLiteral("the old file"));

    // A coordinate the file cannot hold: refused with a message naming the entry.
    window->thisListBox->SectorXY[0][2] = 40000;
    window->thisListBox->PutDataToListBox();
    script().saveAnswers.push_back(target);
    EXPECT_FALSE(window->WriteOvDatas(4));
    ASSERT_EQ(script().messages.size(), 1);
    EXPECT_TRUE(script().messages.front().contains(QStringLiteral("<new sector 4>"))) << script().messages.front().toStdString();
    EXPECT_EQ(readAll(target), QByteArrayLiteral("the old file"));
    EXPECT_TRUE(window->isModified());

    // A place that cannot hold a file at all (its "folder" is a file): a message, not silence.
    script().messages.clear();
    window->thisListBox->setCell(0, OvDataListBox::ColX2, QStringLiteral("5"));
    script().saveAnswers.push_back(target + QStringLiteral("/inside-a-file"));
    EXPECT_FALSE(window->WriteOvDatas(4));
    ASSERT_EQ(script().messages.size(), 1);
    EXPECT_TRUE(script().messages.front().startsWith(QStringLiteral("sorry, file could not be written")));
    EXPECT_EQ(readAll(target), QByteArrayLiteral("the old file"));
}

TEST_F(FileFlow, CancelledSaveWritesNothing) {
    OvEditorWindow* window = newFromScratch();
    script().saveAnswers.push_back(QString());
    EXPECT_FALSE(window->WriteOvDatas(4));
    EXPECT_TRUE(script().messages.isEmpty());
    EXPECT_TRUE(window->isModified());
}

TEST_F(FileFlow, BatnamesExportWritesTheModelsText) {
    OvEditorWindow* window = newFromScratch();
    const QString target = tempDir() + QStringLiteral("/Batnames");
    script().saveAnswers.push_back(target);
    window->PushButtonBatnames->click();

    ASSERT_EQ(script().saveRequests.size(), 1u);
    const FileDialogRequest& request = script().saveRequests.front();
    EXPECT_EQ(request.title, QStringLiteral("Export as new file Batnames"));
    EXPECT_EQ(request.suggestedFileName, QStringLiteral("Batnames from OvData4"));
    EXPECT_EQ(request.promptText, QStringLiteral("enter name for new BRM base-file 'Batnames'."));
    const std::string expected = ov::ExportAsBatnamesFile(*window->thisListBox);
    EXPECT_EQ(readAll(target).toStdString(), expected);
    EXPECT_TRUE(readAll(target).contains("<new sector 4> Sector Campaign\r"));
}

TEST_F(FileFlow, ClosingAskUnsavedEditsFirst) {
    OvEditorWindow* window = newFromScratch();
    script().unsavedAnswers.push_back(UnsavedChoice::Cancel);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(app().OvWindow[4].isNull()) << "Cancel keeps the window";
    EXPECT_EQ(script().unsavedQuestions, QStringList{QStringLiteral("OvData4")});

    // Save: the save dialog runs; once written the window closes.
    const QString target = tempDir() + QStringLiteral("/OvData4");
    script().unsavedAnswers.push_back(UnsavedChoice::Save);
    script().saveAnswers.push_back(target);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(app().OvWindow[4].isNull());
    EXPECT_TRUE(QFile::exists(target));
}

TEST_F(FileFlow, DiscardClosesAndAnUnchangedWindowIsNotAsked) {
    OvEditorWindow* edited = newFromScratch();
    script().unsavedAnswers.push_back(UnsavedChoice::Discard);
    edited->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(app().OvWindow[4].isNull());

    OvEditorWindow* untouched = openSlot(2, QString());
    untouched->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(app().OvWindow[2].isNull());
    EXPECT_EQ(script().unsavedQuestions.size(), 1);
}

TEST_F(FileFlow, ReloadOverUnsavedEditsAsksFirst) {
    OvEditorWindow* window = newFromScratch();
    script().unsavedAnswers.push_back(UnsavedChoice::Cancel);
    window->PushButtonLoad->click();
    EXPECT_TRUE(script().openRequests.empty()) << "Cancel: no open dialog";

    script().unsavedAnswers.push_back(UnsavedChoice::Discard);
    script().openAnswers.push_back(QString());
    window->PushButtonLoad->click();
    EXPECT_EQ(script().openRequests.size(), 1u);
}

TEST_F(FileFlow, QuitAsksEveryChangedWindowAndCancelStopsIt) {
    newFromScratch();
    newFromScratch();
    script().unsavedAnswers.push_back(UnsavedChoice::Discard);
    script().unsavedAnswers.push_back(UnsavedChoice::Cancel);
    app().requestQuit();
    EXPECT_EQ(script().unsavedQuestions, (QStringList{QStringLiteral("OvData4"), QStringLiteral("OvData5")}));
    EXPECT_FALSE(app().OvWindow[4].isNull()) << "a cancelled quit closes nothing";
    EXPECT_FALSE(app().OvWindow[5].isNull());
}

TEST_F(FileFlow, IdsOutsideThePopupsLeaveThemShowingNothing) {
    ov::OvDataModel model;
    model.InitProperties();
    model.OvResourceID = std::numeric_limits<std::int32_t>::min();
    model.OvNumberOfSectors = 1;
    model.SectorID[0] = std::numeric_limits<std::int32_t>::min();
    const ov::OvDataWriteResult written = ov::WriteToOvDataFile(model);
    ASSERT_TRUE(written.ok());
    const QString path = tempDir() + QStringLiteral("/extreme");
    writeAll(path, QByteArray(reinterpret_cast<const char*>(written.bytes.data()),
                              static_cast<qsizetype>(written.bytes.size())));

    script().openAnswers.push_back(path);
    script().openAnswers.push_back(QString()); // the 'UI' file dialog
    app().OvWindowInit(2);
    OvEditorWindow* window = app().OvWindow[2];
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->PopupMenuPICT->currentIndex(), -1);
    EXPECT_EQ(window->PopupMenuID->currentIndex(), -1);
    EXPECT_EQ(window->thisListBox->OvResourceID, std::numeric_limits<std::int32_t>::min());
}
