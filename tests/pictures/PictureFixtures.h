#pragma once

#include "MacFileWriters.h"

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

class OvEditorWindow;

// Test pictures and the files that carry them. Colours are multiples of 8 in every channel, so
// they survive the 16-bit container unchanged and a pixel check can be exact for every source.
namespace fixtures {

inline const QColor kFill(96, 160, 64);
inline const QColor kTopLeft(248, 0, 0);
inline const QColor kBottomRight(0, 0, 248);

// A w x h picture in `fill` with the top-left pixel kTopLeft and the bottom-right kBottomRight.
demo::Rgb picture(int width, int height, QColor fill = kFill);
// Writes `bytes` to `path` (creating folders); returns the path.
QString writeFile(const QString& path, const demo::Bytes& bytes);
QString writeFile(const QString& path, const std::string& bytes);
// A sparse file just over the 64 MiB a picture source may have: costs nothing on the disk.
QString hugeFile(const QString& path);

// A PICT file (512-byte header, then the picture), an uncompressed 24-bit TGA stored bottom-up.
demo::Bytes pictFile(const demo::Rgb& image);
demo::Bytes tgaFile(const demo::Rgb& image);

// The three places a map comes from, and the editor's reader for each.
enum class Source { UI, Intrface, External };
// A file in `folder` the user would choose for `source`, holding `pictures` from ID 1013 on (a
// 'UI' as MacBinary, an 'Intrface.brm', or a PICT file of the first picture).
QString writeSource(const QString& folder, Source source, const std::vector<demo::Rgb>& pictures);
// Reads picture `id` from `source` into the window's canvas, answering the file dialog with
// `answer` when one is given ("" = cancel).
void readMap(OvEditorWindow& window, Source source, int id, std::optional<QString> answer = {});

} // namespace fixtures
