#pragma once

#include <QString>
#include <QStringList>

// The game's own paths are classic Mac paths such as "Brenmoor:Data:Graphics:OvData0": the first
// component names a volume (the game's disc or disk), the rest are folders and the file.
namespace ColonPath {

// The local path the colon path names, when its volume is mounted here: /Volumes/NAME on macOS,
// /media/USER/NAME, /run/media/USER/NAME, /media/NAME or /mnt/NAME on Linux, the drive labelled
// NAME on Windows. The item itself need not exist. Empty when the volume is not found or the
// text is not an absolute colon path.
QString resolve(const QString& colonPath);

// A place a file dialog can start at for `colonPath`: the item if it exists, else its nearest
// existing folder on the same volume; empty (the dialog's default place) when nothing resolves.
QString dialogStart(const QString& colonPath);

// Tests point the volume search at folders of their own.
void setVolumeRootsForTesting(const QStringList& roots);

} // namespace ColonPath
