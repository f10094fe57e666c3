#include "graphics/MapPictureFiles.h"

#include "graphics/QtImageGlue.h"
#include "graphics/core/BrmContainer.h"
#include "graphics/core/ForkFinder.h"
#include "graphics/core/PictDecoder.h"
#include "graphics/core/PictureMessages.h"
#include "graphics/core/PictureSource.h"
#include "graphics/core/SourceFile.h"
#include "graphics/core/TgaDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <vector>

namespace {

namespace Msg = gfx::PictureMessages;

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString text(const std::string& message) {
    return QString::fromStdString(message);
}

MapPicture failure(const QString& message, bool forgetFile) {
    MapPicture result;
    result.message = message;
    result.forgetFile = forgetFile;
    return result;
}

// The decoded pixels become the QImage's own buffer instead of being copied, so a picture costs
// its memory once and not twice; the buffer is freed with the last copy of the image.
QImage adoptImage(gfx::RgbImage&& image) {
    if (image.isNull() || image.pixels.size() < static_cast<std::size_t>(image.width) *
                                                    static_cast<std::size_t>(image.height) * 3u)
        return {};
    auto* pixels = new std::vector<std::uint8_t>(std::move(image.pixels));
    QImage adopted(
        pixels->data(), image.width, image.height, static_cast<qsizetype>(image.width) * 3,
        QImage::Format_RGB888, [](void* owned) { delete static_cast<std::vector<std::uint8_t>*>(owned); },
        pixels);
    if (adopted.isNull())
        delete pixels;
    return adopted;
}

// A decoded image as the canvas's picture; an image that cannot be had counts as "no memory".
MapPicture picture(gfx::RgbImage&& image, const QString& noMemoryMessage, bool forgetFile) {
    MapPicture result;
    result.image = adoptImage(std::move(image));
    if (result.image.isNull())
        return failure(noMemoryMessage, forgetFile);
    return result;
}

} // namespace

MapPicture MapPictureFiles::readUiPicture(const QString& path, int id) {
    if (QFileInfo(path).isDir())
        return failure(QString::fromLatin1(Msg::kSelectSingleFile), true);
    const QString notFound = text(Msg::pictResourceNotFound(id));

    const gfx::FoundFork found = gfx::ForkFinder::find(nativePath(path));
    if (!found.ok()) {
        // A fork that is there but damaged is still "no resource fork" to the user: nothing in it
        // can be read.
        const bool folder = found.error == Msg::kSelectSingleFile;
        const bool tooLarge = found.error == Msg::kFileTooLarge;
        return failure(QString::fromLatin1(folder     ? Msg::kSelectSingleFile
                                           : tooLarge ? Msg::kFileTooLarge
                                                      : Msg::kNoResourceFork),
                       true);
    }
    // Resource IDs are 16-bit; any other number cannot name a resource.
    if (id < std::numeric_limits<std::int16_t>::min() || id > std::numeric_limits<std::int16_t>::max())
        return failure(notFound, true);
    const gfx::ResourceFork::Lookup resource =
        found.fork->find(gfx::ResourceFork::kPict, static_cast<std::int16_t>(id));
    if (!resource.ok())
        return failure(notFound, true);
    gfx::ImageResult decoded = gfx::decodePict(resource.data, qtPictureDecoders().pict);
    if (!decoded.ok())
        return failure(notFound, true);
    return picture(std::move(decoded.image), notFound, true);
}

MapPicture MapPictureFiles::readIntrfacePicture(const QString& path, int id) {
    if (QFileInfo(path).isDir())
        return failure(QString::fromLatin1(Msg::kSelectSingleFile), true);
    const gfx::SourceFileResult file = gfx::readSourceFile(nativePath(path));
    if (!file.ok()) {
        // A folder or too large a file is named as such; whatever else kept the file from being
        // read, the user is told it holds nothing.
        const bool folder = file.error == Msg::kSelectSingleFile;
        const bool tooLarge = file.error == Msg::kFileTooLarge;
        return failure(QString::fromLatin1(folder     ? Msg::kSelectSingleFile
                                           : tooLarge ? Msg::kFileTooLarge
                                                      : Msg::kFileEmpty),
                       true);
    }
    // An ID from a file may be any Int32; one whose index cannot even be computed names no picture.
    if (id < std::numeric_limits<int>::min() + gfx::BrmLayout::kIdBase)
        return failure(QString::fromLatin1(Msg::kPictureNotInFile), false);
    gfx::ImageResult decoded = gfx::BrmContainer::decodeId(file.bytes, id);
    if (!decoded.ok()) {
        const QString message =
            decoded.error.empty() ? QString::fromLatin1(Msg::kMemoryOverflow) : text(decoded.error);
        return failure(message, decoded.error == Msg::kFileEmpty);
    }
    return picture(std::move(decoded.image), QString::fromLatin1(Msg::kMemoryOverflow), false);
}

MapPicture MapPictureFiles::readPictureFile(const QString& path) {
    if (QFileInfo(path).isDir())
        return failure(QString::fromLatin1(Msg::kSelectSingleFile), false);
    const QString notFound = QString::fromLatin1(Msg::kPictureNotFound);
    const gfx::SourceFileResult file = gfx::readSourceFile(nativePath(path));
    if (!file.ok()) {
        const bool folder = file.error == Msg::kSelectSingleFile;
        const bool tooLarge = file.error == Msg::kFileTooLarge;
        return failure(folder     ? QString::fromLatin1(Msg::kSelectSingleFile)
                       : tooLarge ? QString::fromLatin1(Msg::kFileTooLarge)
                                  : notFound,
                       false);
    }

    gfx::ImageResult decoded;
    switch (gfx::PictureSource::sniffPictureFile(file.bytes)) {
    case gfx::PictureFileFormat::Pict:
        decoded = gfx::decodePictFile(file.bytes, qtPictureDecoders().pict);
        break;
    case gfx::PictureFileFormat::Tga:
        decoded = gfx::TgaDecoder::decode(file.bytes);
        break;
    case gfx::PictureFileFormat::Foreign:
        decoded = decodeWithQt(file.bytes);
        if (!decoded.ok()) {
            // Some plugins know their format only by the file's suffix.
            QImageReader reader(path);
            reader.setAutoTransform(true);
            const QImage image = reader.read();
            if (!image.isNull()) {
                MapPicture result;
                result.image = image;
                return result;
            }
        }
        break;
    case gfx::PictureFileFormat::None:
        break;
    }
    if (!decoded.ok())
        return failure(notFound, false);
    return picture(std::move(decoded.image), notFound, false);
}

QSize MapPictureFiles::canvasSizeFor(QSize picture) {
    return {std::min(picture.width(), kMaxCanvasWidth), std::min(picture.height(), kMaxCanvasHeight)};
}
