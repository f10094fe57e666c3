#include "windows/mainWindow.h"

#include "app/MenuBar1.h"
#include "platform/WindowList.h"

mainWindow::mainWindow(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("About Mapquill"));
    MenuBar1::instance().installInto(this);
    setCentralWidget(new QWidget(this));
    WindowList::instance().track(this);
}
