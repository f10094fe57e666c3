#pragma once

#include "ovdata/OvDocument.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <vector>

class CheckPanel;
class OvDataListBox;
class OvEditCommand;
class OvPictCanvas;
class QComboBox;
class QLabel;
class QPainter;
class QPushButton;
class QUndoStack;

// One editing window: the table of one OvData file on the left, its strategic map on the right,
// the header strip with the two numbering popups above the table and two rows of buttons below.
// Controls sit at fixed coordinates in the content area (below the menu bar); Event_Resized
// moves them when the window's size changes.
//
// The window owns the file's document (the model and its edit operations) and the undo stack of
// its steps (OvEditCommands.h). The table and the map are views of the document: the window turns
// what the user does in them into steps and tells them to show the result. "Modified" means the
// undo stack is not at the state of the last load or save.
//
// The class is large by nature, so its methods live in one file per concern:
//   OvEditorWindow.cpp          layout, resizing, registry hooks, load/save/new/export flows
//   OvEditorWindowTable.cpp     table events, adding, deleting, renumbering, the PICT popup
//   OvEditorWindowMap.cpp       painting, marking, the canvas buttons, screenshots
//   OvEditorWindowPictures.cpp  reading map pictures from 'UI', 'Intrface.brm' or a file
class OvEditorWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kInitialWidth = 868;
    static constexpr int kInitialHeight = 560;

    explicit OvEditorWindow(QWidget* parent = nullptr);
    ~OvEditorWindow() override;

    // The file slot 0..9 this window edits; 0 while constructing, then set by the registry.
    int myWindowIndex = 0;
    // The reload dialog's last answer in this window: picture ID and source (OvReloadWindow's
    // kFrom... values, kNone when nothing was chosen).
    int myLoadID = 0;
    int myLoadFile = 0;
    // Sets the slot and the title "OvData<index>" (with Qt's modified marker).
    void setSlot(int index);
    // "OvData<index>", as the title shows it.
    QString documentName() const;

    ov::OvDocument& document() { return m_document; }
    const ov::OvDocument& document() const { return m_document; }
    QUndoStack* undoStack() const { return m_undoStack; }
    // The file the data was last read from or saved to; empty for a new file.
    QString filePath() const { return m_filePath; }

    // Controls, named as the program finds them.
    OvDataListBox* thisListBox = nullptr;
    OvPictCanvas* PreviewCanvas = nullptr;
    QPushButton* PushButtonLoad = nullptr;
    QLabel* StaticText1 = nullptr;
    QPushButton* PushButtonSave = nullptr;
    QPushButton* PushButtonAddSector = nullptr;
    QPushButton* PushButtonAddOps = nullptr;
    QPushButton* PushButtonAddBattle = nullptr;
    QPushButton* PushButtonUnselect = nullptr;
    QPushButton* PushButtonRedraw = nullptr;
    QPushButton* PushButtonDelBattle = nullptr;
    QPushButton* PushButtonDelOps = nullptr;
    QPushButton* PushButtonDelSector = nullptr;
    QPushButton* PushButtonReloadGraphics = nullptr;
    QComboBox* PopupMenuID = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    QComboBox* PopupMenuPICT = nullptr;
    QPushButton* PushButtonBatnames = nullptr;
    // The read-out under the map buttons: the map pixel under the mouse, or the rectangle being
    // marked or moved. Not one of the designed controls (Control(i) does not list it).
    QLabel* MapReadout = nullptr;

    // The Check panel (CheckPanel.h): its header sits at the end of the third button row.
    CheckPanel* checkPanel() const { return m_checkPanel; }

    // Control i in creation order (0 is the table); nullptr past the last.
    QWidget* Control(int index) const;
    int ControlCount() const;
    // The content area: every control's coordinates are relative to it.
    QWidget* content() const { return m_content; }

    // --- layout (OvEditorWindow.cpp) ---
    void Event_Resized();
    // The map area: the canvas's rectangle at the designed size, grown by half the window's
    // extra width and all its extra height (right of the table, above the button rows).
    QRect mapArea() const;

    // --- file flows (OvEditorWindow.cpp) ---
    // The open dialog, then loadFile.
    void ReadOvDatas(int index);
    // Reads `path` into this window as the load flow does after its dialog: the table, the
    // popups and the map picture follow. A file that cannot be used gives its message and
    // changes nothing. True when the file was read.
    bool loadFile(const QString& path);
    // "Save Datas As...": the save dialog (in the folder of the window's file, its name filled
    // in), then saveToFile. True when the file was written.
    bool WriteOvDatas(int index);
    // File > Save: back to the window's file without a dialog; a window without a file asks
    // as "Save Datas As..." does.
    bool Save();
    // Writes the document to `path` through the one file writer; the window's file is then
    // `path` and the state is the saved one.
    bool saveToFile(const QString& path);
    void CreateOvDataFromScratch(int index);
    void ExportOvDatas(int index);
    void PushButtonLoad_Action();
    void PushButtonSave_Action();
    void PushButtonBatnames_Action();

    // Unsaved edits: the undo stack is not at the state of the last load or save.
    bool isModified() const;
    // false: the present state counts as saved; true: no state counts as saved (a new file).
    void setModified(bool modified);
    // Asks Save / Discard / Cancel when there are unsaved edits; true when it is fine to go on.
    // `before` names what would throw the edits away ("closing", "loading another file").
    bool maybeSave(const QString& before = QStringLiteral("closing"));

    // --- table (OvEditorWindowTable.cpp) ---
    void thisListBox_CellAction(int row, int column);
    void thisListBox_Change();
    bool thisListBox_HeaderPressed(int column);
    void PushButtonAddSector_Action();
    void PushButtonAddOps_Action();
    void PushButtonAddBattle_Action();
    void PushButtonDelSector_Action();
    void PushButtonDelOps_Action();
    void PushButtonDelBattle_Action();
    void PopupMenuID_Change();
    void PopupMenuPICT_Change();
    // Renumbers every entry from `first` (the positional ID scheme).
    void RecalculateIDs(int first);

    // Runs `step` and pushes it onto the undo stack; a step that changed nothing is dropped.
    // True when it became a step.
    bool pushStep(OvEditCommand* step);

    // --- after a step (called by the steps in OvEditCommands.cpp) ---
    // One entry's values changed: its row shows them; `select` selects and scrolls to it.
    void showEntryChanged(const ov::EntryRef& entry, bool select);
    // Rows came or went: the table is rebuilt; `entry`'s row (if any) is selected and scrolled
    // to, with its View box ticked when `tick`.
    void showStructureChanged(const ov::EntryRef& entry, bool tick);
    // The picture ID changed: the popup shows it and a known picture source shows its map.
    void showPictureIdChanged();
    // Makes picture `id` the file's map picture and loads it from the chosen source.
    void ChangePICTresourceID(int id);
    // Sets a popup's entry from code without running its change handler; an index outside the
    // items leaves the popup showing nothing.
    static void setPopupIndex(QComboBox* popup, qint64 index);

    // --- map (OvEditorWindowMap.cpp) ---
    // Paints the map as the canvas shows it: zoomed and scrolled by its view.
    void CanvasPaintAction(QPainter& g);
    // The map with the drawn rows' outlines at zoom 1, the canvas's extent; null when it cannot be
    // made.
    // `part` (map pixels) composes only that part of the extent; a null rectangle all of it.
    QImage composedMap(const QRect& part = QRect());
    // The map as composed at zoom 1, at the canvas's size; a null image when it cannot be made.
    QImage GetCanvasScreenshot();
    void PreviewCanvas_Paint(QPainter& g);
    bool PreviewCanvas_MoreMouseDown(int x, int y);
    bool PreviewCanvas_MoreMouseDrag(int x, int y);
    void PreviewCanvas_MouseEnter();
    void PreviewCanvas_MouseExit();
    void PreviewCanvas_PointerMoved(int x, int y);
    // Arrow keys on the focused map: the current row's rectangle moves (or, `resize`, its second
    // corner) by (dx, dy) map pixels, kept within 1..32767. Key presses on one row with no
    // pause longer than kNudgeBurstMs and no other step between them are one step.
    void PreviewCanvas_Nudge(int dx, int dy, bool resize);
    static constexpr int kNudgeBurstMs = 800;
    void PushButtonRedraw_Action();
    void PushButtonUnselect_Action();

    // --- pictures (OvEditorWindowPictures.cpp) ---
    void ReadPICTFromUIfile(OvPictCanvas* canvas, int id);
    void ReadPictureFromIntrface(OvPictCanvas* canvas, int id);
    void ReadPictureFromGraphicsFile(OvPictCanvas* canvas, int id);
    void PushButtonReloadGraphics_Action();

Q_SIGNALS:
    // An OvData file was read into this window or written from it (for the recent-files list).
    void ovDataFileUsed(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The table's requests: a typed value, a flag.
    void thisListBox_EditRequested(int row, int column, const QString& text);
    void thisListBox_FlagToggled(int row, int k, bool on);
    // Loads picture `id` from the source the File menu chose; `ask` false never shows a dialog
    // (a source not found yet is then left alone).
    void loadMapPicture(int id, bool ask);
    void showModified();
    // The checks follow every change of this file; the other windows' set checks follow too.
    void checksChanged();
    void refreshOtherChecks();
    // Places the Check panel after the designed controls are placed: collapsed, its one-line
    // header takes the free end of the third button row; open, its list takes the bottom of the
    // table's area, so the designed layout stays as it is while the panel is closed.
    void layoutCheckPanel();
    void Layout();
    // Places the canvas in the map area (filling it above zoom 1) and the size label, the two
    // map buttons and the read-out under it; returns the area.
    QRect placeMapArea();
    void CreateControls();
    void Event_Open();
    void Event_Close();
    template <typename T>
    T* addControl(T* control, const char* name, int left, int top, int width, int height);

    QWidget* m_content = nullptr;
    std::vector<QWidget*> m_controls;
    ov::OvDocument m_document;
    QUndoStack* m_undoStack = nullptr;
    CheckPanel* m_checkPanel = nullptr;
    QString m_filePath;
    // The mark going on: its gesture number (0: none), for merging its mouse steps into one step.
    int m_markGesture = 0;
    int m_gestures = 0;
    // The key burst going on: its gesture, row, the history index after its last step and time.
    int m_nudgeGesture = 0;
    ov::EntryRef m_nudgeEntry;
    int m_nudgeIndex = -1;
    QElapsedTimer m_nudgeClock;
    void showRectReadout(const ov::Rect& r);
    // The zoomed view's pixels, kept from paint to paint so a zoomed paint allocates nothing.
    QImage m_zoomBuffer;
};
