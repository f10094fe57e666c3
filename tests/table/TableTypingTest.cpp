#include "TableFixture.h"
#include "table/TableText.h"

#include <QSignalSpy>

// What the user types is checked when the edit finishes: text the file cannot hold is refused
// with a message and the cell keeps what it had, so nothing is silently changed at save time.

TEST_F(TableTest, AcceptedEditsReachTheCellAndAreReportedOnce) {
    build({{1}});
    window->setModified(false);
    type(0, Col::ColName, u"S0"_s); // finishing an edit without a change is no edit
    EXPECT_FALSE(window->isModified());
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    type(2, Col::ColX1, u"-32768"_s);
    type(2, Col::ColX2, u"32767"_s);
    const QString name = u"Caf\u00e9 \u00ff"_s + QString(43, QLatin1Char('a')); // Latin-1, 49 characters
    type(2, Col::ColName, name);
    type(2, Col::ColY1, u"12.7"_s); // whole pixels: truncated on read-back
    EXPECT_EQ(box->Cell(2, Col::ColX1), u"-32768"_s);
    EXPECT_EQ(box->Cell(2, Col::ColName), name);
    EXPECT_TRUE(script().messages.isEmpty());
    ASSERT_EQ(actions.count(), 4);
    EXPECT_EQ(actions[0][1].toInt(), static_cast<int>(Col::ColX1));
    EXPECT_TRUE(window->isModified());

    box->GetDataFromListBox();
    EXPECT_EQ(box->BatXY[0][0][0][0], -32768);
    EXPECT_EQ(box->BatXY[0][0][0][1], 12);
    EXPECT_EQ(box->BatXY[0][0][0][2], 32767);
    EXPECT_EQ(box->BatName[0][0][0], "Caf\xe9 \xff" + std::string(43, 'a'));
}

TEST_F(TableTest, ValuesTheFileCannotHoldAreRefusedWhereTyped) {
    build({{1}});
    window->setModified(false);
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    const QString range = QLatin1String(TableText::kCoordinateOutOfRange);
    const struct {
        int column;
        QString typed, message;
    } cases[] = {{Col::ColX2, u"32768"_s, range},
                 {Col::ColX2, u"-32769"_s, range},
                 {Col::ColX2, u"99999999999999999999"_s, range},
                 {Col::ColX2, u"40000px"_s, range},
                 {Col::ColName, u"\u20acuro"_s, QLatin1String(TableText::kNameNotLatin1)},
                 {Col::ColName, QString(50, QLatin1Char('x')), QLatin1String(TableText::kNameTooLong)}};
    for (const auto& c : cases) {
        const QString before = box->Cell(2, c.column);
        script().messages.clear();
        type(2, c.column, c.typed);
        EXPECT_EQ(box->Cell(2, c.column), before) << c.typed.toStdString();
        EXPECT_EQ(script().messages, QStringList{c.message}) << c.typed.toStdString();
    }
    EXPECT_EQ(actions.count(), 0);
    EXPECT_FALSE(window->isModified());
    box->GetDataFromListBox();
    EXPECT_EQ(box->BatName[0][0][0], "B0.0.0");
    EXPECT_EQ(box->BatXY[0][0][0][2], rectBase(0, 0, 0) + 2);
}
