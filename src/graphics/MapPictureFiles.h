#pragma once

#include "ovdata/OvDataRules.h"

#include <QImage>
#include <QSize>
#include <QString>

// A map picture read from a file, or the one message the user is shown instead.
struct MapPicture {
    QImage image;
    QString message;
    // For the two game files: whether the file should be forgotten, so that the next read asks
    // for it again. A container that lacks one picture is kept; a 'UI' file is forgotten on every
    // failure, so a wrong 'UI' never sticks.
    bool forgetFile = false;

    bool ok() const { return message.isEmpty() && !image.isNull(); }
};

// The three sources of a map picture, without any dialog: the editing window chooses the file and
// shows the message; these functions only read. Every read is bounded by the file's real size.
class MapPictureFiles {
public:
    // The game's strategic map is 314 x 491; the canvas never grows beyond it.
    static constexpr int kMaxCanvasWidth = ov::rules::kMapWidth;
    static constexpr int kMaxCanvasHeight = ov::rules::kMapHeight;

    // PICT resource `id` from the resource fork that belongs to `path`, in whatever form it reached
    // this machine (sidecar, AppleDouble, MacBinary, BinHex, a bare fork...). Every failure forgets
    // the file.
    static MapPicture readUiPicture(const QString& path, int id);

    // Picture `id` - 1000 of the PC container 'Intrface.brm'. An unreadable or empty file is
    // forgotten; a picture the file does not hold, or cannot be made, keeps it.
    static MapPicture readIntrfacePicture(const QString& path, int id);

    // A picture file of its own: PICT and TGA through our decoders, everything else through Qt's
    // image plugins.
    static MapPicture readPictureFile(const QString& path);

    // The size of the map canvas for a picture of `picture` size.
    static QSize canvasSizeFor(QSize picture);
};
