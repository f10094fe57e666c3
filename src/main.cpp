#include "app/App.h"
#include "platform/WindowList.h"
#include "windows/mainWindow.h"

int main(int argc, char** argv) {
    App app(argc, argv);
    // The About window is the default window: it opens at start and explains the program.
    WindowList::instance().bringToFront(app.aboutWindow());
    return App::exec();
}
