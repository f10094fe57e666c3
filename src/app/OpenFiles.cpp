#include "app/OpenFiles.h"

#include "app/App.h"
#include "app/RecentFiles.h"
#include "platform/Dialogs.h"
#include "platform/WindowList.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int kSlotCount = 10;
const char* const kPathProperty = "mqOvDataPath";

// The digit a file's name ends in, or -1.
int digitSlot(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty())
        return -1;
    const QChar last = name.back();
    return last >= QLatin1Char('0') && last <= QLatin1Char('9') ? last.unicode() - '0' : -1;
}

QString sameFileKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// The open window that last read or wrote `path`.
OvEditorWindow* windowWithFile(App& app, const QString& path) {
    const QString key = sameFileKey(path);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        OvEditorWindow* window = app.OvWindow[static_cast<std::size_t>(slot)];
        if (window && app.OvWindowVisible[static_cast<std::size_t>(slot)]) {
            const QString known = window->property(kPathProperty).toString();
            if (!known.isEmpty() && sameFileKey(known) == key)
                return window;
        }
    }
    return nullptr;
}

// Takes OvData files dropped from the file manager. Anything else passes on to the widget, or,
// with `filesOnly`, is refused: a widget that never took drops must not start taking others.
class FileDropFilter : public QObject {
public:
    explicit FileDropFilter(QObject* parent, bool filesOnly = false)
        : QObject(parent), m_filesOnly(filesOnly) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (OpenFiles::localFiles(drag->mimeData()).isEmpty()) {
                if (m_filesOnly)
                    drag->ignore();
                return m_filesOnly;
            }
            if (drag->possibleActions() & Qt::CopyAction)
                drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = OpenFiles::localFiles(drop->mimeData());
            if (files.isEmpty()) {
                if (m_filesOnly)
                    drop->ignore();
                return m_filesOnly;
            }
            if (drop->possibleActions() & Qt::CopyAction)
                drop->setDropAction(Qt::CopyAction);
            drop->accept();
            // Opened after the drop has finished: the file manager waits for our answer, and
            // opening may ask questions.
            QTimer::singleShot(0, qApp, [files] { OpenFiles::openWhenIdle(files); });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    bool m_filesOnly;
};

void watchForDrops(QWidget* widget, QObject* filter) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(filter);
}

} // namespace

namespace OpenFiles {

std::vector<int> assignSlots(const QStringList& paths, const std::array<bool, 10>& taken) {
    std::array<bool, 10> used = taken;
    std::vector<int> slots(static_cast<std::size_t>(paths.size()), -1);
    // Files named for a slot claim it first, so an unnumbered file earlier in the list cannot take it.
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const int digit = digitSlot(paths[i]);
        if (digit >= 0 && !used[static_cast<std::size_t>(digit)]) {
            used[static_cast<std::size_t>(digit)] = true;
            slots[static_cast<std::size_t>(i)] = digit;
        }
    }
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (slots[static_cast<std::size_t>(i)] >= 0)
            continue;
        for (int slot = 0; slot < kSlotCount; ++slot)
            if (!used[static_cast<std::size_t>(slot)]) {
                used[static_cast<std::size_t>(slot)] = true;
                slots[static_cast<std::size_t>(i)] = slot;
                break;
            }
    }
    return slots;
}

void open(const QStringList& paths) {
    App* app = theApp();
    if (!app)
        return;
    QStringList fresh;
    for (const QString& path : paths) {
        if (OvEditorWindow* window = windowWithFile(*app, path))
            WindowList::instance().bringToFront(window);
        else if (!fresh.contains(path))
            fresh << path;
    }
    std::array<bool, 10> taken{};
    for (int slot = 0; slot < kSlotCount; ++slot)
        taken[static_cast<std::size_t>(slot)] = app->OvWindowVisible[static_cast<std::size_t>(slot)] &&
                                                app->OvWindow[static_cast<std::size_t>(slot)];
    const std::vector<int> slots = assignSlots(fresh, taken);
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        const int slot = slots[static_cast<std::size_t>(i)];
        if (slot < 0) {
            MsgBox(QStringLiteral("sorry, only up to 9 OvData-files are possible."));
            return;
        }
        // A load asks questions (the map's source), during which the user may have opened the slot.
        if (app->OvWindow[static_cast<std::size_t>(slot)]) {
            open(fresh.mid(i));
            return;
        }
        OvEditorWindow* window = app->newEditingWindow(slot);
        WindowList::instance().bringToFront(window);
        QPointer<OvEditorWindow> guard = window;
        if (!window->loadFile(fresh[i]) && guard) {
            window->setModified(false);
            window->close();
        }
    }
}

void openWhenIdle(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, qApp, [paths] { openWhenIdle(paths); });
        return;
    }
    open(paths);
}

QStringList localFiles(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    const QList<QUrl> urls = mime->urls();
    for (const QUrl& url : urls)
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << url.toLocalFile();
    return files;
}

void acceptFileDrops(QWidget* window) {
    auto* filter = new FileDropFilter(window);
    watchForDrops(window, filter);
    // Parts that take drops of their own (a text field) would take the file's name as text.
    const QList<QWidget*> parts = window->findChildren<QWidget*>();
    for (QWidget* part : parts)
        if (part->acceptDrops())
            part->installEventFilter(filter);
}

void watchEditingWindow(OvEditorWindow* window) {
    // Only the table: a picture dropped on the map keeps its meaning there.
    watchForDrops(window->thisListBox->viewport(), new FileDropFilter(window, true));
    QObject::connect(window, &OvEditorWindow::ovDataFileUsed, window, [window](const QString& path) {
        window->setProperty(kPathProperty, path);
        if (App* app = theApp())
            app->recentFiles().add(path);
    });
}

} // namespace OpenFiles
