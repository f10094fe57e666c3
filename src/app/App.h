#pragma once

#include "windows/EditorHost.h"

#include <QApplication>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

class OvEditorWindow;
class RecentFiles;
class mainWindow;
class LimitsWindow;
class QUndoStack;

// The application object: run-time settings, the registry of editing windows (slot n holds the
// window of "OvData" n) and every menu command. There is exactly one, reachable as theApp().
// The windows never see it: they reach what they need through EditorHost.
class App : public QApplication, public EditorHost {
    Q_OBJECT
public:
    App(int& argc, char** argv);
    ~App() override;

    // Registry; slot 10 exists but is never used.
    static constexpr int kSlots = 11;
    std::array<bool, kSlots> OvWindowVisible{};
    std::array<QPointer<OvEditorWindow>, kSlots> OvWindow{};

    QString OvUIfileAbsolutePath;
    QString OvIntrfaceFileAbsolutePath;

    bool gSelectAllIncludesHeader = false;
    bool gUseFileUI = true;
    bool gUseColorCursors = true;
    QString gVersion;

    // The settings' start values; also used by tests to start from a clean state.
    void Event_Open();

    void OvWindowInit(int index);
    // A new editing window registered in slot `index` (0..9, free), titled and with the buttons
    // of its slot, not yet shown and with nothing loaded.
    OvEditorWindow* newEditingWindow(int index);
    // File > Open Recent's list; a missing file is reported and dropped from it.
    RecentFiles& recentFiles() { return *m_recentFiles; }
    void openRecentFile(const QString& path);

    // Menu handlers: one per item that has a command; each returns true ("handled").
    bool _OvNewMenuItem_Action();
    bool _Ov0MenuItem_Action();
    bool _Ov1MenuItem_Action();
    bool _Ov2MenuItem_Action();
    bool _Ov3MenuItem_Action();
    bool _Ov4MenuItem_Action();
    bool _Ov5MenuItem_Action();
    bool _Ov6MenuItem_Action();
    bool _Ov7MenuItem_Action();
    bool _Ov8MenuItem_Action();
    bool _Ov9MenuItem_Action();
    bool _FileClose_Action();
    bool _FileSave_Action();
    // Undo and Redo act on the focused text field while one is being edited, else on the
    // history of the editing window in front.
    bool _EditUndo_Action();
    bool _EditRedo_Action();
    // The captions and enabled states of Undo and Redo follow the field or the history.
    void refreshUndoActions();
    bool _FileUseUI_Action();
    bool _FileUseIntrfaceBRM_Action();
    bool _SettingsCursorColor_Action();
    bool _SettingsCursorBW_Action();
    bool _myAboutMenuItem_Action();
    // View: the map's zoom in the front editing window (nothing without one), keeping its
    // top-left visible map pixel; the level items' check marks follow that window.
    void zoomFrontWindow(int zoom);
    void refreshZoomActions();
    bool _InfoLimitsMenuItem_Action();

    // Clipboard and selection commands (ClipboardCommands.cpp).
    bool _EditCopy_Action();
    bool _EditCopyPictWithRects_Action();
    bool _EditPaste_Action();
    bool _EditCopyListbox_Action();
    bool _EditSelectAllListbox_Action();
    bool _EditSelectallincludesheader_Action();

    // Quit: every editing window with unsaved edits is asked first; false when the user cancelled.
    bool requestQuit();

    // The editing window in front, when the frontmost window is one and is visible; else nullptr.
    OvEditorWindow* frontEditingWindow() const;

    // The frontmost of the program's windows and how many are open.
    QWidget* Window(int index) const;
    int WindowCount() const;

    // The single About and Known Limits windows, created on first use.
    mainWindow* aboutWindow();
    LimitsWindow* limitsWindow();

    // Called by an editing window's close handler.
    void forgetWindow(int index, OvEditorWindow* window);

    // EditorHost
    bool useFileUI() const override;
    QString& rememberedUiFile() override;
    QString& rememberedIntrfaceFile() override;
    void installMenuBar(QMainWindow* window) override;
    void editorClosed(int slot, OvEditorWindow* window) override;
    OvEditorWindow* editorInSlot(int slot) const override;
    OvEditorWindow* openInSlot(int slot, const QString& path) override;

private:
    void AddMenuHandlers();
    void watchHistory(OvEditorWindow* window);
    QUndoStack* frontHistory() const;
    QMetaObject::Connection m_fieldWatch;

    QPointer<mainWindow> m_about;
    QPointer<LimitsWindow> m_limits;
    std::unique_ptr<RecentFiles> m_recentFiles;
};

App* theApp();
