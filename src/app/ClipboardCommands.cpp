#include "app/App.h"
#include "map/OvPictCanvas.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

// The Edit menu's table and picture commands. Each acts on the editing window in front and does
// nothing, silently, when the frontmost window is not a visible editing window.

namespace {

const QChar kTab(9);
const QChar kCr(13);

int selectedCount(const OvDataListBox& table) {
    int count = 0;
    for (int row = 0; row < table.ListCount(); ++row)
        if (table.Selected(row))
            ++count;
    return count;
}

QString heading(const OvDataListBox& table, int column) {
    return table.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// One line of the several-row form: check boxes (the flag cells of battle rows; the same columns
// of sector and ops rows are plain) as "Y" or "N", every other cell as its text.
QString rowFields(const OvDataListBox& table, int row) {
    QString line;
    for (int column = 1; column < table.columnCount(); ++column) {
        if (column > 1)
            line += kTab;
        if (table.CellIsCheckBox(row, column))
            line += table.CellCheck(row, column) ? QStringLiteral("Y") : QStringLiteral("N");
        else
            line += table.Cell(row, column);
    }
    return line;
}

} // namespace

bool App::_EditCopyListbox_Action() {
    OvEditorWindow* window = frontEditingWindow();
    // A cell being typed in is copied as it will be stored.
    if (!window || !window->thisListBox->commitPendingEdit())
        return true;
    const OvDataListBox& table = *window->thisListBox;

    if (selectedCount(table) > 1) {
        if (table.ListCount() == 0)
            return true;
        QString text;
        if (gSelectAllIncludesHeader) {
            for (int column = 1; column < table.columnCount(); ++column) {
                if (column > 1)
                    text += kTab;
                text += heading(table, column);
            }
            text += kCr;
        }
        for (int row = 0; row < table.ListCount(); ++row)
            if (table.Selected(row))
                text += rowFields(table, row) + kCr;
        QGuiApplication::clipboard()->setText(text);
        return true;
    }

    // One row (or none): its plain cell texts, no header and no line end.
    const int row = table.ListIndex();
    if (row < 0 || row >= table.ListCount())
        return true;
    QString text = table.Cell(row, 1);
    for (int column = 2; column < table.columnCount(); ++column)
        text += kTab + table.Cell(row, column);
    QGuiApplication::clipboard()->setText(text);
    return true;
}

namespace {

// The table of the frontmost window when it is an editing window whose control 0 is the table.
OvDataListBox* selectAllTarget(const App& app) {
    OvEditorWindow* window = app.frontEditingWindow();
    if (!window || window->ControlCount() <= 1)
        return nullptr;
    QWidget* first = window->Control(0);
    if (!first || first->objectName() != QLatin1String("thisListBox"))
        return nullptr;
    return qobject_cast<OvDataListBox*>(first);
}

void EditSelectAllAction(App& app, bool includeHeader) {
    OvDataListBox* table = selectAllTarget(app);
    if (!table)
        return;
    const int selected = selectedCount(*table);
    const int rows = table->ListCount();
    // On a fully selected table the other command only switches the header line.
    if (selected == rows && app.gSelectAllIncludesHeader != includeHeader) {
        app.gSelectAllIncludesHeader = includeHeader;
        return;
    }
    app.gSelectAllIncludesHeader = includeHeader;
    // Whole-table calls keep the selection one range, which the map asks about row by row.
    if (selected < rows)
        table->selectAll();
    else
        table->clearSelection();
}

} // namespace

bool App::_EditSelectAllListbox_Action() {
    EditSelectAllAction(*this, false);
    return true;
}

bool App::_EditSelectallincludesheader_Action() {
    EditSelectAllAction(*this, true);
    return true;
}

bool App::_EditCopy_Action() {
    OvEditorWindow* window = frontEditingWindow();
    if (!window)
        return true;
    const QImage& map = window->PreviewCanvas->MasterBackground;
    // Without a map the clipboard gets no picture rather than an empty one that claims to be one.
    if (map.isNull())
        QGuiApplication::clipboard()->clear();
    else
        QGuiApplication::clipboard()->setMimeData(OvPictCanvas::newPictureMimeData(map));
    return true;
}

bool App::_EditCopyPictWithRects_Action() {
    OvEditorWindow* window = frontEditingWindow();
    if (!window)
        return true;
    const QImage painted = window->GetCanvasScreenshot();
    if (!painted.isNull()) // else the reason has been shown
        QGuiApplication::clipboard()->setMimeData(OvPictCanvas::newPictureMimeData(painted));
    return true;
}

bool App::_EditPaste_Action() {
    const QImage picture = OvPictCanvas::pictureFromMimeData(QGuiApplication::clipboard()->mimeData());
    if (picture.isNull())
        return true;
    OvEditorWindow* window = frontEditingWindow();
    if (!window)
        return true;
    // Used as it is: the canvas keeps its size and shows the picture's top-left part.
    window->PreviewCanvas->setMap(picture);
    window->PreviewCanvas->Refresh();
    return true;
}
