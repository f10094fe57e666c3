#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <vector>

class OvDataListBox;
class OvPictCanvas;
class QComboBox;
class QLabel;
class QPainter;
class QPushButton;

// One editing window: the table of one OvData file on the left, its strategic map on the right,
// the header strip with the two numbering popups above the table and two rows of buttons below.
// Controls sit at fixed coordinates in the content area (below the menu bar); Event_Resized
// moves them when the window's size changes.
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

    // Control i in creation order (0 is the table); nullptr past the last.
    QWidget* Control(int index) const;
    int ControlCount() const;
    // The content area: every control's coordinates are relative to it.
    QWidget* content() const { return m_content; }

    // --- layout (OvEditorWindow.cpp) ---
    void Event_Resized();

    // --- file flows (OvEditorWindow.cpp) ---
    void ReadOvDatas(int index);
    // The load after the open dialog: reads `path` into this window's table, popups and map
    // (the picture source is asked for as usual). False, after the usual message, when the file
    // could not be read; the model is then unchanged.
    bool LoadOvDataFile(const QString& path);
    // True when the file was written.
    bool WriteOvDatas(int index);
    void CreateOvDataFromScratch(int index);
    void ExportOvDatas(int index);
    void PushButtonLoad_Action();
    void PushButtonSave_Action();
    void PushButtonBatnames_Action();

    // Unsaved edits: set by every change of the data the file holds, cleared by a load or save.
    bool isModified() const { return m_modified; }
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
    // Makes picture `id` the file's map picture and loads it from the chosen source.
    void ChangePICTresourceID(int id);
    // Sets a popup's entry from code without running its change handler; an index outside the
    // items leaves the popup showing nothing.
    static void setPopupIndex(QComboBox* popup, qint64 index);

    // --- map (OvEditorWindowMap.cpp) ---
    void CanvasPaintAction(QPainter& g);
    // The map as painted, at the canvas's size; a null image when it cannot be made.
    QImage GetCanvasScreenshot();
    void PreviewCanvas_Paint(QPainter& g);
    bool PreviewCanvas_MoreMouseDown(int x, int y);
    bool PreviewCanvas_MoreMouseDrag(int x, int y);
    void PreviewCanvas_MouseEnter();
    void PreviewCanvas_MouseExit();
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
    void Layout();
    void CreateControls();
    void Event_Open();
    void Event_Close();
    template <typename T> T* addControl(T* control, const char* name, int left, int top, int width, int height);

    QWidget* m_content = nullptr;
    std::vector<QWidget*> m_controls;
    bool m_modified = false;
};
