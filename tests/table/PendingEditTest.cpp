// A cell being typed in is part of the data: every command that depends on the data commits it
// first, and a value the file cannot hold stops the command with the editor left open.
#include "TableFixture.h"
#include "table/TableText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
QPushButton* OvEditorWindow::*const kButtons[] = {
    &OvEditorWindow::PushButtonSave,      &OvEditorWindow::PushButtonLoad,
    &OvEditorWindow::PushButtonBatnames,  &OvEditorWindow::PushButtonAddSector,
    &OvEditorWindow::PushButtonAddOps,    &OvEditorWindow::PushButtonAddBattle,
    &OvEditorWindow::PushButtonDelBattle, &OvEditorWindow::PushButtonDelOps,
    &OvEditorWindow::PushButtonDelSector};
} // namespace

// Regression: the refusal was shown when the editor lost the focus to the button, the message
// box swallowed the click, and after OK nothing happened and the typed text was gone.
TEST_F(TableTest, ARefusedValueStopsTheClickedCommandAndKeepsTheEditorOpen) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    for (QPushButton* OvEditorWindow::*button : kButtons) {
        build({{2}});
        window->setModified(false);
        script().clear();
        box->setListIndex(2);
        startTyping(2, Col::ColY2, u"99999"_s);
        QPushButton* pushed = window->*button;
        const std::string name = pushed->text().toStdString();
        QTest::mouseClick(pushed, Qt::LeftButton);
        EXPECT_EQ(script().messages, QStringList{OvDataListBox::stillOpenMessage(
                                         QLatin1String(TableText::kCoordinateOutOfRange))})
            << name;
        EXPECT_TRUE(script().saveRequests.empty() && script().openRequests.empty()) << name;
        EXPECT_EQ(script().beeps, 0) << name;
        EXPECT_EQ(box->ListCount(), 4) << name;
        QLineEdit* editor = openEditor();
        ASSERT_NE(editor, nullptr) << name;
        EXPECT_EQ(editor->text(), u"99999"_s) << name;
        EXPECT_TRUE(editor->hasFocus()) << name;
        EXPECT_FALSE(window->isModified()) << name;
        QTest::keyClick(editor, Qt::Key_Escape); // the old value stays
        EXPECT_EQ(openEditor(), nullptr);
        EXPECT_EQ(box->Cell(2, Col::ColY2), QString::number(rectBase(0, 0, 0) + 3)) << name;
    }
}

TEST_F(TableTest, CommandsTakeAnAcceptedOpenEditFirst) {
    using Command = void (OvEditorWindow::*)();
    const struct {
        Command command;
        int selectedRow;
        const char16_t* names;
    } cases[] = {
        {&OvEditorWindow::PushButtonAddBattle_Action, 2, u"S0 O0.0 typed B0.0.1 <enter new battle name"},
        {&OvEditorWindow::PushButtonAddOps_Action, 1, u"S0 O0.0 typed B0.0.1 <enter new ops name"},
        {&OvEditorWindow::PushButtonDelBattle_Action, 3, u"S0 O0.0 typed"},
        {&OvEditorWindow::PushButtonAddSector_Action, 0, u"S0 O0.0 typed B0.0.1 <enter new sector name>"}};
    for (const auto& c : cases) {
        build({{2}});
        window->setModified(false);
        startTyping(2, Col::ColName, u"typed"_s);
        box->setListIndex(c.selectedRow); // the selection moves, the editor stays open
        (window->*c.command)();
        EXPECT_EQ(openEditor(), nullptr);
        EXPECT_EQ(column(Col::ColName), QString::fromUtf16(c.names));
        EXPECT_TRUE(window->isModified());
    }
}

TEST_F(TableTest, ClosingAsksAboutATextStillBeingTyped) {
    build({{}});
    window->setModified(false);
    startTyping(0, Col::ColName, u"a new name"_s);
    script().unsavedAnswers.push_back(UnsavedChoice::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(script().unsavedQuestions.size(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(box->Cell(0, Col::ColName), u"a new name"_s);

    startTyping(0, Col::ColX1, u"70000"_s); // refused: the window neither asks nor closes
    script().clear();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(script().unsavedQuestions.isEmpty());
    EXPECT_EQ(script().messages.size(), 1);
    ASSERT_NE(openEditor(), nullptr);
    QTest::keyClick(openEditor(), Qt::Key_Escape);
    script().unsavedAnswers.push_back(UnsavedChoice::Discard);
    EXPECT_TRUE(window->close());
    window = nullptr;
}
