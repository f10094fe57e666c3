// The shared-mime-info definition, read by Qt's MIME database from a private data folder as a
// desktop reads the installed one: OvData files are recognised by their name and by their tag.
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QTemporaryDir* g_data = nullptr;

const QString kType = QStringLiteral("application/x-brenmoor-ovdata");

QString fileWith(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(g_data->path()).filePath(QStringLiteral("files/") + name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    file.write(bytes);
    return path;
}

} // namespace

TEST(MimeType, OvDataFilesAreKnownByNameAndByTheirTag) {
    const QByteArray ovdata = QByteArray("OvDa") + QByteArray(24, '\0');
    const struct {
        const char* name;
        QByteArray bytes;
        bool ours;
    } cases[] = {
        {"OvData0", ovdata, true},
        {"OvData7", QByteArray("not the tag at all"), true}, // the name alone
        {"renamed.bin", ovdata, true},                       // the tag alone
        {"backup of map", ovdata, true},
        {"OvData", QByteArray("plain text\n"), false},   // no digit
        {"OvData12", QByteArray("plain text\n"), false}, // one digit only
        {"OVDATA3", QByteArray("plain text\n"), true},   // any case, as on the game's file systems
        {"notes.txt", QByteArray("xOvDa is not at the start\n"), false},
    };
    const QMimeDatabase db;
    ASSERT_TRUE(db.mimeTypeForName(kType).isValid()) << "the definition was not read";
    EXPECT_EQ(db.mimeTypeForName(kType).comment().toStdString(), "Brenmoor overlay data");
    for (const auto& c : cases) {
        const QString path = fileWith(QString::fromLatin1(c.name), c.bytes);
        EXPECT_EQ(db.mimeTypeForFile(path).name() == kType, c.ours)
            << c.name << ": " << db.mimeTypeForFile(path).name().toStdString();
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Only our definition besides Qt's own: the data folders are set before the database is first used.
    QTemporaryDir data;
    g_data = &data;
    QDir(data.path()).mkpath(QStringLiteral("share/mime/packages"));
    QDir(data.path()).mkpath(QStringLiteral("files"));
    if (!QFile::copy(QStringLiteral(MQ_MIME_XML),
                     data.path() + QStringLiteral("/share/mime/packages/org.example.mapquill.xml")))
        return 1;
    qputenv("XDG_DATA_HOME", (data.path() + QStringLiteral("/home")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (data.path() + QStringLiteral("/share")).toLocal8Bit());
    return RUN_ALL_TESTS();
}
