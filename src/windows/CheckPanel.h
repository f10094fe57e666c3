#pragma once

#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataModel.h"
#include "ovdata/OvDataSync.h"
#include "ovdata/OvDocument.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class OvEditorWindow;
class QAction;
class QListWidget;
class QToolButton;
class QWidget;

// The Check panel of one editing window: a one-line header with the counts ("Check: 2 errors,
// 1 warning") that opens a list of the findings below the table. The list holds the findings of
// this window's file and the set findings that name it (OvData0 against OvData1..9). The other
// files of the set are the ones open in this Mapquill (with their unsaved edits), otherwise the
// files OvData0..OvData9 in the folder of this window's file, read and never written.
//
// A click on a finding selects its entry in the table (scrolled into view), so the map shows its
// rectangle. A set finding offers its sync ("Copy to OvData0", "Take from OvData0") as actions on
// the list's context menu; the sync is one undoable step of the window whose file it changes,
// which is opened into its slot first when it is not open.
//
// The panel advises only: nothing in it blocks an edit or a save.
class CheckPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int kListHeight = 110;

    CheckPanel(OvEditorWindow& window, QWidget* parent);
    ~CheckPanel() override;

    QToolButton* header() const { return m_header; }
    QListWidget* list() const { return m_list; }
    bool isExpanded() const;
    void setExpanded(bool expanded);

    // Checks again and shows the result (about 0.4 ms per file on the largest model).
    void refresh();
    // A refresh at the next turn of the event loop; many requests make one refresh.
    void scheduleRefresh();

    const std::vector<ov::Finding>& findings() const { return m_findings; }
    // Selects the finding's entry in this window's table (its counterpart here for a finding of
    // another file), scrolled into view; nothing when the entry is not in this file.
    void showFinding(int index);
    // The syncs finding `index` offers, as actions that run applySync (children of the list; the
    // caller deletes them when done).
    QList<QAction*> syncActions(int index);
    // Applies the sync of finding `index` as one undoable step on the window whose file it
    // changes. False (with a message) when that file cannot be opened or the copy is refused.
    bool applySync(int index, ov::SyncDirection direction);

private:
    // The set as it stands: this window's model, the other open windows', the folder's files.
    ov::OvDataSet currentSet();
    const ov::OvDataModel* folderModel(int slot);
    QString folderFile(int slot) const;
    void showContextMenu(const QPoint& at);
    void fillList();

    struct FolderFile {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        std::unique_ptr<ov::OvDataModel> model; // null when the file is not a usable OvData file
    };

    OvEditorWindow& m_window;
    QToolButton* m_header = nullptr;
    QListWidget* m_list = nullptr;
    std::vector<ov::Finding> m_findings;
    std::array<FolderFile, ov::kFileNumbers> m_folder;
    bool m_refreshPending = false;
    bool m_listStale = true;
};

// The entry of `document` that `path` names: at its positions while they still hold its IDs,
// otherwise found by its ID path; kind None when the file has no such entry.
ov::EntryRef entryOfPath(const ov::OvDocument& document, const ov::EntryPath& path);
