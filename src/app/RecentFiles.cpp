#include "app/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {
const auto kKey = QStringLiteral("RecentFiles/files");

// The same file reached by two spellings counts once.
QString normalized(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

RecentFiles::RecentFiles(QObject* parent) : QObject(parent) {}

RecentFiles::~RecentFiles() = default;

void RecentFiles::setStorage(const QString& iniPath) {
    m_iniPath = iniPath;
    rebuildMenu();
}

std::unique_ptr<QSettings> RecentFiles::settings() const {
    if (m_iniPath.isEmpty())
        return std::make_unique<QSettings>();
    return std::make_unique<QSettings>(m_iniPath, QSettings::IniFormat);
}

QStringList RecentFiles::files() const {
    // The settings file is the user's to edit: whatever it holds is cleaned up, never trusted.
    const QStringList stored = settings()->value(kKey).toStringList();
    QStringList files;
    for (const QString& path : stored) {
        if (path.isEmpty() || files.size() >= kMaxFiles)
            continue;
        const QString clean = normalized(path);
        if (!files.contains(clean))
            files << clean;
    }
    return files;
}

void RecentFiles::store(const QStringList& files) {
    {
        const std::unique_ptr<QSettings> s = settings();
        if (files.isEmpty())
            s->remove(kKey);
        else
            s->setValue(kKey, files);
        s->sync();
    }
    rebuildMenu();
}

void RecentFiles::add(const QString& path) {
    if (path.isEmpty())
        return;
    const QString clean = normalized(path);
    QStringList list = files();
    list.removeAll(clean);
    list.prepend(clean);
    while (list.size() > kMaxFiles)
        list.removeLast();
    store(list);
}

void RecentFiles::remove(const QString& path) {
    QStringList list = files();
    if (list.removeAll(normalized(path)) > 0)
        store(list);
}

void RecentFiles::clear() {
    store({});
}

QMenu* RecentFiles::menu() {
    if (!m_menu) {
        m_menu = std::make_unique<QMenu>(QStringLiteral("Open Recent"));
        m_menu->setObjectName(QStringLiteral("FileOpenRecentMenu"));
        rebuildMenu();
    }
    return m_menu.get();
}

void RecentFiles::attachTo(QAction* action) {
    if (action)
        action->setMenu(menu());
}

void RecentFiles::rebuildMenu() {
    if (!m_menu)
        return;
    m_menu->clear();
    const QStringList list = files();
    for (const QString& path : list) {
        QString text = QDir::toNativeSeparators(path);
        text.replace(QLatin1Char('&'), QStringLiteral("&&")); // no mnemonic from a file name
        QAction* item = m_menu->addAction(text);
        connect(item, &QAction::triggered, this, [this, path] { Q_EMIT openRequested(path); });
    }
    m_menu->addSeparator();
    QAction* clearItem = m_menu->addAction(QStringLiteral("Clear Menu"));
    clearItem->setObjectName(QStringLiteral("FileClearRecent"));
    clearItem->setEnabled(!list.isEmpty());
    connect(clearItem, &QAction::triggered, this, &RecentFiles::clear);
}
