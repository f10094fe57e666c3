#pragma once

#include "ovdata/OvDataModel.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QTableWidget>

#include <optional>

class OvTableDelegate;

// The entries table of an editing window. It carries the window's overlay-data model as its own
// fields (the model's names are used directly: thisListBox->SectorID[s]) and shows it one row per
// entry in tree order. The cells are the live editing copy: PutDataToListBox rebuilds the rows
// from the model, GetDataFromListBox takes the cells back into the model.
//
// Row kinds are marked only by the font of the Number cell: bold for a sector row, italic for an
// ops row, neither for a battle row. Rows always stand in tree order and no header click ever
// reorders them, because the read-back and the row mapping walk them in that order.
class OvDataListBox : public QTableWidget, public ov::OvDataModel {
    Q_OBJECT
public:
    enum Column {
        ColView,
        ColNumber,
        ColName,
        ColX1,
        ColY1,
        ColX2,
        ColY2,
        ColSubs,
        ColLZ,
        ColBridge,
        ColRoad
    };
    static constexpr int kColumnCount = 11;
    static constexpr int kDefaultRowHeight = 22;
    static constexpr int kTextPixelSize = 12;

    explicit OvDataListBox(QWidget* parent = nullptr);
    ~OvDataListBox() override;

    // --- rows <-> model ---
    // Rebuilds every row from the model. View ticks stay with row positions; the selection is
    // empty afterwards. Emits no CellAction and no edited().
    void PutDataToListBox();
    // Takes the cells back into the model, walking the rows with the counts as they are read.
    void GetDataFromListBox();
    // Entry positions of the current row (ListIndex; the last row when none is selected for the
    // sector and ops queries). See the .cpp for how rows map to positions.
    int GetSectorIndex() const;
    int GetOpsIndex() const;
    int GetBattleIndex() const;
    // The row of entry (sector, ops, battle), -1 standing for "not given". Callers check the
    // result against ListCount.
    int GetLineFromIndices(int sector, int ops, int battle) const;

    // --- structural edits of the model (OvDataListBoxEdits.cpp); the table is not touched ---
    // A new entry is appended to its parent with the default name and positional ID; its
    // rectangle is whatever its slot still holds. Refused (false / -1, nothing changed) at 10
    // entries of the level, or when the parent is not in use.
    bool AddSector();
    int AddOps(int s);
    int AddBattle(int s, int o);
    // Removes an entry with everything under it: later entries of the same parent move up one
    // position, IDs stay with positions, IDs of entries under a new parent are recomputed, and
    // the slot that falls out of use keeps its contents. False when there was nothing to remove.
    bool DeleteBattle(int s, int o, int b);
    bool DeleteOps(int s, int o);
    bool DeleteSector(int s);
    // The positional scheme: sectors first, first + 1, ...; ops sector ID x 10 + o; battles
    // ops ID x 10 + b.
    void RenumberIDs(int first);

    // --- the file (OvDataListBoxFile.cpp) ---
    // Reads a whole OvData file; nullptr stands for a file that could not be opened. On any
    // failure the message is shown and the model stays as it was. True when the model was replaced.
    bool ReadFromOvDataFile(const QByteArray* bytes);
    // The file's bytes, or nothing after the message has been shown (a value the file cannot hold).
    std::optional<QByteArray> WriteToOvDataFile();
    QByteArray ExportAsBatnamesFile();

    // --- the table as the program addresses it ---
    int ListCount() const { return rowCount(); }
    // The first selected row in table order, or -1 when no row is selected (it follows the
    // selection, not Qt's current cell).
    int ListIndex() const;
    void setListIndex(int row);
    int DefaultRowHeight() const { return kDefaultRowHeight; }
    QString Cell(int row, int column) const;
    // Code changes of cells raise no CellAction. A changed name or coordinate emits edited().
    void setCell(int row, int column, const QString& text);
    bool CellCheck(int row, int column) const;
    // A changed battle flag emits edited(); View ticks do not (they are not file data).
    void setCellCheck(int row, int column, bool checked);
    bool Selected(int row) const;
    void setSelected(int row, bool selected);
    bool CellBold(int row, int column) const;
    bool CellItalic(int row, int column) const;
    // True for a check-box cell: the View column, and the flag columns of battle rows.
    bool CellIsCheckBox(int row, int column) const;
    // "40,50,*,..." : fixed widths, the "*" column takes what is left.
    void ColumnWidths(const QString& widths);

    // The row an add or delete works from: ListIndex, or the last row when none is selected.
    int CurrentOrLastRow() const;
    // The nearest sector (bold) or ops (italic) row at or above `row`; -1 when there is none.
    int SectorRowAtOrAbove(int row) const;
    int OpsRowAtOrAbove(int row) const;

    // --- what the user does in the cells (called by the delegate) ---
    // Why the file cannot hold `text` typed into `column`, or an empty string.
    static QString TypedTextProblem(int column, const QString& text);
    void showTypedTextProblem(const QString& problem);
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
    // Any change of data the file holds (not selection or View ticks), for the unsaved-edits question.
    void edited();

protected:
    // Continues the grey and white stripes below the last row.
    void paintEvent(QPaintEvent* event) override;

private:
    struct Position {
        int s = -1, o = -1, b = -1;
    };
    // Positions of the entry shown in `row`, counted by walking the row kinds from the top.
    Position positionOfRow(int row) const;
    QTableWidgetItem* newItem(const QString& text, Qt::ItemFlags flags, const QFont* font = nullptr) const;
    void fillRow(int row, const QString& number, const QString& name, const ov::Rect& rect,
                 const QString& subs, const QFont* font, const std::string* tail);

    OvTableDelegate* m_delegate = nullptr;
    QFont m_boldFont;
    QFont m_italicFont;
};
