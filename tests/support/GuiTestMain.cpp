#include "GuiTestSupport.h"
#include "app/RecentFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    App app(argc, argv);
    script(); // scripted dialogs from the very start
    // The files the tests open must not reach the user's Open Recent menu.
    QTemporaryDir settings;
    app.recentFiles().setStorage(settings.filePath(QStringLiteral("recent.ini")));
    return RUN_ALL_TESTS();
}
