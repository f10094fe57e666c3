#include "table/OvTableDelegate.h"

#include "platform/Dialogs.h"
#include "table/TableColumns.h"
#include "table/TablePictures.h"
#include "table/TableText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QColor kEvenRow(240, 240, 240);
constexpr QColor kOddRow(255, 255, 255);
// The Number column's text keeps this distance from the cell's right edge.
constexpr int kNumberRightInset = 5;
constexpr int kViewCheckLeft = 3;

Qt::Alignment columnAlignment(int column) {
    switch (column) {
    case TableColumns::ColNumber:
    case TableColumns::ColX1:
    case TableColumns::ColY1:
    case TableColumns::ColX2:
    case TableColumns::ColY2:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TableColumns::ColName:
        return Qt::AlignLeft | Qt::AlignVCenter;
    default:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    }
}

// The column an editor edits, kept on the editor for the focus-out check.
constexpr const char* kColumnProperty = "mqColumn";

bool isCheckCell(const QModelIndex& index) {
    return index.flags().testFlag(Qt::ItemIsUserCheckable);
}

} // namespace

OvTableDelegate::OvTableDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void OvTableDelegate::paintBackground(QPainter* painter, const QRect& cell, int row, bool highlighted,
                                      qreal ratio) {
    if (highlighted) {
        // The bar is drawn at natural size from the cell's top-left corner, repeated to the right
        // so that a cell of any width is covered.
        const QImage& bar = TablePictures::instance().selectionBar(ratio);
        const int step = qMax(1, qRound(bar.width() / bar.devicePixelRatio()));
        painter->save();
        painter->setClipRect(cell, Qt::IntersectClip);
        for (int x = cell.left(); x <= cell.right(); x += step)
            painter->drawImage(QPoint(x, cell.top()), bar);
        painter->restore();
        return;
    }
    painter->fillRect(cell, row % 2 == 0 ? kEvenRow : kOddRow);
}

QRect OvTableDelegate::checkRect(const QStyleOptionViewItem& option, int column) const {
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
    const QRect& cell = option.rect;
    const int top = cell.top() + (cell.height() - h) / 2;
    if (column == TableColumns::ColView)
        return {cell.left() + kViewCheckLeft, top, w, h};
    return {cell.left() + (cell.width() - w) / 2, top, w, h};
}

void OvTableDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = columnAlignment(index.column());
    // The check box is painted at its own place below; the item's built-in one would duplicate it.
    option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
}

void OvTableDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const int row = index.row();
    const int column = index.column();
    const bool highlighted = option.state.testFlag(QStyle::State_Selected);

    painter->save();
    paintBackground(painter, option.rect, row, highlighted, ratio);

    if (column == TableColumns::ColView) {
        const TablePictures& pictures = TablePictures::instance();
        // The open eye's height places both pictures, so they sit on the same line.
        const QImage& open = pictures.eyeOpen(ratio);
        const QImage& eye =
            index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? open : pictures.eyeMissing(ratio);
        const int eyeHeight = qRound(open.height() / open.devicePixelRatio());
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(QPoint(option.rect.left() + kEyeLeft,
                                  option.rect.top() + (TableColumns::kDefaultRowHeight - eyeHeight) / 2),
                           eye);
    }

    if (isCheckCell(index)) {
        QStyleOptionViewItem check(option);
        check.rect = checkRect(option, column);
        check.state = option.state & ~(QStyle::State_Selected | QStyle::State_HasFocus);
        check.state |=
            index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, option.widget);
    } else {
        QStyleOptionViewItem text(option);
        text.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (column == TableColumns::ColNumber)
            text.rect.setRight(text.rect.right() - kNumberRightInset);
        QStyledItemDelegate::paint(painter, text, index);
    }
    painter->restore();
}

bool OvTableDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!isCheckCell(index) || !index.flags().testFlag(Qt::ItemIsEnabled))
        return QStyledItemDelegate::editorEvent(event, model, option, index);

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !checkRect(option, index.column()).contains(mouse->position().toPoint()))
            return false;
        // The press is taken here so that it neither selects the row nor starts an edit; the
        // release toggles.
        if (event->type() != QEvent::MouseButtonRelease)
            return true;
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }

    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    Q_EMIT checkToggled(index.row(), index.column());
    return true;
}

QWidget* OvTableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setAlignment(columnAlignment(index.column()));
        line->setProperty(kColumnProperty, index.column());
    }
    return editor;
}

bool OvTableDelegate::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto* line = qobject_cast<QLineEdit*>(object);
        if (line && line->property(kColumnProperty).isValid() &&
            !TableText::TypedTextProblem(line->property(kColumnProperty).toInt(), line->text()).isEmpty())
            return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void OvTableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (m_showingMessage)
        return;
    const QString problem = TableText::TypedTextProblem(index.column(), line->text());
    if (!problem.isEmpty()) {
        m_showingMessage = true;
        MsgBox(problem, editor->window());
        m_showingMessage = false;
        return;
    }
    Q_EMIT const_cast<OvTableDelegate*>(this)->editFinished(index.row(), index.column(), line->text());
}
