#pragma once

#include "graphics/core/PictureSource.h"
#include "graphics/core/RgbImage.h"

#include <QImage>

#include <cstdint>
#include <span>

// Wraps a decoded picture in a QImage (a deep copy in QImage's own RGB888 format). A null image
// when the picture is empty or no memory is left for the copy.
QImage toQImage(const gfx::RgbImage& image);

// The other way round, for the picture files a user drops or chooses (every format Qt reads).
// Alpha is dropped.
gfx::RgbImage toRgbImage(const QImage& image);

// Decodes any picture format Qt's image plugins read, from bytes; orientation tags are applied.
gfx::ImageResult decodeWithQt(std::span<const std::uint8_t> bytes);

// The decoders the core asks the platform for: JPEG in QuickTime PICTs (the core's libjpeg-turbo
// decoder, the same as the tool's) and foreign files (Qt).
gfx::PictureDecoders qtPictureDecoders();
