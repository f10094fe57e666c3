#include "PictureCommands.h"

#include "OvDataCommands.h"
#include "files/Files.h"
#include "graphics/core/PictureMessages.h"
#include "graphics/core/PictureSource.h"
#include "graphics/fonts/FreeTypeText.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

using mqtool::kExitBadInput;
using mqtool::kExitSuccess;
using mqtool::kExitUsage;

constexpr const char* kPicturesUsage = "pictures SOURCE [--from ui|intrface|picture]";
constexpr const char* kMapUsage = "map SOURCE [ID] OUT.png [--from ui|intrface|picture]";

int usage(const char* line, const char* why = nullptr)
{
    if (why)
        std::fprintf(stderr, "mapquill-tool: %s\n", why);
    std::fprintf(stderr, "usage: mapquill-tool %s\n(see mapquill-tool --help)\n", line);
    return kExitUsage;
}

int refuse(const std::string& message, const std::string& detail = {})
{
    std::fprintf(stderr, "mapquill-tool: %s\n", message.c_str());
    if (!detail.empty())
        std::fprintf(stderr, "mapquill-tool: (%s)\n", detail.c_str());
    return kExitBadInput;
}

struct Arguments {
    std::vector<std::string> positional;
    std::optional<gfx::PictureSourceKind> from;
    std::string problem;   // wrong usage, when not empty
};

Arguments parseArguments(const std::vector<std::string>& args)
{
    Arguments out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string kind;
        if (arg == "--from") {
            if (i + 1 >= args.size()) {
                out.problem = "--from needs ui, intrface or picture";
                return out;
            }
            kind = args[++i];
        } else if (arg.rfind("--from=", 0) == 0) {
            kind = arg.substr(7);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            out.problem = "unknown option '" + arg + "'";
            return out;
        } else {
            out.positional.push_back(arg);
            continue;
        }
        out.from = gfx::PictureSource::kindFromName(kind);
        if (!out.from) {
            out.problem = "--from needs ui, intrface or picture, not '" + kind + "'";
            return out;
        }
    }
    return out;
}

gfx::ImageResult toRgb(const QImage& decoded)
{
    if (decoded.isNull())
        return gfx::ImageResult::failure("the picture could not be read");
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB888);
    gfx::ImageResult result;
    result.image = gfx::RgbImage(rgb.width(), rgb.height());
    const auto rowBytes = static_cast<std::size_t>(rgb.width()) * 3u;
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(result.image.row(y), rgb.constScanLine(y), rowBytes);
    return result;
}

// The formats the core has no codec for: JPEG inside PICT and whole picture files Qt can read.
gfx::PictureDecoders qtDecoders()
{
    gfx::PictureDecoders decoders;
    decoders.pict.textRenderer = gfx::freeTypeTextRenderer();
    decoders.pict.jpegDecoder = [](std::span<const std::uint8_t> jpeg) {
        QImage image;
        image.loadFromData(jpeg.data(), static_cast<int>(std::min<std::size_t>(jpeg.size(), INT32_MAX)), "JPEG");
        return toRgb(image);
    };
    decoders.foreignDecoder = [](std::span<const std::uint8_t> file) {
        QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                                   static_cast<qsizetype>(file.size()));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        return toRgb(reader.read());
    };
    return decoders;
}

std::optional<gfx::PictureSource> openSource(const std::string& path, std::optional<gfx::PictureSourceKind> from,
                                             int& exitCode)
{
    gfx::PictureSourceResult opened = gfx::PictureSource::open(path, from);
    if (!opened.ok()) {
        exitCode = refuse(opened.error, opened.detail);
        return std::nullopt;
    }
    return std::move(opened.source);
}

bool writePng(const gfx::RgbImage& image, const std::string& path, std::string& error)
{
    const QImage view(image.pixels.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Quality 80 asks libpng for light compression: maps are small, and deflate at its default
    // level costs more time than the whole decode.
    constexpr int kPngQuality = 80;
    if (!view.save(&buffer, "PNG", kPngQuality)) {
        error = "sorry, the picture could not be encoded as PNG";
        return false;
    }
    // The path's bytes as given: a name that is not UTF-8 is written under exactly that name.
    const files::WriteResult written =
        files::writeFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
    if (!written.ok())
        error = "sorry, file could not be written: " + written.message;
    return written.ok();
}

} // namespace

int runPicturesCommand(const std::vector<std::string>& args)
{
    const Arguments parsed = parseArguments(args);
    if (!parsed.problem.empty())
        return usage(kPicturesUsage, parsed.problem.c_str());
    if (parsed.positional.size() != 1)
        return usage(kPicturesUsage);

    int exitCode = kExitSuccess;
    const std::optional<gfx::PictureSource> source = openSource(parsed.positional[0], parsed.from, exitCode);
    if (!source)
        return exitCode;
    const gfx::PictureListResult listed = source->list(qtDecoders());
    if (!listed.ok())
        return refuse(listed.error, listed.detail);
    // A picture file that turns out unreadable is a failure, not a listing with a gap.
    if (source->kind() == gfx::PictureSourceKind::PictureFile && !listed.pictures.empty() &&
        !listed.pictures[0].error.empty())
        return refuse(gfx::PictureMessages::kPictureNotFound, listed.pictures[0].error);
    for (const gfx::PictureListing& picture : listed.pictures) {
        const std::string id = picture.id ? std::to_string(*picture.id) : std::string("-");
        if (!picture.error.empty())
            std::printf("%s ? (%s)", id.c_str(), picture.error.c_str());
        else
            std::printf("%s %dx%d", id.c_str(), picture.width, picture.height);
        if (!picture.name.empty())
            std::printf(" \"%s\"", picture.name.c_str());
        std::printf("\n");
    }
    return kExitSuccess;
}

int runMapCommand(const std::vector<std::string>& args)
{
    const Arguments parsed = parseArguments(args);
    if (!parsed.problem.empty())
        return usage(kMapUsage, parsed.problem.c_str());
    if (parsed.positional.size() != 2 && parsed.positional.size() != 3)
        return usage(kMapUsage);

    std::optional<int> id;
    if (parsed.positional.size() == 3) {
        const std::string& text = parsed.positional[1];
        int value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size())
            return usage(kMapUsage, ("the picture ID must be a whole number, not '" + text + "'").c_str());
        id = value;
    }
    const std::string& out = parsed.positional.back();

    int exitCode = kExitSuccess;
    const std::optional<gfx::PictureSource> source = openSource(parsed.positional[0], parsed.from, exitCode);
    if (!source)
        return exitCode;
    if (!id && source->kind() != gfx::PictureSourceKind::PictureFile)
        return usage(kMapUsage, "a picture ID is needed for a 'UI' or 'Intrface.brm' source");

    const gfx::PictureResult picture = source->picture(id.value_or(0), qtDecoders());
    if (!picture.ok())
        return refuse(picture.error, picture.detail);
    std::string error;
    if (!writePng(picture.image, out, error))
        return refuse(error);
    return kExitSuccess;
}

gfx::PictureDecoders mapPictureDecoders()
{
    return qtDecoders();
}

bool writeMapPng(const gfx::RgbImage& image, const std::string& path, std::string& error)
{
    return writePng(image, path, error);
}

const char* pictureCommandsHelp()
{
    return "  pictures SOURCE [--from ui|intrface|picture]\n"
           "      List the map pictures of SOURCE, one line each: ID and width x height (\"-\" for the\n"
           "      single picture of a picture file). SOURCE is the game's 'UI' file (its resource fork\n"
           "      as MacBinary, BinHex, AppleSingle/AppleDouble, a bare fork, a native fork or a sidecar\n"
           "      such as ._UI), the 'Intrface.brm' container (ID = 1000 + picture index) or a picture\n"
           "      file (PICT, TGA, PNG, JPEG, BMP, GIF...). The kind is told from the bytes; --from\n"
           "      forces it.\n"
           "  map SOURCE [ID] OUT.png [--from ui|intrface|picture]\n"
           "      Write picture ID of SOURCE as a PNG file (the ID is needed for 'UI' and\n"
           "      'Intrface.brm' sources).\n";
}
