// Colon paths, loading, saving, exporting and the unsaved-edits question of an editing window.
#include "AppTestHelpers.h"
#include "ovdata/BatnamesExport.h"
#include "platform/ColonPath.h"
#include "table/OvDataListBox.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include <limits>
#include <sys/stat.h>

using Col = OvDataListBox;

class FileFlow : public AppTest {
protected:
    void TearDown() override {
        ColonPath::setVolumeRootsForTesting({});
        AppTest::TearDown();
    }
};

TEST_F(FileFlow, ColonPathsResolveThroughTheNamedVolumeOrGiveNoPlace) {
    const QString root = tempDir();
    ColonPath::setVolumeRootsForTesting({root + u"/elsewhere"_s, root});
    openSlot(1, QString()); // the volume has no such folder yet: the dialog's default place
    ASSERT_TRUE(QDir(root).mkpath(u"Brenmoor/Data/Graphics"_s));
    writeAll(root + u"/Brenmoor/Data/Graphics/OvData3"_s, QByteArray());
    openSlot(3, QString());
    ASSERT_EQ(script().openRequests.size(), 2u);
    EXPECT_TRUE(script().openRequests[0].initialLocation.isEmpty());
    const FileDialogRequest& request = script().openRequests[1];
    EXPECT_EQ(request.title, u"Select a file OvData3"_s);
    EXPECT_EQ(request.promptText, u"select a BRM file 'OvData3' which contains the BRM overlay datas."_s);
    EXPECT_EQ(request.initialLocation, root + u"/Brenmoor/Data/Graphics/OvData3"_s);

    // resolve() names the item, dialogStart() its nearest existing folder; nullptr: no place.
    const struct {
        const char *colonPath, *resolved, *start;
    } cases[] = {{"Brenmoor:Data:Graphics:UI", "/Brenmoor/Data/Graphics/UI", "/Brenmoor/Data/Graphics"},
                 {"Brenmoor:Data:Missing:Deeper:UI", "/Brenmoor/Data/Missing/Deeper/UI", "/Brenmoor/Data"},
                 {"Elsewhere:Data:UI", nullptr, nullptr}, // unknown volume
                 {":Data:UI", nullptr, nullptr},          // relative colon path
                 {"", nullptr, nullptr}};
    const auto under = [&](const char* path) { return path ? root + QLatin1String(path) : QString(); };
    for (const auto& c : cases) {
        EXPECT_EQ(ColonPath::resolve(QLatin1String(c.colonPath)), under(c.resolved)) << c.colonPath;
        EXPECT_EQ(ColonPath::dialogStart(QLatin1String(c.colonPath)), under(c.start)) << c.colonPath;
    }
}

// Only the most a file can hold is read: bytes after the last record are ignored, however many.
TEST_F(FileFlow, LoadFillsTableAndPopupsAsksForTheMapAndSavesTheRecordsBytes) {
    const QString source = tempDir() + u"/OvData0"_s;
    writeAll(source, readAll(example("OvData0")) + QByteArray(4 * 1024 * 1024, '\x55'));
    OvEditorWindow* window = load(0, source);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(script().messages.isEmpty());
    OvDataListBox* box = window->thisListBox;
    EXPECT_EQ(box->document().model().OvResourceID, 1013);
    EXPECT_GT(box->ListCount(), box->document().model().OvNumberOfSectors);
    EXPECT_EQ(window->PopupMenuPICT->currentIndex(), 0);
    EXPECT_EQ(window->PopupMenuID->currentIndex(), box->document().model().SectorID[0] - 1);
    EXPECT_FALSE(window->isModified());
    ASSERT_EQ(script().openRequests.size(), 2u);
    EXPECT_EQ(script().openRequests.back().title, u"Select file UI"_s);

    const QString target = tempDir() + u"/saved"_s;
    script().saveAnswers.push_back(target);
    window->PushButtonSave->click();
    ASSERT_EQ(script().saveRequests.size(), 1u);
    EXPECT_EQ(script().saveRequests.front().title, u"Create new file OvData0"_s);
    EXPECT_EQ(script().saveRequests.front().promptText,
              u"enter name for new BRM file 'OvData0' which will contains the new overlay datas."_s);
    EXPECT_EQ(readAll(target), readAll(example("OvData0")));
    EXPECT_FALSE(window->isModified());
}

TEST_F(FileFlow, ARejectedOrUnreadableFileKeepsModelAndUnsavedCellEdits) {
    OvEditorWindow* window = newFromScratch();
    window->thisListBox->userFinishedEdit(0, Col::ColName, u"typed but not saved"_s);
    const QString dir = tempDir();
    writeAll(dir + u"/empty"_s, QByteArray());
    writeAll(dir + u"/wrong"_s, QByteArrayLiteral("ovda\0\0\0\1"));
    writeAll(dir + u"/cut"_s, readAll(example("OvData0")).left(200));
    // A pipe would block a plain open until someone writes to it: it is refused unopened.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + u"/pipe"_s).constData(), 0600), 0);
    const QString paths[] = {dir,
                             dir + u"/does-not-exist"_s,
                             dir + u"/pipe"_s,
                             dir + u"/empty"_s,
                             dir + u"/wrong"_s,
                             dir + u"/cut"_s};
    for (const QString& path : paths) {
        script().openAnswers.push_back(path);
        window->ReadOvDatas(4);
    }
    EXPECT_EQ(script().messages,
              (QStringList{u"please select a single file"_s, u"sorry, file failed to open"_s,
                           u"sorry, file failed to open"_s, u"file is empty"_s,
                           u"no valid 'OvDa' header found"_s, u"sorry, file is damaged or truncated."_s}));
    EXPECT_EQ(window->thisListBox->Cell(0, Col::ColName), u"typed but not saved"_s);
    EXPECT_EQ(window->document().model().SectorName[0], "typed but not saved");
    EXPECT_EQ(window->thisListBox->document().model().OvResourceID, 1018);
    EXPECT_EQ(window->PopupMenuPICT->currentIndex(), 5);
}

TEST_F(FileFlow, ACancelledRefusedOrFailedSaveLeavesTheOldFileAndAGoodOneWritesTheEdits) {
    OvEditorWindow* window = newFromScratch();
    const QString target = tempDir() + u"/OvData4"_s;
    writeAll(target, QByteArrayLiteral("the old file"));
    script().saveAnswers.push_back(QString()); // cancelled: no message
    EXPECT_FALSE(window->WriteOvDatas(4));
    EXPECT_TRUE(script().messages.isEmpty());

    // A coordinate the file cannot hold: refused with a message naming the entry.
    window->thisListBox->userFinishedEdit(0, Col::ColX2, u"40000"_s);
    script().saveAnswers.push_back(target);
    EXPECT_FALSE(window->WriteOvDatas(4));
    ASSERT_EQ(script().messages.size(), 1);
    EXPECT_TRUE(script().messages[0].contains(u"<new sector 4>"_s)) << script().messages[0].toStdString();

    // A place that cannot hold a file at all (its "folder" is a file): a message, not silence.
    window->thisListBox->userFinishedEdit(0, Col::ColX2, u"5"_s);
    script().saveAnswers.push_back(target + u"/inside-a-file"_s);
    EXPECT_FALSE(window->WriteOvDatas(4));
    ASSERT_EQ(script().messages.size(), 2);
    EXPECT_TRUE(script().messages[1].startsWith(u"sorry, file could not be written"_s));
    EXPECT_EQ(readAll(target), QByteArrayLiteral("the old file"));
    EXPECT_TRUE(window->isModified());

    window->thisListBox->userFinishedEdit(0, Col::ColName, u"F\u00e4hrhafen"_s);
    window->thisListBox->userFinishedEdit(0, Col::ColX1, u"12"_s);
    script().saveAnswers.push_back(target);
    ASSERT_TRUE(window->WriteOvDatas(4));
    const auto model = readModel(target);
    EXPECT_EQ(model->SectorName[0], "F\xe4hrhafen") << "names are stored as ISO-8859-1";
    EXPECT_EQ(model->SectorXY[0][0], 12);
    EXPECT_EQ(model->SectorXY[0][2], 5);
    EXPECT_EQ(model->OvResourceID, 1018);
    EXPECT_FALSE(window->isModified());
}

TEST_F(FileFlow, BatnamesExportWritesTheModelsText) {
    OvEditorWindow* window = newFromScratch();
    const QString target = tempDir() + u"/Batnames"_s;
    script().saveAnswers.push_back(target);
    window->PushButtonBatnames->click();
    ASSERT_EQ(script().saveRequests.size(), 1u);
    const FileDialogRequest& request = script().saveRequests.front();
    EXPECT_EQ(request.title, u"Export as new file Batnames"_s);
    EXPECT_EQ(request.suggestedFileName, u"Batnames from OvData4"_s);
    EXPECT_EQ(request.promptText, u"enter name for new BRM base-file 'Batnames'."_s);
    EXPECT_EQ(readAll(target).toStdString(), ov::ExportAsBatnamesFile(window->document().fileModel()));
    EXPECT_TRUE(readAll(target).contains("<new sector 4> Sector Campaign\r"));
}

TEST_F(FileFlow, CloseAndReloadAskBeforeDroppingUnsavedEdits) {
    OvEditorWindow* window = newFromScratch();
    script().unsavedAnswers.push_back(UnsavedChoice::Cancel);
    window->PushButtonLoad->click();
    EXPECT_TRUE(script().openRequests.empty()) << "Cancel: no open dialog";
    script().unsavedAnswers.push_back(UnsavedChoice::Discard);
    script().openAnswers.push_back(QString());
    window->PushButtonLoad->click();
    EXPECT_EQ(script().openRequests.size(), 1u);

    script().unsavedAnswers.push_back(UnsavedChoice::Cancel);
    closeAndFlush(window);
    ASSERT_FALSE(app().OvWindow[4].isNull()) << "Cancel keeps the window";
    const QString target = tempDir() + u"/OvData4"_s;
    script().unsavedAnswers.push_back(UnsavedChoice::Save); // the save dialog runs, then the window closes
    script().saveAnswers.push_back(target);
    closeAndFlush(window);
    EXPECT_TRUE(app().OvWindow[4].isNull());
    EXPECT_TRUE(QFile::exists(target));

    script().unsavedAnswers.push_back(UnsavedChoice::Discard);
    closeAndFlush(newFromScratch());
    EXPECT_TRUE(app().OvWindow[4].isNull());
    closeAndFlush(openSlot(2, QString())); // unchanged: not asked
    EXPECT_TRUE(app().OvWindow[2].isNull());
    EXPECT_EQ(script().unsavedQuestions, QStringList(5, u"OvData4"_s));
}

TEST_F(FileFlow, QuitAsksEveryChangedWindowAndCancelStopsIt) {
    newFromScratch();
    newFromScratch();
    script().unsavedAnswers.push_back(UnsavedChoice::Discard);
    script().unsavedAnswers.push_back(UnsavedChoice::Cancel);
    app().requestQuit();
    EXPECT_EQ(script().unsavedQuestions, (QStringList{u"OvData4"_s, u"OvData5"_s}));
    EXPECT_FALSE(app().OvWindow[4].isNull()) << "a cancelled quit closes nothing";
    EXPECT_FALSE(app().OvWindow[5].isNull());
}

TEST_F(FileFlow, IdsOutsideThePopupsLeaveThemShowingNothing) {
    ov::OvDataModel model;
    model.InitProperties();
    model.OvResourceID = model.SectorID[0] = std::numeric_limits<std::int32_t>::min();
    model.OvNumberOfSectors = 1;
    const ov::OvDataWriteResult written = ov::WriteToOvDataFile(model);
    ASSERT_TRUE(written.ok());
    const QString path = tempDir() + u"/extreme"_s;
    writeAll(path, QByteArray(reinterpret_cast<const char*>(written.bytes.data()),
                              static_cast<qsizetype>(written.bytes.size())));
    OvEditorWindow* window = load(2, path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->PopupMenuPICT->currentIndex(), -1);
    EXPECT_EQ(window->PopupMenuID->currentIndex(), -1);
    EXPECT_EQ(window->thisListBox->document().model().OvResourceID, std::numeric_limits<std::int32_t>::min());
}

// Save As and the Batnames export write through the one safe writer: what is not a regular file
// or may not be written is refused with the designed message, now naming the file and the
// reason, and stays as it was; a link is written through and stays a link.
TEST_F(FileFlow, SavesAndExportsRefuseWhatIsNotAWritableFileAndWriteThroughLinks) {
    OvEditorWindow* window = newFromScratch();
    const QString dir = tempDir();
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + u"/fifo"_s).constData(), 0644), 0);
    writeAll(dir + u"/read-only"_s, QByteArrayLiteral("keep me"));
    QFile::setPermissions(dir + u"/read-only"_s, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const struct {
        QString name, why;
    } cases[] = {{u"fifo"_s, u"' is a pipe (FIFO), not a regular file; it was left as it is"_s},
                 {u"read-only"_s, u"' is read-only; it was left as it is"_s}};
    for (const auto& c : cases) {
        const QString expected = u"sorry, file could not be written: '"_s + dir + u"/"_s + c.name + c.why;
        script().messages.clear();
        script().saveAnswers.push_back(dir + u"/"_s + c.name);
        EXPECT_FALSE(window->WriteOvDatas(4));
        script().saveAnswers.push_back(dir + u"/"_s + c.name);
        window->PushButtonBatnames->click();
        EXPECT_EQ(script().messages, (QStringList{expected, expected}));
        EXPECT_TRUE(window->isModified());
    }
    EXPECT_TRUE(QFileInfo(dir + u"/fifo"_s).exists() && !QFileInfo(dir + u"/fifo"_s).isFile());
    EXPECT_EQ(readAll(dir + u"/read-only"_s), QByteArrayLiteral("keep me"));

    writeAll(dir + u"/OvData4"_s, QByteArrayLiteral("old"));
    ASSERT_TRUE(QFile::link(u"OvData4"_s, dir + u"/link"_s));
    script().saveAnswers.push_back(dir + u"/link"_s);
    ASSERT_TRUE(window->WriteOvDatas(4));
    EXPECT_TRUE(QFileInfo(dir + u"/link"_s).isSymLink());
    EXPECT_EQ(readAll(dir + u"/OvData4"_s).left(4), QByteArrayLiteral("OvDa"));
}
