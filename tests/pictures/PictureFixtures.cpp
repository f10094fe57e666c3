#include "PictureFixtures.h"

#include "GuiTestSupport.h"
#include "windows/OvEditorWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fixtures {

demo::Rgb picture(int width, int height, QColor fill) {
    demo::Rgb image{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        const QColor c = i == 0 ? kTopLeft : i == width * height - 1 ? kBottomRight : fill;
        image.pixels.insert(image.pixels.end(),
                            {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                             static_cast<std::uint8_t>(c.blue())});
    }
    return image;
}

QString writeFile(const QString& path, const demo::Bytes& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

QString writeFile(const QString& path, const std::string& bytes) {
    return writeFile(path, demo::Bytes(bytes.begin(), bytes.end()));
}

QString hugeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64{65} << 20))
        ADD_FAILURE() << "cannot make " << path.toStdString();
    return path;
}

demo::Bytes pictFile(const demo::Rgb& image) {
    demo::Bytes out(512, 0);
    const demo::Bytes pict = demo::encodePict(image);
    out.insert(out.end(), pict.begin(), pict.end());
    return out;
}

demo::Bytes tgaFile(const demo::Rgb& image) {
    demo::Bytes out(18, 0);
    out[2] = 2; // uncompressed true colour
    out[12] = static_cast<std::uint8_t>(image.width);
    out[13] = static_cast<std::uint8_t>(image.width >> 8);
    out[14] = static_cast<std::uint8_t>(image.height);
    out[15] = static_cast<std::uint8_t>(image.height >> 8);
    out[16] = 24; // and byte 17 zero: bottom-left origin, the last row comes first
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x)
            out.insert(out.end(), {image.at(x, y)[2], image.at(x, y)[1], image.at(x, y)[0]});
    return out;
}

QString writeSource(const QString& folder, Source source, const std::vector<demo::Rgb>& pictures) {
    std::vector<demo::Resource> picts;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        picts.push_back(
            {0x50494354u, static_cast<std::int16_t>(1013 + i), {}, demo::encodePict(pictures[i])});
    std::vector<demo::Rgb> indexed(13);
    indexed.insert(indexed.end(), pictures.begin(), pictures.end());
    switch (source) {
    case Source::UI:
        return writeFile(folder + QStringLiteral("/UI.bin"),
                         demo::wrapMacBinary3("UI", "rsrc", "RSED", {}, demo::buildResourceFork(picts)));
    case Source::Intrface:
        return writeFile(folder + QStringLiteral("/Intrface.brm"), demo::buildBrmContainer(indexed));
    case Source::External:
        return writeFile(folder + QStringLiteral("/map.pict"), pictFile(pictures.front()));
    }
    return {};
}

void readMap(OvEditorWindow& window, Source source, int id, std::optional<QString> answer) {
    if (answer)
        script().openAnswers.push_back(*answer);
    switch (source) {
    case Source::UI:
        return window.ReadPICTFromUIfile(window.PreviewCanvas, id);
    case Source::Intrface:
        return window.ReadPictureFromIntrface(window.PreviewCanvas, id);
    case Source::External:
        return window.ReadPictureFromGraphicsFile(window.PreviewCanvas, id);
    }
}

} // namespace fixtures
