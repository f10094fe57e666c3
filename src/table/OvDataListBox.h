#pragma once

#include "ovdata/OvDataModel.h"

#include <QByteArray>
#include <QString>
#include <QTableWidget>

#include <optional>

// The entries table of an editing window. It carries the window's overlay-data model as its own
// fields (the model's names are used directly: thisListBox->SectorID[s]) and shows it one row per
// entry in tree order. The cells are the live editing copy: PutDataToListBox rebuilds the rows
// from the model, GetDataFromListBox takes the cells back into the model.
class OvDataListBox : public QTableWidget, public ov::OvDataModel {
    Q_OBJECT
public:
    enum Column { ColView, ColNumber, ColName, ColX1, ColY1, ColX2, ColY2, ColSubs, ColLZ, ColBridge, ColRoad };
    static constexpr int kColumnCount = 11;

    explicit OvDataListBox(QWidget* parent = nullptr);

    // --- rows <-> model ---
    void PutDataToListBox();
    void GetDataFromListBox();
    int GetSectorIndex() const;
    int GetOpsIndex() const;
    int GetBattleIndex() const;
    int GetLineFromIndices(int sector, int ops, int battle) const;

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
    QString Cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    bool CellCheck(int row, int column) const;
    void setCellCheck(int row, int column, bool checked);
    bool Selected(int row) const;
    void setSelected(int row, bool selected);
    bool CellBold(int row, int column) const;
    bool CellItalic(int row, int column) const;
    // "40,50,*,..." : fixed widths, the "*" column takes what is left.
    void ColumnWidths(const QString& widths);

Q_SIGNALS:
    void CellAction(int row, int column);
    void Change();
    void HeaderPressed(int column);
    // Any change of data the file holds (not selection or View ticks), for the unsaved-edits question.
    void edited();
};
