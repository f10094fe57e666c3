#include "app/App.h"

#include "app/MenuBar1.h"
#include "app/OpenFiles.h"
#include "app/RecentFiles.h"
#include "map/MapCursors.h"
#include "map/OvPictCanvas.h"
#include "ovdata/OvDataFile.h"
#include "platform/Dialogs.h"
#include "platform/WindowList.h"
#include "resources/Resources.h"
#include "windows/LimitsWindow.h"
#include "windows/OvEditorWindow.h"
#include "windows/mainWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTextEdit>
#include <QUndoStack>

namespace {
App* g_app = nullptr;

// The focused text field that is being edited (a table cell's editor, any editable field), or
// nullptr. Undo and Redo serve it before the window's history.
QWidget* editedTextField() {
    QWidget* focus = QApplication::focusWidget();
    if (const auto* line = qobject_cast<QLineEdit*>(focus))
        return line->isReadOnly() ? nullptr : focus;
    if (const auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        return plain->isReadOnly() ? nullptr : focus;
    if (const auto* rich = qobject_cast<QTextEdit*>(focus))
        return rich->isReadOnly() ? nullptr : focus;
    return nullptr;
}

// Runs the slot `command` ("undo", "redo", "cut", "clear") on the focused text field, if there is one.
void editFocusedText(const char* command) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        if (qstrcmp(command, "clear") == 0) {
            if (line->hasSelectedText())
                line->del();
        } else {
            QMetaObject::invokeMethod(line, command);
        }
    } else if (qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus)) {
        if (qstrcmp(command, "clear") == 0)
            QMetaObject::invokeMethod(focus, "insertPlainText", Q_ARG(QString, QString()));
        else
            QMetaObject::invokeMethod(focus, command);
    }
}
} // namespace

App* theApp() {
    return g_app;
}

App::App(int& argc, char** argv) : QApplication(argc, argv) {
    g_app = this;
    setEditorHost(this);
    setApplicationName(QStringLiteral("Mapquill"));
    setOrganizationName(QStringLiteral("Mapquill"));
    setOrganizationDomain(QStringLiteral("mapquill.example.org"));
    setApplicationVersion(QStringLiteral(MQ_VERSION));
    setDesktopFileName(QStringLiteral("org.example.mapquill"));
    // One look on every platform: the layout's fixed geometry was drawn for compact controls.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(fusion);
    initResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/mapquill.png")));
    setQuitOnLastWindowClosed(true);

    MenuBar1::instance();
    AddMenuHandlers();
    m_recentFiles = std::make_unique<RecentFiles>();
    m_recentFiles->attachTo(MenuBar1::instance().item(QStringLiteral("FileOpenRecent")));
    connect(m_recentFiles.get(), &RecentFiles::openRequested, this, &App::openRecentFile);
    Event_Open();
}

App::~App() {
    // The recent-files menu is a widget: it must go while the application still exists.
    m_recentFiles.reset();
    if (editorHost() == this)
        setEditorHost(nullptr);
    if (g_app == this)
        g_app = nullptr;
}

void App::Event_Open() {
    gVersion = applicationVersion();
    for (int i = 0; i < kSlots; ++i) {
        OvWindowVisible[static_cast<std::size_t>(i)] = false;
        OvWindow[static_cast<std::size_t>(i)] = nullptr;
    }
    OvUIfileAbsolutePath.clear();
    OvIntrfaceFileAbsolutePath.clear();
    gSelectAllIncludesHeader = false;
    gUseFileUI = true;
    FileUseUI()->setChecked(true);
    FileUseIntrfaceBRM()->setChecked(false);
    gUseColorCursors = true;
    MapCursors::setColour(gUseColorCursors);
    SettingsCursorColor()->setChecked(true);
    SettingsCursorBW()->setChecked(false);
}

void App::AddMenuHandlers() {
    MenuBar1& bar = MenuBar1::instance();
    auto bind = [this, &bar](const char* name, bool (App::*handler)()) {
        QAction* action = bar.item(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    bind("EditPaste", &App::_EditPaste_Action);
    bind("Ov0MenuItem", &App::_Ov0MenuItem_Action);
    bind("Ov1MenuItem", &App::_Ov1MenuItem_Action);
    bind("Ov2MenuItem", &App::_Ov2MenuItem_Action);
    bind("Ov3MenuItem", &App::_Ov3MenuItem_Action);
    bind("Ov4MenuItem", &App::_Ov4MenuItem_Action);
    bind("Ov5MenuItem", &App::_Ov5MenuItem_Action);
    bind("Ov6MenuItem", &App::_Ov6MenuItem_Action);
    bind("Ov7MenuItem", &App::_Ov7MenuItem_Action);
    bind("Ov8MenuItem", &App::_Ov8MenuItem_Action);
    bind("Ov9MenuItem", &App::_Ov9MenuItem_Action);
    bind("EditCopy", &App::_EditCopy_Action);
    bind("OvNewMenuItem", &App::_OvNewMenuItem_Action);
    bind("myAboutMenuItem", &App::_myAboutMenuItem_Action);
    bind("InfoLimitsMenuItem", &App::_InfoLimitsMenuItem_Action);
    bind("EditCopyListbox", &App::_EditCopyListbox_Action);
    bind("EditSelectAllListbox", &App::_EditSelectAllListbox_Action);
    bind("EditSelectallincludesheader", &App::_EditSelectallincludesheader_Action);
    bind("FileUseUI", &App::_FileUseUI_Action);
    bind("FileUseIntrfaceBRM", &App::_FileUseIntrfaceBRM_Action);
    bind("SettingsCursorColor", &App::_SettingsCursorColor_Action);
    bind("SettingsCursorBW", &App::_SettingsCursorBW_Action);
    bind("FileClose", &App::_FileClose_Action);
    bind("EditCopyPictWithRects", &App::_EditCopyPictWithRects_Action);
    bind("FileQuit", &App::requestQuit);
    bind("FileSave", &App::_FileSave_Action);
    bind("EditUndo", &App::_EditUndo_Action);
    bind("EditRedo", &App::_EditRedo_Action);

    // Cut and Clear have no command of the program's own; they serve the text field that has
    // the focus (a table cell being edited, the About window's help text).
    connect(bar.item(QStringLiteral("EditCut")), &QAction::triggered, this, [] { editFocusedText("cut"); });
    connect(bar.item(QStringLiteral("EditClear")), &QAction::triggered, this,
            [] { editFocusedText("clear"); });

    // Undo and Redo follow the focused field or the front window's history.
    connect(this, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        QObject::disconnect(m_fieldWatch);
        if (auto* line = qobject_cast<QLineEdit*>(now))
            m_fieldWatch = connect(line, &QLineEdit::textChanged, this, &App::refreshUndoActions);
        refreshUndoActions();
    });
    connect(&WindowList::instance(), &WindowList::frontChanged, this, &App::refreshUndoActions);
    refreshUndoActions();

    for (const int level : MapView::kLevels)
        connect(bar.item(QStringLiteral("ViewZoom%1").arg(level)), &QAction::triggered, this,
                [this, level] { zoomFrontWindow(level); });
    const auto zoomFront = [this](int (*next)(int)) {
        if (OvEditorWindow* window = frontEditingWindow())
            zoomFrontWindow(next(window->PreviewCanvas->zoom()));
    };
    connect(bar.item(QStringLiteral("ViewZoomIn")), &QAction::triggered, this,
            [zoomFront] { zoomFront(&MapView::levelAbove); });
    connect(bar.item(QStringLiteral("ViewZoomOut")), &QAction::triggered, this,
            [zoomFront] { zoomFront(&MapView::levelBelow); });
    connect(bar.item(QStringLiteral("ViewActualSize")), &QAction::triggered, this,
            [this] { zoomFrontWindow(1); });
    connect(&WindowList::instance(), &WindowList::frontChanged, this, &App::refreshZoomActions);
    refreshZoomActions();
}

void App::zoomFrontWindow(int zoom) {
    if (OvEditorWindow* window = frontEditingWindow())
        window->PreviewCanvas->setZoomKeepingTopLeft(zoom);
    refreshZoomActions();
}

void App::refreshZoomActions() {
    // The front editing window's level, also before it is first shown.
    const auto* window = qobject_cast<OvEditorWindow*>(Window(0));
    const int zoom = window ? window->PreviewCanvas->zoom() : 0;
    for (const int level : MapView::kLevels)
        if (QAction* action = MenuBar1::instance().item(QStringLiteral("ViewZoom%1").arg(level)))
            action->setChecked(level == zoom);
}

void App::watchHistory(OvEditorWindow* window) {
    QUndoStack* stack = window->undoStack();
    connect(stack, &QUndoStack::indexChanged, this, &App::refreshUndoActions);
    connect(stack, &QUndoStack::cleanChanged, this, &App::refreshUndoActions);
    connect(window, &QObject::destroyed, this, &App::refreshUndoActions, Qt::QueuedConnection);
    connect(window->PreviewCanvas, &OvPictCanvas::ViewChanged, this, &App::refreshZoomActions);
    connect(window, &QObject::destroyed, this, &App::refreshZoomActions, Qt::QueuedConnection);
    // A window that is the only one is front without a change of front to announce it.
    refreshZoomActions();
}

QUndoStack* App::frontHistory() const {
    // The front editing window's history, also while one of its own dialogs is up.
    auto* window = qobject_cast<OvEditorWindow*>(Window(0));
    return window ? window->undoStack() : nullptr;
}

void App::refreshUndoActions() {
    MenuBar1& bar = MenuBar1::instance();
    QAction* undo = bar.item(QStringLiteral("EditUndo"));
    QAction* redo = bar.item(QStringLiteral("EditRedo"));
    if (!undo || !redo)
        return;
    if (QWidget* field = editedTextField()) {
        const auto* line = qobject_cast<QLineEdit*>(field);
        undo->setText(QStringLiteral("Undo"));
        redo->setText(QStringLiteral("Redo"));
        undo->setEnabled(!line || line->isUndoAvailable());
        redo->setEnabled(!line || line->isRedoAvailable());
        return;
    }
    const QUndoStack* stack = frontHistory();
    const bool canUndo = stack && stack->canUndo();
    const bool canRedo = stack && stack->canRedo();
    undo->setText(canUndo ? QStringLiteral("Undo ") + stack->undoText() : QStringLiteral("Undo"));
    redo->setText(canRedo ? QStringLiteral("Redo ") + stack->redoText() : QStringLiteral("Redo"));
    undo->setEnabled(canUndo);
    redo->setEnabled(canRedo);
}

bool App::_EditUndo_Action() {
    if (editedTextField())
        editFocusedText("undo");
    else if (QUndoStack* stack = frontHistory())
        stack->undo();
    refreshUndoActions();
    return true;
}

bool App::_EditRedo_Action() {
    if (editedTextField())
        editFocusedText("redo");
    else if (QUndoStack* stack = frontHistory())
        stack->redo();
    refreshUndoActions();
    return true;
}

bool App::_FileSave_Action() {
    if (OvEditorWindow* window = frontEditingWindow())
        window->Save();
    return true;
}

void App::OvWindowInit(int index) {
    if (index < 0 || index > 9)
        return;
    const auto slot = static_cast<std::size_t>(index);
    if (OvWindowVisible[slot] && OvWindow[slot]) {
        OvWindow[slot]->setVisible(true);
    } else {
        OvEditorWindow* window = newEditingWindow(index);
        // The window is shown before the open dialog so the dialog has a parent to sit on.
        WindowList::instance().bringToFront(window);
        window->ReadOvDatas(index);
        if (!OvWindow[slot])
            return;
    }
    WindowList::instance().bringToFront(OvWindow[slot]);
}

OvEditorWindow* App::newEditingWindow(int index) {
    auto* window = new OvEditorWindow();
    const auto slot = static_cast<std::size_t>(index);
    OvWindow[slot] = window;
    OvWindowVisible[slot] = true;
    const bool overview = index == 0;
    window->PushButtonAddSector->setEnabled(overview);
    window->PushButtonDelSector->setEnabled(overview);
    window->PushButtonBatnames->setEnabled(overview);
    window->setSlot(index);
    watchHistory(window);
    OpenFiles::watchEditingWindow(window);
    return window;
}

void App::openRecentFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        m_recentFiles->remove(path);
        MsgBox(QString::fromLatin1(ov::OvDataMessages::kFailedToOpen.data(),
                                   static_cast<qsizetype>(ov::OvDataMessages::kFailedToOpen.size())));
        return;
    }
    OpenFiles::open({path});
}

bool App::_OvNewMenuItem_Action() {
    int i = 4;
    while (OvWindowVisible[static_cast<std::size_t>(i)] && OvWindow[static_cast<std::size_t>(i)] && i < 10)
        ++i;
    if (i >= 10) {
        MsgBox(QStringLiteral("sorry, only up to 9 OvData-files are possible."));
        return true;
    }
    auto* window = new OvEditorWindow();
    const auto slot = static_cast<std::size_t>(i);
    OvWindow[slot] = window;
    OvWindowVisible[slot] = true;
    window->PushButtonAddSector->setEnabled(false);
    window->PushButtonDelSector->setEnabled(false);
    window->setSlot(i);
    watchHistory(window);
    OpenFiles::watchEditingWindow(window);
    window->CreateOvDataFromScratch(i);
    WindowList::instance().bringToFront(window);
    return true;
}

bool App::_Ov0MenuItem_Action() {
    OvWindowInit(0);
    return true;
}
bool App::_Ov1MenuItem_Action() {
    OvWindowInit(1);
    return true;
}
bool App::_Ov2MenuItem_Action() {
    OvWindowInit(2);
    return true;
}
bool App::_Ov3MenuItem_Action() {
    OvWindowInit(3);
    return true;
}
bool App::_Ov4MenuItem_Action() {
    OvWindowInit(4);
    return true;
}
bool App::_Ov5MenuItem_Action() {
    OvWindowInit(5);
    return true;
}
bool App::_Ov6MenuItem_Action() {
    OvWindowInit(6);
    return true;
}
bool App::_Ov7MenuItem_Action() {
    OvWindowInit(7);
    return true;
}
bool App::_Ov8MenuItem_Action() {
    OvWindowInit(8);
    return true;
}
bool App::_Ov9MenuItem_Action() {
    OvWindowInit(9);
    return true;
}

bool App::_FileClose_Action() {
    if (WindowCount() > 1) {
        if (QWidget* front = Window(0))
            front->close();
    } else {
        requestQuit();
    }
    return true;
}

bool App::requestQuit() {
    // Every window gets its chance to keep unsaved edits; a Cancel stops the quit there.
    for (std::size_t slot = 0; slot < OvWindow.size(); ++slot) {
        if (OvEditorWindow* window = OvWindow[slot]; window && !window->maybeSave())
            return true;
    }
    for (std::size_t slot = 0; slot < OvWindow.size(); ++slot)
        if (OvEditorWindow* window = OvWindow[slot])
            window->setModified(false); // already asked; closing must not ask again
    closeAllWindows();
    quit();
    return true;
}

bool App::_FileUseUI_Action() {
    gUseFileUI = true;
    FileUseUI()->setChecked(true);
    FileUseIntrfaceBRM()->setChecked(false);
    return true;
}

bool App::_FileUseIntrfaceBRM_Action() {
    gUseFileUI = false;
    FileUseUI()->setChecked(false);
    FileUseIntrfaceBRM()->setChecked(true);
    return true;
}

bool App::_SettingsCursorColor_Action() {
    SettingsCursorColor()->setChecked(true);
    SettingsCursorBW()->setChecked(false);
    gUseColorCursors = true;
    MapCursors::setColour(gUseColorCursors);
    return true;
}

bool App::_SettingsCursorBW_Action() {
    SettingsCursorColor()->setChecked(false);
    SettingsCursorBW()->setChecked(true);
    gUseColorCursors = false;
    MapCursors::setColour(gUseColorCursors);
    return true;
}

mainWindow* App::aboutWindow() {
    if (!m_about) {
        m_about = new mainWindow();
        OpenFiles::acceptFileDrops(m_about);
    }
    return m_about;
}

LimitsWindow* App::limitsWindow() {
    if (!m_limits)
        m_limits = new LimitsWindow();
    return m_limits;
}

bool App::_myAboutMenuItem_Action() {
    WindowList::instance().bringToFront(aboutWindow());
    return true;
}

bool App::_InfoLimitsMenuItem_Action() {
    WindowList::instance().bringToFront(limitsWindow());
    return true;
}

QWidget* App::Window(int index) const {
    return WindowList::instance().window(index);
}

int App::WindowCount() const {
    return WindowList::instance().count();
}

OvEditorWindow* App::frontEditingWindow() const {
    auto* window = qobject_cast<OvEditorWindow*>(Window(0));
    return window && window->isVisible() ? window : nullptr;
}

bool App::useFileUI() const {
    return gUseFileUI;
}

QString& App::rememberedUiFile() {
    return OvUIfileAbsolutePath;
}

QString& App::rememberedIntrfaceFile() {
    return OvIntrfaceFileAbsolutePath;
}

void App::installMenuBar(QMainWindow* window) {
    MenuBar1::instance().installInto(window);
}

void App::editorClosed(int slot, OvEditorWindow* window) {
    forgetWindow(slot, window);
}

OvEditorWindow* App::editorInSlot(int slot) const {
    if (slot < 0 || slot >= kSlots)
        return nullptr;
    const auto index = static_cast<std::size_t>(slot);
    return OvWindowVisible[index] ? OvWindow[index].data() : nullptr;
}

OvEditorWindow* App::openInSlot(int slot, const QString& path) {
    if (slot < 0 || slot >= kSlots || OvWindow[static_cast<std::size_t>(slot)])
        return nullptr;
    // As OpenFiles::open does for a file from outside: the window is in front while the load
    // asks its questions, and goes again when the file cannot be used.
    OvEditorWindow* window = newEditingWindow(slot);
    WindowList::instance().bringToFront(window);
    QPointer<OvEditorWindow> guard = window;
    if (!window->loadFile(path)) {
        if (guard) {
            window->setModified(false);
            window->close();
        }
        return nullptr;
    }
    return guard.data();
}

void App::forgetWindow(int index, OvEditorWindow* window) {
    if (index < 0 || index >= kSlots)
        return;
    const auto slot = static_cast<std::size_t>(index);
    if (OvWindow[slot] == window) {
        OvWindow[slot] = nullptr;
        OvWindowVisible[slot] = false;
    }
}
