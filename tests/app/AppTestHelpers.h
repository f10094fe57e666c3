#pragma once
// Small file, window and menu helpers shared by the application tests.
#include "GuiTestSupport.h"
#include "app/MenuBar1.h"
#include "ovdata/OvDataFile.h"
#include "windows/OvEditorWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QWidget>

#include <memory>

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

// The model a file holds; a file that does not read fails the test.
inline std::unique_ptr<ov::OvDataModel> readModel(const QString& path) {
    const QByteArray bytes = readAll(path);
    auto model = std::make_unique<ov::OvDataModel>();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    EXPECT_EQ(ov::ReadFromOvDataFile(std::span(data, static_cast<std::size_t>(bytes.size())), *model), "")
        << path.toStdString();
    return model;
}

// Closes a window as the user would and lets Qt delete it.
inline void closeAndFlush(QWidget* window) {
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline QAction* item(const char* name) {
    return MenuBar1::instance().item(QLatin1String(name));
}

class AppTest : public GuiTest {
protected:
    // Loads `path` into `slot` and cancels the map picture's dialog that follows a load.
    OvEditorWindow* load(int slot, const QString& path) {
        script().openAnswers.push_back(path);
        script().openAnswers.push_back(QString());
        app().OvWindowInit(slot);
        return app().OvWindow[static_cast<std::size_t>(slot)];
    }
};
