#pragma once

#include <QStyledItemDelegate>

// Paints and edits the cells of the entries table (OvDataListBox) the way it is designed to look
// and act; it knows the table only as a view with the columns of TableColumns:
// - every cell paints its own whole background (grey or white by row parity, the highlight bar
//   for selected rows, the eye picture in the View column); Qt's selection highlight and focus
//   frame never paint over it;
// - check boxes sit at fixed places (left in the View column, beside the eye; centred in the
//   flag columns) and show no text; a user's toggle is reported (checkToggled);
// - a finished edit reaches the cell only when the file can hold the typed text; otherwise the
//   user is told why and the cell keeps its previous text.
class OvTableDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit OvTableDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // Where the check box of a check-box cell lies inside `cell` (view coordinates).
    QRect checkRect(const QStyleOptionViewItem& option, int column) const;

    // Paints the background of one cell of row `row` (which may lie below the last row).
    static void paintBackground(QPainter* painter, const QRect& cell, int row, bool highlighted, qreal ratio);

    // x of the eye picture within a View cell.
    static constexpr int kEyeLeft = 21;

Q_SIGNALS:
    // The user toggled the check box of a cell (its new state is in the model already).
    void checkToggled(int row, int column);
    // The user finished typing `text`, which the file can hold, into a cell.
    void editFinished(int row, int column, const QString& text);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    // An editor that loses the focus with text the file cannot hold stays open and says
    // nothing: the focus usually went to a button whose command then reports the refusal
    // (OvDataListBox::commitPendingEdit), so the click is never swallowed by a message box.
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // A message box shown while committing can move the focus away from the editor, which
    // commits again; the second commit must neither write nor ask again.
    mutable bool m_showingMessage = false;
};
