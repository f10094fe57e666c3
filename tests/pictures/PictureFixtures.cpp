#include "PictureFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fixtures {

demo::Rgb picture(int width, int height, QColor fill) {
    demo::Rgb image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u);
    auto set = [&image](int x, int y, QColor c) {
        std::uint8_t* p =
            image.pixels.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                                   static_cast<std::size_t>(x)) *
                                      3u;
        p[0] = static_cast<std::uint8_t>(c.red());
        p[1] = static_cast<std::uint8_t>(c.green());
        p[2] = static_cast<std::uint8_t>(c.blue());
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            set(x, y, fill);
    set(0, 0, kTopLeft);
    set(width - 1, height - 1, kBottomRight);
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
    switch (form) {
    case ForkForm::AppleDoubleSidecar:
        return "AppleDoubleSidecar";
    case ForkForm::AppleDoubleFile:
        return "AppleDoubleFile";
    case ForkForm::AppleSingle:
        return "AppleSingle";
    case ForkForm::MacBinary:
        return "MacBinary";
    case ForkForm::BinHex:
        return "BinHex";
    case ForkForm::BareFork:
        return "BareFork";
    }
    return "?";
}

QString writeUiFile(const QString& folder, ForkForm form, const demo::Bytes& fork) {
    switch (form) {
    case ForkForm::AppleDoubleSidecar:
        writeFile(folder + QStringLiteral("/._UI"), demo::wrapAppleDouble("rsrc", "RSED", fork));
        return writeFile(folder + QStringLiteral("/UI"), demo::Bytes{});
    case ForkForm::AppleDoubleFile:
        return writeFile(folder + QStringLiteral("/._UI"), demo::wrapAppleDouble("rsrc", "RSED", fork));
    case ForkForm::AppleSingle: {
        // The same entries under the AppleSingle magic: Finder info and the resource fork.
        demo::Bytes single = demo::wrapAppleDouble("rsrc", "RSED", fork);
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
    for (std::uint16_t w : words) {
        out.push_back(static_cast<std::uint8_t>(w));
        out.push_back(static_cast<std::uint8_t>(w >> 8));
    }
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
    out[16] = 24;
    out[17] = 0; // bottom-left origin: the last row comes first
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
    return out;
}

} // namespace fixtures
