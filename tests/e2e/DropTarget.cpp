// A drop target of our own for the end-to-end drag test: a plain window in its own process that
// takes one drop and writes what every offered format delivered into a folder, then quits.
//   OUT/formats.txt   one line per offered format: "<bytes> <format>"
//   OUT/<format>      the bytes of that format ('/' in the name becomes '_')
//   OUT/done          written last, so a waiting script never reads half a result
// Usage: mq_drop_target OUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class DropWindow : public QWidget {
public:
    explicit DropWindow(QString folder) : m_folder(std::move(folder)) { setAcceptDrops(true); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        // Each format is fetched from the dragging process now, as any receiving program would.
        const QMimeData* mime = event->mimeData();
        QByteArray index;
        bool ok = true;
        const QStringList formats = mime->formats();
        for (const QString& format : formats) {
            const QByteArray bytes = mime->data(format);
            index += QByteArray::number(bytes.size()) + ' ' + format.toUtf8() + '\n';
            QString name = format;
            name.replace(QLatin1Char('/'), QLatin1Char('_'));
            ok = writeFile(m_folder + QLatin1Char('/') + name, bytes) && ok;
        }
        ok = writeFile(m_folder + QStringLiteral("/formats.txt"), index) && ok;
        event->setDropAction(Qt::CopyAction);
        event->accept();
        writeFile(m_folder + QStringLiteral("/done"), ok ? QByteArray("ok\n") : QByteArray("write failed\n"));
        QTimer::singleShot(200, qApp, &QCoreApplication::quit);
    }

private:
    QString m_folder;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 || !QDir(args[1]).exists()) {
        std::fputs("usage: mq_drop_target OUT_FOLDER (an existing folder)\n", stderr);
        return 2;
    }
    DropWindow window(args[1]);
    window.setWindowTitle(QStringLiteral("Mapquill drop target"));
    window.setGeometry(940, 120, 300, 300);
    window.show();
    return QApplication::exec();
}
