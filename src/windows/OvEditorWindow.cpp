#include "windows/OvEditorWindow.h"

#include "files/Files.h"
#include "map/OvPictCanvas.h"
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"
#include "ovdata/OvDataRules.h"
#include "platform/ColonPath.h"
#include "platform/Dialogs.h"
#include "platform/MacFileType.h"
#include "platform/WindowList.h"
#include "table/OvDataListBox.h"
#include "windows/CheckPanel.h"
#include "windows/ContentArea.h"
#include "windows/EditorHost.h"
#include "windows/OvEditCommands.h"
#include "windows/OvReloadWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QUndoStack>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <span>

namespace {

// Column widths of the table: the View and Number columns widen once the table is this wide.
constexpr int kWideTableFrom = 580;
const auto kNarrowColumns = QStringLiteral("40,50,*,40,40,40,40,70,45,45,45");
const auto kWideColumns = QStringLiteral("50,70,*,40,40,40,40,70,45,45,45");

QFont fontOfSize(int pixels, bool underline = false) {
    QFont font;
    font.setPixelSize(pixels);
    font.setUnderline(underline);
    return font;
}

// The dialog's path as the file module takes it: the same bytes QFile would use.
std::filesystem::path nativePath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Through the one safe writer: a failed save never damages the file that was there, and the
// message names the file and the system's reason.
bool saveWhole(const QString& path, const QByteArray& bytes, QString* error) {
    const files::WriteResult written = files::writeFile(
        nativePath(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!written.ok()) {
        const auto size = static_cast<qsizetype>(written.message.size());
#ifdef _WIN32
        *error = QString::fromUtf8(written.message.data(), size);
#else
        *error = QString::fromLocal8Bit(written.message.data(), size);
#endif
    }
    return written.ok();
}

QString numbered(const char* text, int index) {
    return QString::fromLatin1(text) + QString::number(index);
}

} // namespace

OvEditorWindow::OvEditorWindow(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_undoStack = new QUndoStack(this);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, [this] { showModified(); });
    Layout();
    CreateControls();
    m_checkPanel = new CheckPanel(*this, m_content);
    m_checkPanel->refresh();
    layoutCheckPanel();
    connect(m_undoStack, &QUndoStack::indexChanged, this, [this] { checksChanged(); });
    connect(this, &OvEditorWindow::ovDataFileUsed, this, [this] { checksChanged(); });
    Event_Open();
    WindowList::instance().track(this);
}

OvEditorWindow::~OvEditorWindow() = default;

void OvEditorWindow::Layout() {
    setWindowTitle(QStringLiteral("BRM OvData editing"));
    if (EditorHost* host = editorHost())
        host->installMenuBar(this);
    m_content = new ContentArea(this, [this] { Event_Resized(); });
    m_content->setObjectName(QStringLiteral("content"));
    m_content->setMinimumSize(kInitialWidth, kInitialHeight);
    m_content->setMaximumSize(32000, 32000);
    setCentralWidget(m_content);
    // The designed size is the content area's; the menu bar, where it sits in the window, adds to it.
    resize(kInitialWidth, kInitialHeight + menuBar()->sizeHint().height());
}

template <typename T>
T* OvEditorWindow::addControl(T* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(left, top, width, height);
    m_controls.push_back(control);
    return control;
}

void OvEditorWindow::CreateControls() {
    QWidget* c = m_content;
    auto button = [c](const char* text, int size) {
        auto* b = new QPushButton(QString::fromLatin1(text), c);
        b->setFont(fontOfSize(size));
        b->setAutoDefault(false);
        return b;
    };
    auto label = [c](const QString& text, int size, Qt::Alignment alignment, bool underline = false) {
        auto* l = new QLabel(text, c);
        l->setFont(fontOfSize(size, underline));
        l->setAlignment(alignment | Qt::AlignVCenter);
        return l;
    };
    auto popup = [c](const QStringList& items) {
        auto* p = new QComboBox(c);
        p->setFont(fontOfSize(10));
        p->addItems(items);
        p->setCurrentIndex(0);
        return p;
    };

    // The table first: it is control 0, which the select-all commands look for.
    thisListBox = addControl(new OvDataListBox(c), "thisListBox", 0, 27, 542, 441);
    thisListBox->setDocument(&m_document);
    thisListBox->setToolTip(
        QStringLiteral("click into the header of column \"View\" to toggle the visibility "
                       "of all entries on the map in this editor"));
    thisListBox->ColumnWidths(kNarrowColumns);
    PreviewCanvas = addControl(new OvPictCanvas(c), "PreviewCanvas", 550, 14, ov::rules::kMapWidth,
                               ov::rules::kMapHeight);
    PushButtonLoad = addControl(button("Re-Load Datas...", 12), "PushButtonLoad", 20, 475, 150, 20);
    StaticText1 = addControl(label(QStringLiteral("(size: should be %1 x %2 pixels)")
                                       .arg(ov::rules::kMapWidth)
                                       .arg(ov::rules::kMapHeight),
                                   10, Qt::AlignHCenter),
                             "StaticText1", 550, 505, ov::rules::kMapWidth, 20);
    PushButtonSave = addControl(button("Save Datas As...", 12), "PushButtonSave", 20, 533, 150, 20);
    PushButtonAddSector = addControl(button("Add Sector", 12), "PushButtonAddSector", 190, 475, 100, 20);
    PushButtonAddOps = addControl(button("Add Ops", 12), "PushButtonAddOps", 300, 475, 100, 20);
    PushButtonAddBattle = addControl(button("Add Battle", 12), "PushButtonAddBattle", 410, 475, 100, 20);
    PushButtonUnselect = addControl(button("Unselect Entry", 10), "PushButtonUnselect", 550, 531, 100, 16);
    PushButtonRedraw = addControl(button("Redraw Backgr", 10), "PushButtonRedraw", 661, 531, 100, 16);
    PushButtonDelBattle = addControl(button("Delete Battle", 12), "PushButtonDelBattle", 410, 504, 100, 20);
    PushButtonDelOps = addControl(button("Delete Ops", 12), "PushButtonDelOps", 300, 504, 100, 20);
    PushButtonDelSector = addControl(button("Delete Sector", 12), "PushButtonDelSector", 190, 504, 100, 20);
    PushButtonReloadGraphics =
        addControl(button("Re-Load Graphics...", 12), "PushButtonReloadGraphics", 20, 504, 150, 20);
    PopupMenuID = addControl(popup({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                    QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                                    QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")}),
                             "PopupMenuID", 185, 2, 47, 18);
    StaticText2 =
        addControl(label(QStringLiteral("Header:"), 10, Qt::AlignLeft, true), "StaticText2", 5, 2, 52, 20);
    StaticText3 = addControl(label(QStringLiteral("set ID of first sector:"), 10, Qt::AlignLeft),
                             "StaticText3", 53, 3, 131, 18);
    StaticText4 = addControl(label(QStringLiteral("set PICT-res-ID of map:"), 10, Qt::AlignLeft),
                             "StaticText4", 249, 3, 145, 18);
    PopupMenuPICT = addControl(popup(OvReloadWindow::pictureItems()), "PopupMenuPICT", 393, 3, 149, 18);
    PushButtonBatnames =
        addControl(button("Export As Batnames...", 12), "PushButtonBatnames", 190, 533, 150, 20);

    // Focused by a click or the tab key: the arrow keys then move the current row's rectangle.
    PreviewCanvas->setFocusPolicy(Qt::StrongFocus);
    MapReadout = label(QString(), 10, Qt::AlignLeft);
    MapReadout->setObjectName(QStringLiteral("MapReadout"));
    MapReadout->setGeometry(550, 547, 314, 13);

    connect(PushButtonLoad, &QPushButton::clicked, this, &OvEditorWindow::PushButtonLoad_Action);
    connect(PushButtonSave, &QPushButton::clicked, this, &OvEditorWindow::PushButtonSave_Action);
    connect(PushButtonBatnames, &QPushButton::clicked, this, &OvEditorWindow::PushButtonBatnames_Action);
    connect(PushButtonAddSector, &QPushButton::clicked, this, &OvEditorWindow::PushButtonAddSector_Action);
    connect(PushButtonAddOps, &QPushButton::clicked, this, &OvEditorWindow::PushButtonAddOps_Action);
    connect(PushButtonAddBattle, &QPushButton::clicked, this, &OvEditorWindow::PushButtonAddBattle_Action);
    connect(PushButtonDelSector, &QPushButton::clicked, this, &OvEditorWindow::PushButtonDelSector_Action);
    connect(PushButtonDelOps, &QPushButton::clicked, this, &OvEditorWindow::PushButtonDelOps_Action);
    connect(PushButtonDelBattle, &QPushButton::clicked, this, &OvEditorWindow::PushButtonDelBattle_Action);
    connect(PushButtonUnselect, &QPushButton::clicked, this, &OvEditorWindow::PushButtonUnselect_Action);
    connect(PushButtonRedraw, &QPushButton::clicked, this, &OvEditorWindow::PushButtonRedraw_Action);
    connect(PushButtonReloadGraphics, &QPushButton::clicked, this,
            &OvEditorWindow::PushButtonReloadGraphics_Action);
    // `activated` fires for the user's choice only, so setting a popup from code never renumbers.
    connect(PopupMenuID, &QComboBox::activated, this, &OvEditorWindow::PopupMenuID_Change);
    connect(PopupMenuPICT, &QComboBox::activated, this, &OvEditorWindow::PopupMenuPICT_Change);

    connect(thisListBox, &OvDataListBox::CellAction, this, &OvEditorWindow::thisListBox_CellAction);
    connect(thisListBox, &OvDataListBox::Change, this, &OvEditorWindow::thisListBox_Change);
    connect(thisListBox, &OvDataListBox::HeaderPressed, this, &OvEditorWindow::thisListBox_HeaderPressed);
    connect(thisListBox, &OvDataListBox::editRequested, this, &OvEditorWindow::thisListBox_EditRequested);
    connect(thisListBox, &OvDataListBox::flagToggled, this, &OvEditorWindow::thisListBox_FlagToggled);

    connect(PreviewCanvas, &OvPictCanvas::Paint, this, &OvEditorWindow::PreviewCanvas_Paint);
    connect(PreviewCanvas, &OvPictCanvas::MoreMouseDown, this, &OvEditorWindow::PreviewCanvas_MoreMouseDown);
    connect(PreviewCanvas, &OvPictCanvas::MoreMouseDrag, this, &OvEditorWindow::PreviewCanvas_MoreMouseDrag);
    connect(PreviewCanvas, &OvPictCanvas::MouseEnter, this, &OvEditorWindow::PreviewCanvas_MouseEnter);
    connect(PreviewCanvas, &OvPictCanvas::MouseExit, this, &OvEditorWindow::PreviewCanvas_MouseExit);
    connect(PreviewCanvas, &OvPictCanvas::PointerMoved, this, &OvEditorWindow::PreviewCanvas_PointerMoved);
    connect(PreviewCanvas, &OvPictCanvas::NudgeRequested, this, &OvEditorWindow::PreviewCanvas_Nudge);
    // A zoom in or back to 1 changes what the map area holds (a scroll leaves it as it is).
    connect(PreviewCanvas, &OvPictCanvas::ViewChanged, this, [this] {
        if (m_content)
            placeMapArea();
    });
}

QWidget* OvEditorWindow::Control(int index) const {
    if (index < 0 || index >= ControlCount())
        return nullptr;
    return m_controls[static_cast<std::size_t>(index)];
}

int OvEditorWindow::ControlCount() const {
    return static_cast<int>(m_controls.size());
}

void OvEditorWindow::Event_Open() {
    setPopupIndex(PopupMenuID, 0);
    setPopupIndex(PopupMenuPICT, 0);
    PushButtonAddSector->setEnabled(true);
    PushButtonDelSector->setEnabled(true);
    PushButtonBatnames->setEnabled(true);
}

void OvEditorWindow::Event_Resized() {
    if (!m_content || !PreviewCanvas || !MapReadout)
        return;
    const int h = m_content->height();
    auto moveTop = [](QWidget* control, int top) { control->move(control->x(), top); };

    const QRect area = placeMapArea();
    thisListBox->resize(area.x() - thisListBox->x() - 8, h - thisListBox->y() - 92);

    const int firstRow = thisListBox->y() + thisListBox->height() + 7;
    for (QWidget* control :
         {static_cast<QWidget*>(PushButtonLoad), static_cast<QWidget*>(PushButtonAddSector),
          static_cast<QWidget*>(PushButtonAddOps), static_cast<QWidget*>(PushButtonAddBattle)})
        moveTop(control, firstRow);
    const int secondRow = PushButtonLoad->y() + 29;
    for (QWidget* control :
         {static_cast<QWidget*>(PushButtonReloadGraphics), static_cast<QWidget*>(PushButtonDelSector),
          static_cast<QWidget*>(PushButtonDelOps), static_cast<QWidget*>(PushButtonDelBattle)})
        moveTop(control, secondRow);
    const int thirdRow = PushButtonReloadGraphics->y() + 29;
    moveTop(PushButtonSave, thirdRow);
    moveTop(PushButtonBatnames, thirdRow);

    thisListBox->ColumnWidths(thisListBox->width() < kWideTableFrom ? kNarrowColumns : kWideColumns);
    layoutCheckPanel();
}

void OvEditorWindow::layoutCheckPanel() {
    if (!m_checkPanel)
        return;
    const int left = PushButtonBatnames->x() + PushButtonBatnames->width() + 10;
    const int right = thisListBox->x() + thisListBox->width();
    m_checkPanel->header()->setGeometry(left, PushButtonBatnames->y(), std::max(right - left, 0),
                                        PushButtonBatnames->height());
    if (!m_checkPanel->isExpanded())
        return;
    const int listHeight = std::min(CheckPanel::kListHeight, thisListBox->height() / 2);
    thisListBox->resize(thisListBox->width(), thisListBox->height() - listHeight - 4);
    m_checkPanel->list()->setGeometry(thisListBox->x(), thisListBox->y() + thisListBox->height() + 4,
                                      thisListBox->width(), listHeight);
}

void OvEditorWindow::checksChanged() {
    if (!m_checkPanel)
        return;
    m_checkPanel->refresh();
    refreshOtherChecks();
}

void OvEditorWindow::refreshOtherChecks() {
    if (EditorHost* host = editorHost())
        for (int slot = 0; slot <= 9; ++slot)
            if (OvEditorWindow* other = host->editorInSlot(slot); other && other != this)
                other->m_checkPanel->scheduleRefresh();
}

QRect OvEditorWindow::mapArea() const {
    // Beyond the designed size, half the extra width and all the extra height go to the map
    // area; its right edge keeps 4 px to the window's, its top stays at 14. At the designed size
    // it is the canvas's rectangle as designed (a smaller picture's canvas: its width).
    const int extraWidth = std::max(0, m_content->width() - kInitialWidth);
    const int extraHeight = std::max(0, m_content->height() - kInitialHeight);
    const int width = PreviewCanvas->extentSize().width() + extraWidth / 2;
    return {m_content->width() - 4 - width, 14, width, OvPictCanvas::kMapHeight + extraHeight};
}

QRect OvEditorWindow::placeMapArea() {
    const QRect area = mapArea();
    // Zoomed, the canvas fills the area; at zoom 1 it is the map's own size at the area's top
    // right, where the design has it.
    const QSize extent = PreviewCanvas->extentSize();
    if (PreviewCanvas->zoom() > 1)
        PreviewCanvas->setGeometry(area);
    else
        PreviewCanvas->setGeometry(area.right() + 1 - extent.width(), area.y(), extent.width(),
                                   extent.height());
    // Under the area: the size label, the two map buttons, the read-out.
    StaticText1->setGeometry(area.x(), area.bottom() + 1, area.width(), StaticText1->height());
    PushButtonUnselect->move(area.x(), area.bottom() + 27);
    PushButtonRedraw->move(area.x() + 111, area.bottom() + 27);
    MapReadout->setGeometry(area.x(), area.bottom() + 43, area.width(), MapReadout->height());
    return area;
}

void OvEditorWindow::setPopupIndex(QComboBox* popup, qint64 index) {
    const QSignalBlocker blocker(popup);
    popup->setCurrentIndex(index >= 0 && index < popup->count() ? static_cast<int>(index) : -1);
}

void OvEditorWindow::setSlot(int index) {
    myWindowIndex = index;
    checksChanged();
    // "[*]" is Qt's place for the modified marker; the title reads "OvData<index>".
    setWindowTitle(documentName() + QStringLiteral("[*]"));
    showModified();
}

void OvEditorWindow::showModified() {
    // Until the registry names the window its designed title has no place for the marker.
    if (windowTitle().contains(QLatin1String("[*]")))
        setWindowModified(isModified());
}

QString OvEditorWindow::documentName() const {
    return numbered("OvData", myWindowIndex);
}

bool OvEditorWindow::isModified() const {
    return !m_undoStack->isClean();
}

void OvEditorWindow::setModified(bool modified) {
    if (modified)
        m_undoStack->resetClean(); // no state of the history is the saved one
    else
        m_undoStack->setClean();
}

bool OvEditorWindow::maybeSave(const QString& before) {
    // A cell being typed in counts as an edit: committed first, so the question sees it.
    if (!thisListBox->commitPendingEdit())
        return false;
    if (!isModified())
        return true;
    switch (dialogs().askUnsaved(this, documentName(), before)) {
    case UnsavedChoice::Save:
        return Save();
    case UnsavedChoice::Discard:
        return true;
    case UnsavedChoice::Cancel:
        break;
    }
    return false;
}

void OvEditorWindow::closeEvent(QCloseEvent* event) {
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    Event_Close();
    WindowList::instance().untrack(this);
    // The other windows' set checks now take this file from its folder, or do without it.
    refreshOtherChecks();
    event->accept();
}

void OvEditorWindow::Event_Close() {
    if (EditorHost* host = editorHost())
        host->editorClosed(myWindowIndex, this);
}

void OvEditorWindow::PushButtonLoad_Action() {
    if (maybeSave(QStringLiteral("loading another file")))
        ReadOvDatas(myWindowIndex);
}

void OvEditorWindow::PushButtonSave_Action() {
    WriteOvDatas(myWindowIndex);
}

void OvEditorWindow::PushButtonBatnames_Action() {
    ExportOvDatas(myWindowIndex);
}

void OvEditorWindow::ReadOvDatas(int index) {
    FileDialogRequest request;
    request.initialLocation = ColonPath::dialogStart(numbered("Brenmoor:Data:Graphics:OvData", index));
    request.title = numbered("Select a file OvData", index);
    request.promptText = numbered("select a BRM file 'OvData", index) +
                         QStringLiteral("' which contains the BRM overlay datas.");
    const QString path = dialogs().openFile(this, request);
    if (!path.isEmpty())
        loadFile(path);
}

bool OvEditorWindow::loadFile(const QString& path) {
    if (QFileInfo(path).isDir()) {
        MsgBox(QStringLiteral("please select a single file"), this);
        return false;
    }
    const auto failedToOpen = [this] {
        MsgBox(QString::fromLatin1(ov::OvDataMessages::kFailedToOpen.data(),
                                   static_cast<qsizetype>(ov::OvDataMessages::kFailedToOpen.size())),
               this);
        return false;
    };

    // Only a plain file is opened: a pipe or a device could block the program or never end.
    // No OvData file is larger than its eleven full levels; bytes past that hold no record, so
    // a huge wrong choice costs no more than a right one.
    const files::ReadResult file =
        files::readFile(nativePath(path), ov::OvDataLayout::kMaxFileSize, files::BeyondLimit::KeepPrefix);
    if (!file.ok())
        return failedToOpen();

    // A rejected file leaves the document and its history as they were, and the table is not
    // rebuilt either.
    const ov::OvDataReadResult read = ov::ReadFromOvDataFile(file.bytes);
    if (!read.ok()) {
        MsgBox(QString::fromStdString(read.message), this);
        return false;
    }
    m_document.reset(*read.model);
    // The history of the previous file means nothing for this one.
    m_undoStack->clear();
    m_undoStack->setClean();
    m_filePath = QFileInfo(path).absoluteFilePath();
    setWindowFilePath(m_filePath);

    thisListBox->PutDataToListBox();
    const ov::OvDataModel& m = m_document.model();
    setPopupIndex(PopupMenuPICT, qint64{m.OvResourceID} - ov::rules::kFirstPictureId);
    setPopupIndex(PopupMenuID, qint64{m.SectorID[0]} - 1);
    loadMapPicture(m.OvResourceID, true);
    Q_EMIT ovDataFileUsed(path);
    return true;
}

bool OvEditorWindow::WriteOvDatas(int index) {
    if (!thisListBox->commitPendingEdit())
        return false;
    FileDialogRequest request;
    request.title = numbered("Create new file OvData", index);
    request.promptText = numbered("enter name for new BRM file 'OvData", index) +
                         QStringLiteral("' which will contains the new overlay datas.");
    if (!m_filePath.isEmpty()) {
        const QFileInfo file(m_filePath);
        request.initialLocation = file.absolutePath();
        request.suggestedFileName = file.fileName();
    }
    const QString path = dialogs().saveFile(this, request);
    if (path.isEmpty())
        return false;
    return saveToFile(path);
}

bool OvEditorWindow::Save() {
    if (!thisListBox->commitPendingEdit())
        return false;
    if (m_filePath.isEmpty())
        return WriteOvDatas(myWindowIndex);
    return saveToFile(m_filePath);
}

bool OvEditorWindow::saveToFile(const QString& path) {
    // The file takes the data as the table shows it (battle flags as 0 or 1).
    const auto model = std::make_unique<ov::OvDataModel>(m_document.fileModel());
    const ov::OvDataWriteResult result = ov::WriteToOvDataFile(*model);
    if (!result.ok()) {
        MsgBox(QString::fromStdString(result.message), this);
        return false; // nothing was written
    }
    const QByteArray bytes(reinterpret_cast<const char*>(result.bytes.data()),
                           static_cast<qsizetype>(result.bytes.size()));
    QString error;
    if (!saveWhole(path, bytes, &error)) {
        MsgBox(QStringLiteral("sorry, file could not be written: ") + error, this);
        return false;
    }
    setMacFileType(path, "ScMa", "!BR!");
    m_filePath = QFileInfo(path).absoluteFilePath();
    setWindowFilePath(m_filePath);
    m_undoStack->setClean();
    Q_EMIT ovDataFileUsed(path);
    return true;
}

void OvEditorWindow::ExportOvDatas(int index) {
    if (!thisListBox->commitPendingEdit())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Export as new file Batnames");
    request.suggestedFileName = numbered("Batnames from OvData", index);
    request.promptText = QStringLiteral("enter name for new BRM base-file 'Batnames'.");
    const QString path = dialogs().saveFile(this, request);
    if (path.isEmpty())
        return;

    const std::string text =
        ov::ExportAsBatnamesFile(*std::make_unique<ov::OvDataModel>(m_document.fileModel()));
    QString error;
    if (!saveWhole(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())), &error)) {
        MsgBox(QStringLiteral("sorry, file could not be written: ") + error, this);
        return;
    }
    setMacFileType(path, "TEXT", "LMAN");
}

void OvEditorWindow::CreateOvDataFromScratch(int index) {
    m_document.resetFromScratch(index);
    const ov::OvDataModel& m = m_document.model();
    setPopupIndex(PopupMenuPICT, qint64{m.OvResourceID} - ov::rules::kFirstPictureId);
    setPopupIndex(PopupMenuID, qint64{m.SectorID[0]} - 1);
    thisListBox->PutDataToListBox();
    m_undoStack->clear();
    // A new file exists only in memory until it is saved: no state of its history is saved.
    setModified(true);
    checksChanged();
}
