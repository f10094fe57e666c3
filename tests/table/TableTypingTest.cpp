#include "TableFixture.h"
#include "table/OvDataListBox.h"
#include "table/TableText.h"
#include "windows/OvEditorWindow.h"

#include <QSignalSpy>

using Col = OvDataListBox;

// What the user types is checked when the edit finishes: text the file cannot hold is refused
// with a message and the cell keeps what it had, so nothing is silently changed at save time.

TEST_F(TableTest, AcceptedEditsReachTheCellAndAreReportedOnce) {
    build({{1}});
    window->setModified(false);
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    type(2, Col::ColX1, QStringLiteral("-32768"));
    EXPECT_EQ(box->Cell(2, Col::ColX1), QStringLiteral("-32768"));
    type(2, Col::ColName, QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(box->Cell(2, Col::ColName), QStringLiteral("Caf\u00e9"));
    type(2, Col::ColY1, QStringLiteral("12.7")); // whole pixels: truncated on read-back
    EXPECT_TRUE(script().messages.isEmpty());
    ASSERT_EQ(actions.count(), 3);
    EXPECT_EQ(actions[0][1].toInt(), static_cast<int>(Col::ColX1));
    EXPECT_TRUE(window->isModified());

    box->GetDataFromListBox();
    EXPECT_EQ(box->BatXY[0][0][0][0], -32768);
    EXPECT_EQ(box->BatXY[0][0][0][1], 12);
    EXPECT_EQ(box->BatName[0][0][0], "Caf\xe9");
}

TEST_F(TableTest, FinishingAnEditWithoutChangeIsNoEdit) {
    build({{}});
    window->setModified(false);
    type(0, Col::ColName, QStringLiteral("S0"));
    EXPECT_FALSE(window->isModified());
}

TEST_F(TableTest, CoordinatesOutsideSixteenBitsAreRefusedWhereTyped) {
    build({{1}});
    window->setModified(false);
    QSignalSpy actions(box, &OvDataListBox::CellAction);
    const QString before = box->Cell(2, Col::ColX2);
    for (const char* typed : {"32768", "-32769", "99999999999999999999", "40000px"}) {
        type(2, Col::ColX2, QString::fromLatin1(typed));
        EXPECT_EQ(box->Cell(2, Col::ColX2), before) << typed;
    }
    ASSERT_EQ(script().messages.size(), 4);
    EXPECT_EQ(script().messages[0], QString::fromLatin1(TableText::kCoordinateOutOfRange));
    EXPECT_EQ(actions.count(), 0);
    EXPECT_FALSE(window->isModified());
}

TEST_F(TableTest, NamesTheFileCannotHoldAreRefusedWhereTyped) {
    build({{}});
    type(0, Col::ColName, QStringLiteral("\u041c\u043e\u0441\u043a\u0432\u0430"));
    type(0, Col::ColName, QString(50, QLatin1Char('x')));
    EXPECT_EQ(box->Cell(0, Col::ColName), QStringLiteral("S0"));
    ASSERT_EQ(script().messages.size(), 2);
    EXPECT_EQ(script().messages[0], QString::fromLatin1(TableText::kNameNotLatin1));
    EXPECT_EQ(script().messages[1], QString::fromLatin1(TableText::kNameTooLong));
    box->GetDataFromListBox();
    EXPECT_EQ(box->SectorName[0], "S0");
}
