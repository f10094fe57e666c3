#include "table/OvDataListBox.h"

#include <QHeaderView>

OvDataListBox::OvDataListBox(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(kColumnCount);
    setHorizontalHeaderLabels({QStringLiteral("View"), QStringLiteral("Number"), QStringLiteral("Name"),
                               QStringLiteral("x1"), QStringLiteral("y1"), QStringLiteral("x2"),
                               QStringLiteral("y2"), QStringLiteral("NoOfSubs"), QStringLiteral("LZ"),
                               QStringLiteral("Bridge"), QStringLiteral("Road")});
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(this, &QTableWidget::itemSelectionChanged, this, &OvDataListBox::Change);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &OvDataListBox::HeaderPressed);
}

void OvDataListBox::PutDataToListBox() {}
void OvDataListBox::GetDataFromListBox() {}
int OvDataListBox::GetSectorIndex() const { return 0; }
int OvDataListBox::GetOpsIndex() const { return 0; }
int OvDataListBox::GetBattleIndex() const { return -1; }
int OvDataListBox::GetLineFromIndices(int, int, int) const { return 0; }

int OvDataListBox::ListIndex() const {
    for (int row = 0; row < rowCount(); ++row)
        if (Selected(row))
            return row;
    return -1;
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
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    cell->setText(text);
}

bool OvDataListBox::CellCheck(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell && cell->checkState() == Qt::Checked;
}

void OvDataListBox::setCellCheck(int row, int column, bool checked) {
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    cell->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool OvDataListBox::Selected(int row) const {
    return selectionModel() && selectionModel()->isRowSelected(row, QModelIndex());
}

void OvDataListBox::setSelected(int row, bool selected) {
    if (row < 0 || row >= rowCount() || !selectionModel())
        return;
    selectionModel()->select(model()->index(row, 0), (selected ? QItemSelectionModel::Select
                                                               : QItemSelectionModel::Deselect) |
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
