#include "PictureCommands.h"

#include "CommandLine.h"
#include "OvDataCommands.h"
#include "QtImageModule.h"
#include "StandardStreams.h"
#include "graphics/core/JpegDecoder.h"
#include "graphics/core/PictureMessages.h"
#include "graphics/core/PictureSource.h"
#include "graphics/core/PngReader.h"
#include "graphics/core/PngWriter.h"
#include "graphics/core/SourceFile.h"
#if MQ_IMAGE_LIBRARIES
#include "graphics/fonts/FreeTypeText.h"
#endif

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace mqtool {

namespace {

constexpr const char* kPicturesUsage = "pictures SOURCE [--from ui|intrface|picture]";
constexpr const char* kMapUsage = "map SOURCE [ID] OUT.png [--from ui|intrface|picture]";

struct Arguments {
    std::vector<std::string> positional;
    std::optional<gfx::PictureSourceKind> from;
    std::string problem; // wrong usage, when not empty
};

Arguments parseArguments(const std::vector<std::string>& args) {
    Arguments out;
    const CommandLine line = splitCommandLine(args, {"--from"});
    out.positional = line.operands;
    out.problem = line.problem;
    if (line.ok()) {
        if (const std::optional<std::string> kind = line.option("--from")) {
            out.from = gfx::PictureSource::kindFromName(*kind);
            if (!out.from)
                out.problem = "--from needs ui, intrface or picture, not '" + *kind + "'";
        }
    }
    if (out.problem == "the option --from needs a value")
        out.problem = "--from needs ui, intrface or picture";
    return out;
}

// JPEG files go to libjpeg-turbo and PNG files to libpng, both in the core; every other format
// the core does not know to the Qt image module, loaded only now.
gfx::ImageResult decodeForeignFile(std::span<const std::uint8_t> file) {
    static constexpr std::uint8_t kJpeg[] = {0xFF, 0xD8, 0xFF};
    static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto startsWith = [&file](std::span<const std::uint8_t> magic) {
        return file.size() >= magic.size() && std::equal(magic.begin(), magic.end(), file.begin());
    };
    if (startsWith(kJpeg))
        return gfx::decodeJpegFile(file);
    if (startsWith(kPng))
        return gfx::readPng(file);
    return decodeWithQtModule(file);
}

std::optional<gfx::PictureSource> openSource(const std::string& path,
                                             std::optional<gfx::PictureSourceKind> from, int& exitCode) {
    gfx::PictureSourceResult opened;
    if (isStandardStream(path)) {
        InputBytes input = readInput(path, gfx::kMaxSourceFileSize);
        if (!input.ok()) {
            exitCode = inputError(inputName(path), input.error);
            return std::nullopt;
        }
        if (input.truncated) {
            exitCode = inputError(inputName(path), gfx::PictureMessages::kFileTooLarge);
            return std::nullopt;
        }
        opened = gfx::PictureSource::fromBytes(std::move(input.bytes), from);
    } else {
        opened = gfx::PictureSource::open(path, from);
    }
    if (!opened.ok()) {
        exitCode = inputError(inputName(path), opened.error, opened.detail);
        return std::nullopt;
    }
    return std::move(opened.source);
}

} // namespace

int runPicturesCommand(const std::vector<std::string>& args) {
    const Arguments parsed = parseArguments(args);
    if (!parsed.problem.empty())
        return usageError(kPicturesUsage, parsed.problem);
    if (parsed.positional.size() != 1)
        return usageError(kPicturesUsage);

    const std::string& path = parsed.positional[0];
    int exitCode = kExitSuccess;
    const std::optional<gfx::PictureSource> source = openSource(path, parsed.from, exitCode);
    if (!source)
        return exitCode;
    const gfx::PictureListResult listed = source->list(mapPictureDecoders());
    if (!listed.ok())
        return inputError(inputName(path), listed.error, listed.detail);
    // A picture file that turns out unreadable is a failure, not a listing with a gap.
    if (source->kind() == gfx::PictureSourceKind::PictureFile && !listed.pictures.empty() &&
        !listed.pictures[0].error.empty())
        return inputError(inputName(path), gfx::PictureMessages::kPictureNotFound, listed.pictures[0].error);
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
    if (std::fflush(stdout) != 0)
        return inputError("standard output", "sorry, the list could not be written to standard output");
    return kExitSuccess;
}

int runMapCommand(const std::vector<std::string>& args) {
    const Arguments parsed = parseArguments(args);
    if (!parsed.problem.empty())
        return usageError(kMapUsage, parsed.problem);
    if (parsed.positional.size() != 2 && parsed.positional.size() != 3)
        return usageError(kMapUsage);

    std::optional<int> id;
    if (parsed.positional.size() == 3) {
        const std::string& text = parsed.positional[1];
        int value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size())
            return usageError(kMapUsage, "the picture ID must be a whole number, not '" + text + "'");
        id = value;
    }
    const std::string& path = parsed.positional[0];
    const std::string& out = parsed.positional.back();

    int exitCode = kExitSuccess;
    std::optional<gfx::PictureSource> source = openSource(path, parsed.from, exitCode);
    if (!source)
        return exitCode;
    if (!id && source->kind() != gfx::PictureSourceKind::PictureFile)
        return usageError(kMapUsage, "a picture ID is needed for a 'UI' or 'Intrface.brm' source");

    const gfx::PictureResult picture = source->picture(id.value_or(0), mapPictureDecoders());
    if (!picture.ok())
        return inputError(inputName(path), picture.error, picture.detail);
    // The source's bytes are done with: their memory serves the PNG file.
    source.reset();
    std::string error;
    if (!writeMapPng(picture.image, out, error))
        return inputError(outputName(out), error);
    return kExitSuccess;
}

gfx::PictureDecoders mapPictureDecoders() {
    gfx::PictureDecoders decoders;
#if MQ_IMAGE_LIBRARIES // FreeType; the Windows cross build draws pictures without their text
    decoders.pict.textRenderer = gfx::freeTypeTextRenderer();
#endif
    decoders.pict.jpegDecoder = gfx::decodeJpeg;
    decoders.foreignDecoder = decodeForeignFile;
    return decoders;
}

bool writeMapPng(const gfx::RgbImage& image, const std::string& path, std::string& error) {
    const gfx::PngBytes png = gfx::encodePng(image);
    if (!png.ok()) {
        error = "sorry, the picture could not be encoded as PNG: " + png.error;
        return false;
    }
    error = writeOutput(path,
                        std::string_view(reinterpret_cast<const char*>(png.bytes.data()), png.bytes.size()));
    return error.empty();
}

const char* const kPicturesHelp =
    "  pictures SOURCE [--from ui|intrface|picture]\n"
    "      List the map pictures of SOURCE, one line each: ID and width x height (\"-\" for the\n"
    "      single picture of a picture file). SOURCE is the game's 'UI' file (its resource fork\n"
    "      as MacBinary, BinHex, AppleSingle/AppleDouble, a bare fork, a native fork or a sidecar\n"
    "      such as ._UI), the 'Intrface.brm' container (ID = 1000 + picture index) or a picture\n"
    "      file (PICT, TGA, PNG, JPEG, BMP, GIF...). The kind is told from the bytes; --from\n"
    "      forces it. SOURCE may be - for standard input.\n";

const char* const kMapHelp =
    "  map SOURCE [ID] OUT.png [--from ui|intrface|picture]\n"
    "      Write picture ID of SOURCE as a PNG file (the ID is needed for 'UI' and\n"
    "      'Intrface.brm' sources). SOURCE may be - for standard input, OUT.png - for standard\n"
    "      output.\n";

} // namespace mqtool
