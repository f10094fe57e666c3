#include "platform/ColonPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

QStringList& testRoots() {
    static QStringList roots;
    return roots;
}

QString userName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    return name;
}

// Folders that stand for the mounted volume `volume`, best first.
QStringList volumeCandidates(const QString& volume) {
    QStringList candidates;
    if (!testRoots().isEmpty()) {
        for (const QString& root : testRoots())
            candidates << QDir(root).filePath(volume);
        return candidates;
    }
#if defined(Q_OS_MACOS)
    candidates << QStringLiteral("/Volumes/") + volume;
#elif defined(Q_OS_WIN)
    const auto volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& info : volumes)
        if (info.isValid() && info.name().compare(volume, Qt::CaseInsensitive) == 0)
            candidates << info.rootPath();
#else
    const QString user = userName();
    if (!user.isEmpty()) {
        candidates << QStringLiteral("/media/%1/%2").arg(user, volume);
        candidates << QStringLiteral("/run/media/%1/%2").arg(user, volume);
    }
    candidates << QStringLiteral("/media/") + volume << QStringLiteral("/mnt/") + volume;
    const auto volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& info : volumes)
        if (info.isValid() && info.name() == volume)
            candidates << info.rootPath();
#endif
    return candidates;
}

} // namespace

namespace ColonPath {

QString resolve(const QString& colonPath) {
    // An absolute colon path starts with the volume name: "Volume:..." (a leading colon would
    // make it relative, which the program never uses).
    if (colonPath.isEmpty() || colonPath.startsWith(QLatin1Char(':')))
        return {};
    QStringList parts = colonPath.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    const QString volume = parts.takeFirst();
    for (const QString& root : volumeCandidates(volume)) {
        if (!QFileInfo(root).isDir())
            continue;
        QString path = QDir(root).absolutePath();
        for (const QString& part : parts)
            path = QDir(path).filePath(part);
        return QDir::cleanPath(path);
    }
    return {};
}

QString dialogStart(const QString& colonPath) {
    QString path = resolve(colonPath);
    while (!path.isEmpty() && !QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return {};
        path = parent;
    }
    return path;
}

void setVolumeRootsForTesting(const QStringList& roots) {
    testRoots() = roots;
}

} // namespace ColonPath
