#include "windows/CheckPanel.h"

#include "ovdata/OvDataFile.h"
#include "platform/Dialogs.h"
#include "table/OvDataListBox.h"
#include "windows/EditorHost.h"
#include "windows/OvEditCommands.h"
#include "windows/OvEditorWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include <algorithm>
#include <span>

namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString fileName(int slot) {
    return QStringLiteral("OvData") + QString::number(slot);
}

// Index `wanted` when it still holds `id`, otherwise the first of `count` that does; -1 if none.
template <typename IdAt> int positionOf(int wanted, std::int32_t id, int count, IdAt idAt) {
    if (wanted >= 0 && wanted < count && idAt(wanted) == id)
        return wanted;
    for (int i = 0; i < count; ++i)
        if (idAt(i) == id)
            return i;
    return -1;
}

QString findingLine(const ov::Finding& finding, int ownFile) {
    QString where = text(ov::idPathText(finding.where));
    if (finding.where.file != ownFile && finding.where.file >= 0)
        where = fileName(finding.where.file) + QLatin1Char(' ') + where;
    return text(ov::severityName(finding.severity)) + QStringLiteral("  ") + where + QStringLiteral(": ") +
           QString::fromStdString(finding.message);
}

} // namespace

ov::EntryRef entryOfPath(const ov::OvDocument& document, const ov::EntryPath& path) {
    const ov::OvDataModel& m = document.model();
    const int depth = path.depth();
    if (depth == 0)
        return {};
    const int s = positionOf(path.sector, path.sectorId, std::clamp(m.OvNumberOfSectors, 0, ov::kCapacity),
                             [&](int i) { return m.SectorID[static_cast<std::size_t>(i)]; });
    if (s < 0)
        return {};
    const auto su = static_cast<std::size_t>(s);
    if (depth == 1)
        return {s, -1, -1};
    const int o = positionOf(path.op, path.opId, std::clamp(m.SectorNumberOfOps[su], 0, ov::kCapacity),
                             [&](int i) { return m.OpsID[su][static_cast<std::size_t>(i)]; });
    if (o < 0)
        return {};
    const auto ou = static_cast<std::size_t>(o);
    if (depth == 2)
        return {s, o, -1};
    const int b =
        positionOf(path.battle, path.battleId, std::clamp(m.OpsNumberOfBattles[su][ou], 0, ov::kCapacity),
                   [&](int i) { return m.BatID[su][ou][static_cast<std::size_t>(i)]; });
    if (b < 0)
        return {};
    return {s, o, b};
}

CheckPanel::CheckPanel(OvEditorWindow& window, QWidget* parent) : QObject(parent), m_window(window) {
    QFont font;
    font.setPixelSize(10);
    m_header = new QToolButton(parent);
    m_header->setObjectName(QStringLiteral("CheckHeader"));
    m_header->setFont(font);
    m_header->setCheckable(true);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setArrowType(Qt::RightArrow);
    m_header->setAutoRaise(true);
    m_header->setToolTip(QStringLiteral("the game's limits and OvData0 against OvData1..9: "
                                        "click to show or hide the findings"));
    m_list = new QListWidget(parent);
    m_list->setObjectName(QStringLiteral("CheckList"));
    m_list->setFont(font);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->hide();

    connect(m_header, &QToolButton::toggled, this, [this](bool on) { setExpanded(on); });
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showFinding(m_list->row(item)); });
    connect(m_list, &QListWidget::customContextMenuRequested, this, &CheckPanel::showContextMenu);
}

CheckPanel::~CheckPanel() = default;

bool CheckPanel::isExpanded() const {
    return m_header->isChecked();
}

void CheckPanel::setExpanded(bool expanded) {
    if (m_header->isChecked() != expanded) {
        m_header->setChecked(expanded); // comes back here through `toggled`
        return;
    }
    m_header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    if (expanded && m_listStale)
        fillList();
    m_list->setVisible(expanded);
    m_window.Event_Resized();
}

void CheckPanel::scheduleRefresh() {
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending)
            refresh();
    });
}

QString CheckPanel::folderFile(int slot) const {
    const QString own = m_window.filePath();
    if (own.isEmpty())
        return {};
    const QString path = QFileInfo(own).dir().filePath(fileName(slot));
    // This window's own file is its model, whatever slot it sits in.
    if (QFileInfo(path).canonicalFilePath() == QFileInfo(own).canonicalFilePath())
        return {};
    return path;
}

const ov::OvDataModel* CheckPanel::folderModel(int slot) {
    FolderFile& cached = m_folder[static_cast<std::size_t>(slot)];
    const QString path = folderFile(slot);
    // Only a plain file is read: a pipe or a device named OvData3 could block the program.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        cached = {};
        return nullptr;
    }
    if (cached.path == path && cached.modified == info.lastModified() && cached.size == info.size())
        return cached.model.get();
    cached = {};
    cached.path = path;
    cached.modified = info.lastModified();
    cached.size = info.size();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(static_cast<qint64>(ov::OvDataLayout::kMaxFileSize));
        const ov::OvDataReadResult read = ov::ReadFromOvDataFile(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())));
        // A file that is no OvData file takes no part in the set (the window that opens it says why).
        if (read.ok())
            cached.model = std::make_unique<ov::OvDataModel>(*read.model);
    }
    return cached.model.get();
}

ov::OvDataSet CheckPanel::currentSet() {
    ov::OvDataSet set{};
    const int own = m_window.myWindowIndex;
    EditorHost* host = editorHost();
    for (int slot = 0; slot < ov::kFileNumbers; ++slot) {
        if (slot == own) {
            set[static_cast<std::size_t>(slot)] = &m_window.document().model();
            continue;
        }
        OvEditorWindow* other = host ? host->editorInSlot(slot) : nullptr;
        set[static_cast<std::size_t>(slot)] =
            other && other != &m_window ? &other->document().model() : folderModel(slot);
    }
    return set;
}

void CheckPanel::refresh() {
    m_refreshPending = false;
    const int own = m_window.myWindowIndex;
    // A window outside the ten numbered slots has only its file's own rules.
    std::vector<ov::Finding> all = own >= 0 && own < ov::kFileNumbers
                                       ? ov::CheckSet(currentSet())
                                       : ov::CheckFile(m_window.document().model(), ov::kUnknownFile);
    m_findings.clear();
    // This file's own findings and the set findings between it and another file.
    for (ov::Finding& finding : all)
        if (finding.where.file == own || finding.where.file == ov::kUnknownFile ||
            (finding.counterpart && finding.counterpart->file == own))
            m_findings.push_back(std::move(finding));

    const QString counts = text(ov::CountsText(ov::CountFindings(m_findings)));
    m_header->setText(QStringLiteral("Check: ") + counts);
    // A set of ten full files can have tens of thousands of findings: the rows are made only
    // while the list is open, so an edit with the list closed costs the checks alone.
    m_listStale = true;
    if (isExpanded())
        fillList();
}

void CheckPanel::fillList() {
    m_listStale = false;
    const int own = m_window.myWindowIndex;
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    for (const ov::Finding& finding : m_findings) {
        auto* item = new QListWidgetItem(findingLine(finding, own), m_list);
        item->setToolTip(text(finding.code));
    }
    m_list->setUpdatesEnabled(true);
}

void CheckPanel::showFinding(int index) {
    if (index < 0 || index >= static_cast<int>(m_findings.size()))
        return;
    const ov::Finding& finding = m_findings[static_cast<std::size_t>(index)];
    const int own = m_window.myWindowIndex;
    const ov::EntryPath* path = finding.where.file == own || finding.where.file == ov::kUnknownFile
                                    ? &finding.where
                                : finding.counterpart ? &*finding.counterpart
                                                      : nullptr;
    if (!path)
        return;
    const int row = m_window.document().rowOf(entryOfPath(m_window.document(), *path));
    if (row >= 0)
        m_window.showEntryChanged(m_window.document().entryAt(row), true);
}

QList<QAction*> CheckPanel::syncActions(int index) {
    QList<QAction*> actions;
    if (index < 0 || index >= static_cast<int>(m_findings.size()))
        return actions;
    const ov::Finding& finding = m_findings[static_cast<std::size_t>(index)];
    auto add = [&](const QString& caption, ov::SyncDirection direction) {
        auto* action = new QAction(caption, m_list);
        connect(action, &QAction::triggered, this, [this, index, direction] { applySync(index, direction); });
        actions << action;
    };
    if (finding.canCopyToOverview)
        add(QStringLiteral("Copy to OvData0"), ov::SyncDirection::ToOverview);
    if (finding.canTakeFromOverview)
        add(QStringLiteral("Take from OvData0"), ov::SyncDirection::FromOverview);
    return actions;
}

void CheckPanel::showContextMenu(const QPoint& at) {
    QListWidgetItem* item = m_list->itemAt(at);
    if (!item)
        return;
    const QList<QAction*> actions = syncActions(m_list->row(item));
    if (actions.isEmpty())
        return;
    QMenu menu(m_list);
    menu.addActions(actions);
    menu.exec(m_list->viewport()->mapToGlobal(at));
    qDeleteAll(actions);
}

bool CheckPanel::applySync(int index, ov::SyncDirection direction) {
    if (index < 0 || index >= static_cast<int>(m_findings.size()))
        return false;
    const ov::Finding finding = m_findings[static_cast<std::size_t>(index)];
    const int sectorFile = finding.where.file;
    if (sectorFile < 1 || sectorFile >= ov::kFileNumbers)
        return false;
    const int target = direction == ov::SyncDirection::ToOverview ? 0 : sectorFile;
    const int source = direction == ov::SyncDirection::ToOverview ? sectorFile : 0;
    EditorHost* host = editorHost();

    auto windowIn = [&](int slot) -> OvEditorWindow* {
        if (slot == m_window.myWindowIndex)
            return &m_window;
        return host ? host->editorInSlot(slot) : nullptr;
    };
    // The file that changes gets a window (and so a history to undo in): a closed one is opened
    // into its slot, as a file from outside is.
    QPointer<OvEditorWindow> changed = windowIn(target);
    if (!changed) {
        const QString path = folderFile(target);
        if (host && !path.isEmpty() && QFileInfo(path).isFile())
            changed = host->openInSlot(target, path);
        if (!changed) {
            MsgBox(QStringLiteral("sorry, ") + fileName(target) + QStringLiteral(" could not be opened."),
                   &m_window);
            return false;
        }
    }
    if (!changed->thisListBox->commitPendingEdit())
        return false;
    OvEditorWindow* other = windowIn(source);
    const ov::OvDataModel* sourceModel = other ? &other->document().model() : folderModel(source);
    if (!sourceModel) {
        MsgBox(QStringLiteral("sorry, ") + fileName(source) + QStringLiteral(" could not be read."),
               &m_window);
        return false;
    }

    const ov::OvDataModel& before = changed->document().model();
    auto overview = std::make_unique<ov::OvDataModel>(target == 0 ? before : *sourceModel);
    auto sector = std::make_unique<ov::OvDataModel>(target == 0 ? *sourceModel : before);
    const std::string why = ov::ApplySync(*overview, *sector, finding, direction);
    if (!why.empty()) {
        MsgBox(QString::fromStdString(why), &m_window);
        return false;
    }
    const ov::OvDataModel& after = target == 0 ? *overview : *sector;

    // The step is named for the entry as the user sees it in the file it comes from.
    const ov::EntryPath& path = target == 0 || !finding.counterpart ? finding.where : *finding.counterpart;
    QString label = text(ov::levelName(path));
    if (!label.isEmpty())
        label[0] = label[0].toUpper();
    label += QLatin1Char(' ') + text(ov::idPathText(path));
    const QString caption = direction == ov::SyncDirection::ToOverview
                                ? QStringLiteral("Copy ") + label + QStringLiteral(" to OvData0")
                                : QStringLiteral("Take ") + label + QStringLiteral(" from OvData0");

    const auto shown = std::make_unique<ov::OvDocument>();
    shown->reset(after);
    const ov::EntryRef entry = entryOfPath(*shown, path);
    changed->undoStack()->push(new SyncCommand(*changed, before, after, entry, caption));
    refresh();
    return true;
}
