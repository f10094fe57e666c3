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

demo::Bytes forkWith(const std::vector<std::pair<int, demo::Rgb>>& picts) {
    std::vector<demo::Resource> resources;
    for (const auto& [id, image] : picts)
        resources.push_back({0x50494354u, static_cast<std::int16_t>(id), {}, demo::encodePict(image)});
    return demo::buildResourceFork(resources);
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

const char* formName(ForkForm form) {
    const char* names[] = {"AppleDoubleSidecar", "AppleDoubleFile", "AppleSingle",
                           "MacBinary",          "BinHex",          "BareFork"};
    return names[static_cast<int>(form)];
}

QString writeUiFile(const QString& folder, ForkForm form, const demo::Bytes& fork) {
    const demo::Bytes appleDouble = demo::wrapAppleDouble("rsrc", "RSED", fork);
    switch (form) {
    case ForkForm::AppleDoubleSidecar:
        writeFile(folder + QStringLiteral("/._UI"), appleDouble);
        return writeFile(folder + QStringLiteral("/UI"), demo::Bytes{});
    case ForkForm::AppleDoubleFile:
        return writeFile(folder + QStringLiteral("/._UI"), appleDouble);
    case ForkForm::AppleSingle: {
        // The same entries under the AppleSingle magic: Finder info and the resource fork.
        demo::Bytes single = appleDouble;
        demo::set32(single, 0, 0x00051600u);
        return writeFile(folder + QStringLiteral("/UI.as"), single);
    }
    case ForkForm::MacBinary:
        return writeFile(folder + QStringLiteral("/UI.bin"),
                         demo::wrapMacBinary3("UI", "rsrc", "RSED", {}, fork));
    case ForkForm::BinHex:
        return writeFile(folder + QStringLiteral("/UI.hqx"),
                         demo::wrapBinHex("UI", "rsrc", "RSED", {}, fork));
    case ForkForm::BareFork:
        return writeFile(folder + QStringLiteral("/UI.rsrc"), fork);
    }
    return {};
}

demo::Bytes container(const std::vector<demo::Rgb>& pictures) {
    return demo::buildBrmContainer(pictures);
}

demo::Bytes containerOfWords(int count, int index, const std::vector<std::uint16_t>& words) {
    demo::Bytes out(1204, 0);
    auto setLe = [&out](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const auto i = static_cast<std::size_t>(index);
    setLe(0, static_cast<std::uint32_t>(count));
    setLe(4 + 4 * i, static_cast<std::uint32_t>(out.size()));
    setLe(404 + 4 * i, static_cast<std::uint32_t>(words.size()));
    setLe(804 + 4 * i, 1);
    for (std::uint16_t w : words)
        out.insert(out.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8)});
    return out;
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
    std::vector<std::pair<int, demo::Rgb>> picts;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        picts.push_back({1013 + static_cast<int>(i), pictures[i]});
    std::vector<demo::Rgb> indexed(13);
    indexed.insert(indexed.end(), pictures.begin(), pictures.end());
    switch (source) {
    case Source::UI:
        return writeUiFile(folder, ForkForm::MacBinary, forkWith(picts));
    case Source::Intrface:
        return writeFile(folder + QStringLiteral("/Intrface.brm"), container(indexed));
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
