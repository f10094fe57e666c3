#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class OvEditorWindow;
class QMimeData;
class QWidget;

// OvData files that come from outside the open dialogs: the command line, a second launch, a drop
// from the file manager, File > Open Recent. Each opens as the open flow would after its dialog.
namespace OpenFiles {

// The slot for each file, in order: a file whose name ends in a digit d gets slot d when that is
// free (and no earlier file claimed it); every other file the lowest slot still free. -1 when no
// slot is left. `taken` marks the slots 0..9 that hold a window.
std::vector<int> assignSlots(const QStringList& paths, const std::array<bool, 10>& taken);

// Opens the files into editing windows by the rule above. A file already open in a window brings
// that window forward. A file that cannot be read gets the usual message, and the window made for
// it closes again: the user asked for the file, not for an empty window. With no slot left the
// usual "only up to 9" message is shown once.
void open(const QStringList& paths);

// The same, once no modal dialog is running: a dialog's answer is awaited first (files handed over
// by a second launch or dropped may arrive at any moment).
void openWhenIdle(const QStringList& paths);

// The regular local files a drag from the file manager carries.
QStringList localFiles(const QMimeData* mime);

// Lets `window` (and every part of it that takes drops) open OvData files dropped on it.
void acceptFileDrops(QWidget* window);

// Hooks a new editing window up: its table takes dropped files; what it opens or saves goes to the
// recent-files list.
void watchEditingWindow(OvEditorWindow* window);

} // namespace OpenFiles
