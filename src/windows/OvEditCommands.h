#pragma once

#include "ovdata/OvDocument.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

class OvEditorWindow;

// The undoable steps of an editing window, one class per kind of change. Each calls one
// operation of the window's document the first time it runs and keeps what that operation
// changed (an ov::OvEdit); undo and redo then replay that change exactly. After every run the
// command brings the views in line: the table and the map show the document, and on undo and
// redo the row the step changed is selected and scrolled into view.
//
// A command runs its operation in prepare(), before it is pushed; one that changed nothing is
// never pushed (OvEditorWindow::pushStep), so a refused or empty edit is no step, keeps the redo
// history and never makes the window modified.
class OvEditCommand : public QUndoCommand {
public:
    explicit OvEditCommand(OvEditorWindow& window);

    // Runs the document operation; false when it changed nothing.
    bool prepare();
    void redo() final;
    void undo() final;

    const ov::OvEdit& edit() const { return m_edit; }

protected:
    // Runs the document operation (first run only) and returns what it changed.
    virtual ov::OvEdit perform(ov::OvDocument& document) = 0;
    // Brings the views in line after a run; `first` for the run that made the step.
    virtual void show(bool undone, bool first) = 0;

    // For steps that add or remove rows: the View ticks belong to row positions, so an undo
    // puts back the ticks the rows had before the step and a redo those they had after it.
    void rememberTicks(bool undone, bool first);

    OvEditorWindow& m_window;
    ov::OvEdit m_edit;

private:
    bool m_shown = false;
    std::vector<bool> m_ticksBefore, m_ticksAfter;
};

// "Rename Battle 101", "Change x1 of Battle 101": a value typed into a cell.
class SetFieldCommand final : public OvEditCommand {
public:
    // `column` is a table column: the name or one of the four coordinates.
    SetFieldCommand(OvEditorWindow& window, const ov::EntryRef& entry, int column, const QString& text);

protected:
    ov::OvEdit perform(ov::OvDocument& document) override;
    void show(bool undone, bool first) override;

private:
    ov::EntryRef m_entry;
    int m_column;
    QString m_text;
};

// "Tick Bridge of Battle 101", "Untick LZ of Battle 101".
class SetFlagCommand final : public OvEditCommand {
public:
    SetFlagCommand(OvEditorWindow& window, const ov::EntryRef& battle, int k, bool on);

protected:
    ov::OvEdit perform(ov::OvDocument& document) override;
    void show(bool undone, bool first) override;

private:
    ov::EntryRef m_entry;
    int m_k;
    bool m_on;
};

// "Mark Battle 101": one whole mark on the map, from the press to the release. Every mouse step
// of the same mark pushes one of these; they merge into the first, so the step holds the
// rectangle before the press and the last one drawn.
class MarkCommand final : public OvEditCommand {
public:
    static constexpr int kId = 1;
    // `verb` names the step: "Mark" for the mouse, "Move" for the keys.
    MarkCommand(OvEditorWindow& window, const ov::EntryRef& entry, const ov::Rect& rect, int gesture,
                const char* verb = "Mark");

    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand* other) override;

protected:
    ov::OvEdit perform(ov::OvDocument& document) override;
    void show(bool undone, bool first) override;

private:
    ov::EntryRef m_entry;
    ov::Rect m_rect;
    int m_gesture;
};

// "Add Sector 3", "Add Ops 23", "Add Battle 230".
class AddCommand final : public OvEditCommand {
public:
    // The parent: none for a sector, the sector for an ops, sector and ops for a battle.
    AddCommand(OvEditorWindow& window, ov::EntryRef::Kind kind, int s, int o);

protected:
    ov::OvEdit perform(ov::OvDocument& document) override;
    void show(bool undone, bool first) override;

private:
    ov::EntryRef::Kind m_kind;
    int m_s, m_o;
    ov::EntryRef m_added;
};

// "Delete Sector 2": the entry with everything below it.
class DeleteCommand final : public OvEditCommand {
public:
    DeleteCommand(OvEditorWindow& window, const ov::EntryRef& entry);

protected:
    ov::OvEdit perform(ov::OvDocument& document) override;
    void show(bool undone, bool first) override;

private:
    ov::EntryRef m_entry;
};

// "Renumber from 3": the ID popup.
class RenumberCommand final : public OvEditCommand {
public:
    RenumberCommand(OvEditorWindow& window, int first);

protected:
    ov::OvEdit perform(ov::OvDocument& document) override;
    void show(bool undone, bool first) override;

private:
    int m_first;
};

// "Change Map Picture to 1016": the picture popup.
class PictureIdCommand final : public OvEditCommand {
public:
    PictureIdCommand(OvEditorWindow& window, int id);

protected:
    ov::OvEdit perform(ov::OvDocument& document) override;
    void show(bool undone, bool first) override;

private:
    int m_id;
};

// "Copy Battle 101 to OvData0", "Take Sector 2 from OvData0": a set sync from the Check panel.
// It keeps the whole model before and after (about 120 KB each with short names) rather than an
// edit journal: a sync adds, replaces or removes a subtree at any level, syncs are rare steps,
// and a snapshot is exact by construction. Restoring the model that was there keeps the journals
// of the steps before it exact.
class SyncCommand final : public QUndoCommand {
public:
    // `show` is the synced entry in the window's file after the sync (kind None: none).
    SyncCommand(OvEditorWindow& window, const ov::OvDataModel& before, const ov::OvDataModel& after,
                const ov::EntryRef& show, const QString& text);

    void redo() override;
    void undo() override;

private:
    void put(const ov::OvDataModel& model);

    OvEditorWindow& m_window;
    std::unique_ptr<ov::OvDataModel> m_before, m_after;
    ov::EntryRef m_show;
};

// How the step names call an entry: "Sector 2", "Ops 23", "Battle 230".
QString entryLabel(const ov::OvDocument& document, const ov::EntryRef& entry);
