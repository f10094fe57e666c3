#include "table/OvDataListBox.h"

#include "platform/Dialogs.h"
#include "table/OvTableDelegate.h"
#include "table/TableText.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>

namespace {

constexpr Qt::ItemFlags kPlain = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
constexpr Qt::ItemFlags kEditable = kPlain | Qt::ItemIsEditable;
constexpr Qt::ItemFlags kCheckBox = kPlain | Qt::ItemIsUserCheckable;

bool isFlagColumn(int column) {
    return column >= OvDataListBox::ColLZ && column <= OvDataListBox::ColRoad;
}
bool isFileTextColumn(int column) {
    return column >= OvDataListBox::ColName && column <= OvDataListBox::ColY2;
}

} // namespace

OvDataListBox::OvDataListBox(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(kColumnCount);
    setHorizontalHeaderLabels({QStringLiteral("View"), QStringLiteral("Number"), QStringLiteral("Name"),
                               QStringLiteral("x1"), QStringLiteral("y1"), QStringLiteral("x2"),
                               QStringLiteral("y2"), QStringLiteral("NoOfSubs"), QStringLiteral("LZ"),
                               QStringLiteral("Bridge"), QStringLiteral("Road")});
    QFont text = font();
    text.setPixelSize(kTextPixelSize);
    setFont(text);
    m_boldFont = text;
    m_boldFont.setBold(true);
    m_italicFont = text;
    m_italicFont.setItalic(true);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(kDefaultRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(false);
    header->setSectionsClickable(true); // for HeaderPressed; sorting stays off, so no click reorders rows
    header->setHighlightSections(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    setSortingEnabled(false);

    setShowGrid(false);
    setWordWrap(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);

    m_delegate = new OvTableDelegate(this);
    setItemDelegate(m_delegate);
    connect(m_delegate, &OvTableDelegate::checkToggled, this, &OvDataListBox::userToggledCheck);
    connect(m_delegate, &OvTableDelegate::editFinished, this, &OvDataListBox::userFinishedEdit);

    connect(this, &QTableWidget::itemSelectionChanged, this, &OvDataListBox::Change);
    connect(header, &QHeaderView::sectionClicked, this, &OvDataListBox::HeaderPressed);
}

OvDataListBox::~OvDataListBox() = default;

// ---------------------------------------------------------------------------------------------
// rows <-> model

QTableWidgetItem* OvDataListBox::newItem(const QString& text, Qt::ItemFlags flags, const QFont* font) const {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(flags);
    if (font)
        cell->setFont(*font);
    return cell;
}

void OvDataListBox::fillRow(int row, const QString& number, const QString& name, const ov::Rect& rect,
                            const QString& subs, const QFont* font, const std::string* tail) {
    auto* view = newItem(QString(), kCheckBox);
    view->setCheckState(Qt::Unchecked);
    setItem(row, ColView, view);
    setItem(row, ColNumber, newItem(number, kPlain, font));
    setItem(row, ColName, newItem(name, kEditable, font));
    for (int k = 0; k < 4; ++k)
        setItem(row, ColX1 + k, newItem(QString::number(rect[static_cast<std::size_t>(k)]), kEditable));
    setItem(row, ColSubs, newItem(subs, kPlain));
    for (int k = 0; k < ov::kTailLength; ++k) {
        if (!tail) {
            setItem(row, ColLZ + k, newItem(QString(), kPlain));
            continue;
        }
        auto* flag = newItem(QString(), kCheckBox);
        const bool on = k < static_cast<int>(tail->size()) && (*tail)[static_cast<std::size_t>(k)] != '\0';
        flag->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        setItem(row, ColLZ + k, flag);
    }
}

void OvDataListBox::fillRow(int row, const ov::EntryRef& entry) {
    const ov::OvDocument& doc = *m_document;
    const ov::OvDataModel& m = doc.model();
    const QString number = QString::number(doc.id(entry));
    const QString name = TableText::NameToText(doc.name(entry));
    switch (entry.kind()) {
    case ov::EntryRef::Kind::Sector:
        fillRow(row, number, name, doc.rect(entry),
                QString::number(m.SectorNumberOfOps[entry.s]) + QStringLiteral(" Ops"), &m_boldFont, nullptr);
        break;
    case ov::EntryRef::Kind::Ops:
        fillRow(row, number, name, doc.rect(entry),
                QString::number(m.OpsNumberOfBattles[entry.s][entry.o]) + QStringLiteral(" Battles"),
                &m_italicFont, nullptr);
        break;
    default:
        fillRow(row, number, name, doc.rect(entry), TableText::FlagText(doc.tail(entry)), nullptr,
                &doc.tail(entry));
        break;
    }
}

void OvDataListBox::PutDataToListBox() {
    std::vector<bool> viewStates(static_cast<std::size_t>(rowCount()));
    for (int row = 0; row < rowCount(); ++row)
        viewStates[static_cast<std::size_t>(row)] = CellCheck(row, ColView);
    const bool hadSelection = selectionModel()->hasSelection();
    // The rebuild replaces every row; the user keeps looking at the same part of the table.
    const int scrolledTo = verticalScrollBar()->value();
    const int rows = m_document ? m_document->rowCount() : 0;

    {
        // The rebuild is one change: no per-cell signals, no repaint until it is done.
        const QSignalBlocker blocker(this);
        setUpdatesEnabled(false);
        clearSelection();
        setRowCount(0);
        setRowCount(rows);
        for (int row = 0; row < rows; ++row)
            fillRow(row, m_document->entryAt(row));

        // View ticks belong to row positions, not to entries: after an insertion or deletion the
        // rows below take the ticks of the rows that stood there before.
        const int kept = std::min(rows, static_cast<int>(viewStates.size()));
        for (int r = 0; r < kept; ++r)
            if (viewStates[static_cast<std::size_t>(r)])
                item(r, ColView)->setCheckState(Qt::Checked);
        updateGeometries();
        verticalScrollBar()->setValue(scrolledTo);
        setUpdatesEnabled(true);
    }
    if (hadSelection)
        Q_EMIT Change();
}

void OvDataListBox::refreshRow(int row) {
    if (!m_document || row < 0 || row >= rowCount() || row >= m_document->rowCount())
        return;
    const bool view = CellCheck(row, ColView);
    const QSignalBlocker blocker(this);
    fillRow(row, m_document->entryAt(row));
    if (view)
        item(row, ColView)->setCheckState(Qt::Checked);
}

void OvDataListBox::showRow(int row) {
    setListIndex(row);
    if (row >= 0 && row < rowCount())
        scrollToItem(item(row, ColNumber));
}

std::vector<bool> OvDataListBox::viewTicks() const {
    std::vector<bool> ticks(static_cast<std::size_t>(rowCount()));
    for (int row = 0; row < rowCount(); ++row)
        ticks[static_cast<std::size_t>(row)] = CellCheck(row, ColView);
    return ticks;
}

void OvDataListBox::setViewTicks(const std::vector<bool>& ticks) {
    const QSignalBlocker blocker(this);
    for (int row = 0; row < rowCount(); ++row)
        if (QTableWidgetItem* view = item(row, ColView))
            view->setCheckState(static_cast<std::size_t>(row) < ticks.size() &&
                                        ticks[static_cast<std::size_t>(row)]
                                    ? Qt::Checked
                                    : Qt::Unchecked);
    viewport()->update();
}

int OvDataListBox::CurrentOrLastRow() const {
    const int r = ListIndex();
    return r >= 0 && r < rowCount() ? r : rowCount() - 1;
}

// ---------------------------------------------------------------------------------------------
// what the user does in the cells

QString OvDataListBox::TypedTextProblem(int column, const QString& text) {
    return TableText::TypedTextProblem(column, text);
}

QString OvDataListBox::stillOpenMessage(const QString& problem) {
    return problem +
           QStringLiteral(" The cell is still open: correct the value, or press Escape to keep the old one.");
}

bool OvDataListBox::commitPendingEdit() {
    if (state() != QAbstractItemView::EditingState)
        return true;
    QModelIndex index = currentIndex();
    auto* line = qobject_cast<QLineEdit*>(indexWidget(index));
    if (!line) {
        // Editing always starts at the current cell; an editor elsewhere is found by its place.
        for (QLineEdit* candidate : viewport()->findChildren<QLineEdit*>()) {
            if (candidate->isVisible()) {
                line = candidate;
                index = indexAt(candidate->geometry().center());
                break;
            }
        }
    }
    if (!line || !index.isValid())
        return true;
    const QString problem = TypedTextProblem(index.column(), line->text());
    if (!problem.isEmpty()) {
        MsgBox(stillOpenMessage(problem), window());
        line->setFocus(Qt::OtherFocusReason);
        return false;
    }
    commitData(line);
    closeEditor(line, QAbstractItemDelegate::NoHint);
    return true;
}

void OvDataListBox::userToggledCheck(int row, int column) {
    if (isFlagColumn(column) && CellIsCheckBox(row, column))
        Q_EMIT flagToggled(row, column - ColLZ, CellCheck(row, column));
    Q_EMIT CellAction(row, column);
}

void OvDataListBox::userFinishedEdit(int row, int column, const QString& text) {
    if (isFileTextColumn(column))
        Q_EMIT editRequested(row, column, text);
    Q_EMIT CellAction(row, column);
}

// ---------------------------------------------------------------------------------------------
// the table as the program addresses it

int OvDataListBox::ListIndex() const {
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    return first < rowCount() ? first : -1;
}

void OvDataListBox::setListIndex(int row) {
    clearSelection();
    if (row >= 0 && row < rowCount())
        setSelected(row, true);
}

QString OvDataListBox::Cell(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void OvDataListBox::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = newItem(QString(), isFileTextColumn(column) ? kEditable : kPlain);
        setItem(row, column, cell);
    }
    if (cell->text() == text)
        return;
    cell->setText(text);
}

bool OvDataListBox::CellCheck(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell && cell->checkState() == Qt::Checked;
}

void OvDataListBox::setCellCheck(int row, int column, bool checked) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = newItem(QString(), kCheckBox);
        setItem(row, column, cell);
    }
    if (CellCheck(row, column) == checked && cell->data(Qt::CheckStateRole).isValid())
        return;
    cell->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool OvDataListBox::Selected(int row) const {
    return selectionModel() && selectionModel()->isRowSelected(row, QModelIndex());
}

void OvDataListBox::setSelected(int row, bool selected) {
    if (row < 0 || row >= rowCount() || !selectionModel())
        return;
    selectionModel()->select(model()->index(row, 0),
                             (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                 QItemSelectionModel::Rows);
}

bool OvDataListBox::CellBold(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell && cell->font().bold();
}

bool OvDataListBox::CellItalic(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell && cell->font().italic();
}

bool OvDataListBox::CellIsCheckBox(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell && cell->flags().testFlag(Qt::ItemIsUserCheckable);
}

void OvDataListBox::ColumnWidths(const QString& widths) {
    const QStringList parts = widths.split(QLatin1Char(','));
    for (int column = 0; column < parts.size() && column < columnCount(); ++column) {
        const QString part = parts[column].trimmed();
        if (part == QLatin1String("*")) {
            horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
        } else {
            horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
            horizontalHeader()->resizeSection(column, part.toInt());
        }
    }
}

void OvDataListBox::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);
    const int rows = rowCount();
    int top = rows > 0 ? rowViewportPosition(rows - 1) + rowHeight(rows - 1) : 0;
    const int height = viewport()->height();
    if (top < 0 || top >= height)
        return;
    QPainter painter(viewport());
    for (int row = rows; top < height; ++row, top += kDefaultRowHeight)
        OvTableDelegate::paintBackground(&painter, QRect(0, top, viewport()->width(), kDefaultRowHeight), row,
                                         false, viewport()->devicePixelRatioF());
}
