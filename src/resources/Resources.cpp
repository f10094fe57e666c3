#include "resources/Resources.h"

#include <QtGlobal>

// One Q_INIT_RESOURCE line per .qrc file of this folder (the argument is the file's base name).
// They stand outside any namespace, as Qt requires.
static void initAll() {
    Q_INIT_RESOURCE(cursors);
    Q_INIT_RESOURCE(table);
    Q_INIT_RESOURCE(icons);
}

void initResources() {
    static bool done = false;
    if (done)
        return;
    done = true;
    initAll();
}
