#pragma once

#include "ovdata/OvDocument.h"
#include "table/TableColumns.h"

#include <QFont>
#include <QString>
#include <QTableWidget>

#include <vector>

class OvTableDelegate;

// The entries table of an editing window: a view of the window's document. It shows the entries
// one row per entry in the document's row order (tree order) and repaints from the document on
// request; it never changes the data itself. What the user types or ticks is sent out as a
// request (editRequested, flagToggled) that the window turns into an undoable step, after which
// the window asks the table to show the changed row (refreshRow) or all rows (PutDataToListBox).
//
// The table keeps what is not data: the View ticks (one per row position) and the selection.
// Row kinds show in the font of the Number cell: bold for a sector row, italic for an ops row.
// No header click ever reorders rows.
class OvDataListBox : public QTableWidget {
    Q_OBJECT
public:
    using Column = TableColumns::Column;
    using enum TableColumns::Column;
    static constexpr int kColumnCount = TableColumns::kColumnCount;
    static constexpr int kDefaultRowHeight = TableColumns::kDefaultRowHeight;
    static constexpr int kTextPixelSize = 12;

    explicit OvDataListBox(QWidget* parent = nullptr);
    ~OvDataListBox() override;

    // The document shown; set once by the window before any rows are built.
    void setDocument(const ov::OvDocument* document) { m_document = document; }
    const ov::OvDocument& document() const { return *m_document; }

    // --- rows <- document ---
    // Rebuilds every row from the document. View ticks stay with row positions; the selection is
    // empty afterwards. Emits no CellAction and no request.
    void PutDataToListBox();
    // Shows one row's values again (after a step changed only that entry).
    void refreshRow(int row);
    // Selects `row` alone and scrolls it into view (nothing selected for a row outside).
    void showRow(int row);
    // The View ticks of every row, and setting them back (rows beyond the list stay unticked).
    std::vector<bool> viewTicks() const;
    void setViewTicks(const std::vector<bool>& ticks);

    // --- the table as the program addresses it ---
    int ListCount() const { return rowCount(); }
    // The first selected row in table order, or -1 when no row is selected (it follows the
    // selection, not Qt's current cell).
    int ListIndex() const;
    void setListIndex(int row);
    int DefaultRowHeight() const { return kDefaultRowHeight; }
    QString Cell(int row, int column) const;
    // Code changes of cells raise no CellAction and no request; they change only what is shown.
    void setCell(int row, int column, const QString& text);
    bool CellCheck(int row, int column) const;
    void setCellCheck(int row, int column, bool checked);
    bool Selected(int row) const;
    void setSelected(int row, bool selected);
    bool CellBold(int row, int column) const;
    bool CellItalic(int row, int column) const;
    // True for a check-box cell: the View column, and the flag columns of battle rows.
    bool CellIsCheckBox(int row, int column) const;
    // "40,50,*,..." : fixed widths, the "*" column takes what is left.
    void ColumnWidths(const QString& widths);

    // The row an add works from: ListIndex, or the last row when none is selected.
    int CurrentOrLastRow() const;

    // --- what the user does in the cells (called by the delegate) ---
    // Why the file cannot hold `text` typed into `column`, or an empty string.
    static QString TypedTextProblem(int column, const QString& text);
    void userToggledCheck(int row, int column);
    void userFinishedEdit(int row, int column, const QString& text);
    // Every command that depends on the data (close, quit, load, save, export, add, delete,
    // renumber, marking) first ends a cell edit in progress: the typed text is committed as if
    // the user had pressed Return. When the file cannot hold it, the user is told so, the
    // editor stays open on the typed text with the focus, and the answer is false: the command
    // must stop, so it never runs on a half-edited table.
    bool commitPendingEdit();
    // A cell editor is open.
    bool isEditingCell() const { return state() == QAbstractItemView::EditingState; }
    // The message shown when a command found a refused value in an open cell.
    static QString stillOpenMessage(const QString& problem);

Q_SIGNALS:
    // The user toggled a check box or finished editing a cell (never for changes made by code).
    void CellAction(int row, int column);
    // The selection changed.
    void Change();
    void HeaderPressed(int column);
    // The user finished typing `text` into a name or coordinate cell (the file can hold it).
    void editRequested(int row, int column, const QString& text);
    // The user ticked or unticked battle flag k (0 LZ, 1 Bridge, 2 Road) of `row`.
    void flagToggled(int row, int k, bool on);

protected:
    // Continues the grey and white stripes below the last row.
    void paintEvent(QPaintEvent* event) override;

private:
    QTableWidgetItem* newItem(const QString& text, Qt::ItemFlags flags, const QFont* font = nullptr) const;
    void fillRow(int row, const QString& number, const QString& name, const ov::Rect& rect,
                 const QString& subs, const QFont* font, const std::string* tail);

    void fillRow(int row, const ov::EntryRef& entry);

    const ov::OvDocument* m_document = nullptr;
    OvTableDelegate* m_delegate = nullptr;
    QFont m_boldFont;
    QFont m_italicFont;
};
