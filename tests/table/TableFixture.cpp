#include "TableFixture.h"

#include "table/OvDataListBox.h"
#include "table/OvTableDelegate.h"
#include "windows/OvEditorWindow.h"

#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QTest>

#include <memory>

void TableTest::SetUp() {
    GuiTest::SetUp();
    window = new OvEditorWindow;
    box = window->thisListBox;
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
}

void TableTest::change(const std::function<void(ov::OvDataModel&)>& edit) {
    auto changed = std::make_unique<ov::OvDataModel>(model());
    edit(*changed);
    window->document().reset(*changed);
    box->PutDataToListBox();
}

void TableTest::build(const std::vector<std::vector<int>>& tree, int firstID) {
    auto made = std::make_unique<ov::OvDataModel>();
    ov::OvDataModel& m = *made;
    m.InitProperties();
    m.OvNumberOfSectors = static_cast<int>(tree.size());
    for (int s = 0; s < static_cast<int>(tree.size()); ++s) {
        const auto& ops = tree[static_cast<std::size_t>(s)];
        m.SectorID[s] = firstID + s;
        m.SectorName[s] = u"S%1"_s.arg(s).toStdString();
        const int base = rectBase(s, -1, -1);
        m.SectorXY[s] = {base, base + 1, base + 2, base + 3};
        m.SectorNumberOfOps[s] = static_cast<int>(ops.size());
        for (int o = 0; o < static_cast<int>(ops.size()); ++o) {
            m.OpsID[s][o] = m.SectorID[s] * 10 + o;
            m.OpsName[s][o] = u"O%1.%2"_s.arg(s).arg(o).toStdString();
            const int opsBase = rectBase(s, o, -1);
            m.OpsXY[s][o] = {opsBase, opsBase + 1, opsBase + 2, opsBase + 3};
            m.OpsNumberOfBattles[s][o] = ops[static_cast<std::size_t>(o)];
            for (int b = 0; b < ops[static_cast<std::size_t>(o)]; ++b) {
                m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
                m.BatName[s][o][b] = u"B%1.%2.%3"_s.arg(s).arg(o).arg(b).toStdString();
                const int batBase = rectBase(s, o, b);
                m.BatXY[s][o][b] = {batBase, batBase + 1, batBase + 2, batBase + 3};
            }
        }
    }
    window->document().reset(m);
    box->PutDataToListBox();
}

QString TableTest::kinds() const {
    QString text;
    for (int row = 0; row < box->ListCount(); ++row)
        text += box->CellBold(row, OvDataListBox::ColNumber)     ? QLatin1Char('S')
                : box->CellItalic(row, OvDataListBox::ColNumber) ? QLatin1Char('O')
                                                                 : QLatin1Char('B');
    return text;
}

QString TableTest::column(int column) const {
    QStringList texts;
    for (int row = 0; row < box->ListCount(); ++row)
        texts << box->Cell(row, column);
    return texts.join(QLatin1Char(' '));
}

QString TableTest::ticks() const {
    QString text;
    for (int row = 0; row < box->ListCount(); ++row)
        text += box->CellCheck(row, OvDataListBox::ColView) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

QString TableTest::selectedRows() const {
    QStringList rows;
    for (int row = 0; row < box->ListCount(); ++row)
        if (box->Selected(row))
            rows << QString::number(row);
    return rows.join(QLatin1Char(' '));
}

void TableTest::clickCheckBox(int row, int column) {
    const QModelIndex index = box->model()->index(row, column);
    QStyleOptionViewItem option;
    option.initFrom(box);
    option.rect = box->visualRect(index);
    option.widget = box;
    const auto* delegate = static_cast<OvTableDelegate*>(box->itemDelegate());
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, delegate->checkRect(option, column).center());
}

void TableTest::type(int row, int column, const QString& text) {
    startTyping(row, column, text);
    if (QLineEdit* editor = openEditor())
        QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the commit is queued behind the key press
    // The closed editor is deleted later; let it go so the next edit finds only its own.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TableTest::startTyping(int row, int column, const QString& text) {
    box->setCurrentCell(row, column);
    box->editItem(box->item(row, column));
    QLineEdit* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->setText(text);
}

QLineEdit* TableTest::openEditor() const {
    if (!box->isEditingCell())
        return nullptr;
    for (QLineEdit* editor : box->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}
