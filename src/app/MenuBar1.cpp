#include "app/MenuBar1.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

using Entry = MenuBar1::Entry;

// Shortcuts are written "Ctrl+": Qt shows and handles them as Cmd on macOS.
const QList<Entry> kFileMenu = {
    {"OvNewMenuItem", "New OvData from scratch...", ""},
    {"Ov0MenuItem", "Open OvData0...", ""},
    {"Ov1MenuItem", "Open OvData1...", ""},
    {"Ov2MenuItem", "Open OvData2...", ""},
    {"Ov3MenuItem", "Open OvData3...", ""},
    {"Ov4MenuItem", "Open OvData4...", ""},
    {"Ov5MenuItem", "Open OvData5...", ""},
    {"Ov6MenuItem", "Open OvData6...", ""},
    {"Ov7MenuItem", "Open OvData7...", ""},
    {"Ov8MenuItem", "Open OvData8...", ""},
    {"Ov9MenuItem", "Open OvData9...", ""},
    {"FileOpenRecent", "Open Recent", ""}, // its submenu comes from the recent-files list
    {"FileSave", "Save", "Ctrl+S"},
    {"FileClose", "Close", "Ctrl+W"},
    {"UntitledMenu3", "-", ""},
    {"FileUseIntrfaceBRM", "Use PC-file 'Intrface.brm'", ""},
    {"FileUseUI", "Use resource-fork-file 'UI'", ""},
    {"Seperator1MenuItem", "-", ""},
    {"FileQuit", "Quit", "Ctrl+Q"},
};

const QList<Entry> kEditMenu = {
    {"EditUndo", "Undo", "Ctrl+Z"},
    {"EditRedo", "Redo", ""}, // the platform's key: Ctrl+Shift+Z, Ctrl+Y on Windows
    {"UntitledMenu2", "-", ""},
    {"EditCut", "Cut", "Ctrl+X"},
    {"EditCopy", "Copy picture", "Ctrl+C"},
    {"EditCopyPictWithRects", "Copy picture with visible rectangles", ""},
    {"EditPaste", "Paste picture", "Ctrl+V"},
    {"EditClear", "Clear", ""},
    {"UntitledMenu1", "-", ""},
    {"EditCopyListbox", "Copy listbox", "Ctrl+T"},
    {"EditSelectAllListbox", "Select all of listbox", "Ctrl+A"},
    {"EditSelectallincludesheader", "Select all (including header)", ""},
};

// The map's zoom in the front editing window; the levels are MapView::kLevels.
const QList<Entry> kViewMenu = {
    {"ViewZoomIn", "Zoom In", "Ctrl+="}, // Ctrl++ too, for keyboards where + needs no Shift
    {"ViewZoomOut", "Zoom Out", "Ctrl+-"},
    {"ViewActualSize", "Actual Size", "Ctrl+0"},
    {"UntitledMenu4", "-", ""},
    {"ViewZoom1", "100%", ""},
    {"ViewZoom2", "200%", ""},
    {"ViewZoom3", "300%", ""},
    {"ViewZoom4", "400%", ""},
    {"ViewZoom6", "600%", ""},
    {"ViewZoom8", "800%", ""},
};

const QList<Entry> kHelpMenu = {
    {"InfoLimitsMenuItem", "Known Limits...", ""},    {"UntitledMenu0", "-", ""},
    {"SettingsCursorColor", "Use color cursors", ""}, {"SettingsCursorBW", "Use b/w cursors", ""},
    {"myAboutMenuItem", "About Mapquill...", ""},
};

} // namespace

const QStringList& MenuBar1::menuNames() {
    static const QStringList names = {QStringLiteral("FileMenu"), QStringLiteral("EditMenu"),
                                      QStringLiteral("ViewMenu"), QStringLiteral("HelpMenu")};
    return names;
}

const QList<MenuBar1::Entry>& MenuBar1::menuEntries(const QString& menuName) {
    if (menuName == QLatin1String("FileMenu"))
        return kFileMenu;
    if (menuName == QLatin1String("EditMenu"))
        return kEditMenu;
    if (menuName == QLatin1String("ViewMenu"))
        return kViewMenu;
    return kHelpMenu;
}

MenuBar1& MenuBar1::instance() {
    static MenuBar1* bar = new MenuBar1(); // lives as long as the application; Qt tears it down
    return *bar;
}

MenuBar1::MenuBar1() {
    Untitled1();
    Untitled2();
    buildMenu(QStringLiteral("ViewMenu"));
    Untitled3();
}

void MenuBar1::Untitled1() {
    buildMenu(QStringLiteral("FileMenu"));
}
void MenuBar1::Untitled2() {
    buildMenu(QStringLiteral("EditMenu"));
}
void MenuBar1::Untitled3() {
    buildMenu(QStringLiteral("HelpMenu"));
}

void MenuBar1::buildMenu(const QString& menuName) {
    static const QHash<QString, QString> captions = {
        {QStringLiteral("FileMenu"), QStringLiteral("&File")},
        {QStringLiteral("EditMenu"), QStringLiteral("&Edit")},
        {QStringLiteral("ViewMenu"), QStringLiteral("&View")},
        {QStringLiteral("HelpMenu"), QStringLiteral("Informations")}};
    auto* menuAction = new QAction(captions.value(menuName), this);
    menuAction->setObjectName(menuName);
    m_items.insert(menuName, menuAction);

    for (const Entry& entry : menuEntries(menuName)) {
        const QString name = QString::fromLatin1(entry.name);
        // A separator carries no text: some styles would draw it as a labelled section.
        const bool separator = qstrcmp(entry.caption, "-") == 0;
        auto* action = new QAction(separator ? QString() : QString::fromLatin1(entry.caption), this);
        action->setObjectName(name);
        action->setSeparator(separator);
        if (entry.shortcut[0] != '\0')
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        m_items.insert(name, action);
        m_order << action;
    }
    if (auto* redo = m_items.value(QStringLiteral("EditRedo")))
        redo->setShortcuts(QKeySequence::Redo);
    if (auto* zoomIn = m_items.value(QStringLiteral("ViewZoomIn")))
        zoomIn->setShortcuts(
            {QKeySequence(QStringLiteral("Ctrl+=")), QKeySequence(QStringLiteral("Ctrl++"))});
    // The platform decides where Quit and About go (the application menu on macOS).
    if (auto* quit = m_items.value(QStringLiteral("FileQuit")))
        quit->setMenuRole(QAction::QuitRole);
    if (auto* about = m_items.value(QStringLiteral("myAboutMenuItem")))
        about->setMenuRole(QAction::AboutRole);
    for (const char* name : {"FileUseIntrfaceBRM", "FileUseUI", "SettingsCursorColor", "SettingsCursorBW",
                             "ViewZoom1", "ViewZoom2", "ViewZoom3", "ViewZoom4", "ViewZoom6", "ViewZoom8"})
        if (auto* action = m_items.value(QString::fromLatin1(name)))
            action->setCheckable(true);
    for (QAction* action : std::as_const(m_order))
        action->setMenuRole(action->menuRole() == QAction::TextHeuristicRole ? QAction::NoRole
                                                                             : action->menuRole());
}

void MenuBar1::addMenuTo(QMenuBar* bar, const QString& menuName) const {
    QMenu* menu = bar->addMenu(m_items.value(menuName)->text());
    menu->setObjectName(menuName);
    for (const Entry& entry : menuEntries(menuName))
        menu->addAction(m_items.value(QString::fromLatin1(entry.name)));
}

void MenuBar1::installInto(QMainWindow* window) {
    auto* bar = new QMenuBar(window);
    bar->setObjectName(QStringLiteral("MenuBar1"));
    for (const QString& menuName : menuNames())
        addMenuTo(bar, menuName);
    window->setMenuBar(bar);
}

QAction* MenuBar1::item(const QString& name) const {
    return m_items.value(name);
}

QAction* SettingsCursorBW() {
    return MenuBar1::instance().item(QStringLiteral("SettingsCursorBW"));
}
QAction* SettingsCursorColor() {
    return MenuBar1::instance().item(QStringLiteral("SettingsCursorColor"));
}
QAction* FileUseUI() {
    return MenuBar1::instance().item(QStringLiteral("FileUseUI"));
}
QAction* FileUseIntrfaceBRM() {
    return MenuBar1::instance().item(QStringLiteral("FileUseIntrfaceBRM"));
}
