#pragma once

#include "GuiTestSupport.h"
#include "table/OvDataListBox.h"
#include "windows/OvEditorWindow.h"

#include <QPoint>

class QLineEdit;

#include <functional>
#include <vector>

using namespace Qt::StringLiterals;
using Col = OvDataListBox;

// An editing window of its own (not registered in a slot, so no file or picture dialogs run),
// shown on the offscreen screen so that mouse and key events reach the table.
class TableTest : public GuiTest {
protected:
    void SetUp() override;

    // Gives the model one sector per element of `tree`; element s lists the battle counts of
    // that sector's ops. IDs follow the positional scheme from `firstID`; names are "S<s>",
    // "O<s>.<o>", "B<s>.<o>.<b>"; every coordinate is distinct (see rectOf); tails are 0,0,0.
    // Then rebuilds the table.
    void build(const std::vector<std::vector<int>>& tree, int firstID = 1);
    static int rectBase(int s, int o, int b) { return 1000 * (s + 1) + 100 * (o + 1) + 10 * (b + 1); }

    // The window's data, and a change of it made directly (as a load would), shown at once.
    const ov::OvDataModel& model() const { return window->document().model(); }
    void change(const std::function<void(ov::OvDataModel&)>& edit);

    // Row kinds in table order as one string: S sector, O ops, B battle.
    QString kinds() const;
    // Column texts of every row joined by spaces, e.g. "1 10 100 101".
    QString column(int column) const;
    // The View ticks of every row, e.g. "0110"; and the selected rows, e.g. "3 5".
    QString ticks() const;
    QString selectedRows() const;

    // The user's click in the middle of a cell's check box.
    void clickCheckBox(int row, int column);
    // The user types `text` into a cell and presses Return.
    void type(int row, int column, const QString& text);
    // The user types `text` into a cell and leaves the editor open (no Return).
    void startTyping(int row, int column, const QString& text);
    // The open cell editor, or nullptr.
    QLineEdit* openEditor() const;

    OvEditorWindow* window = nullptr;
    OvDataListBox* box = nullptr;
};
