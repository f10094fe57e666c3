#pragma once
// Small file and window helpers shared by the application tests.
#include "GuiTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QWidget>

using namespace Qt::StringLiterals;

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Closes a window as the user would and lets Qt delete it.
inline void closeAndFlush(QWidget* window) {
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
