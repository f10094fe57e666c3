#include "windows/LimitsWindow.h"

#include "app/MenuBar1.h"
#include "platform/WindowList.h"

LimitsWindow::LimitsWindow(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("LimitsWindow"));
    setWindowTitle(QStringLiteral("Known Limits"));
    MenuBar1::instance().installInto(this);
    setCentralWidget(new QWidget(this));
    WindowList::instance().track(this);
}
