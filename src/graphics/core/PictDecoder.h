#pragma once

#include "graphics/core/PictText.h"
#include "graphics/core/RgbImage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace gfx {

// Decodes QuickDraw pictures (PICT version 1, 2 and extended 2) to RGB, drawing what QuickDraw
// would: bitmaps (BitsRect/BitsRgn, PackBitsRect/PackBitsRgn, DirectBitsRect/DirectBitsRgn,
// QuickTime images through quicktime/QuickTimeCodecs.h), lines, rectangles, rounded rectangles, ovals, arcs,
// polygons and regions with their pens, patterns, colours and transfer modes, the clip region, and text
// through the caller's text renderer. Comments and reserved opcodes are skipped by their length rules. Like a
// Mac with QuickTime, a decoded QuickTime image hides the fallback drawing recorded after it for Macs without
// QuickTime ("QuickTime and a ... decompressor are needed to see this picture"); an image that cannot be
// decoded fails the whole picture with its codec's message instead. Everything lands on a white canvas that
// covers the picture's coordinate space (the picture frame, or for extended version 2 the header's source
// rectangle at its native resolution).

struct PictOptions {
    // Decodes a complete JPEG stream (FF D8 ...). The editor and the tool pass gfx::decodeJpeg
    // (JpegDecoder.h). Empty: a picture that holds JPEG data fails with a message.
    std::function<ImageResult(std::span<const std::uint8_t> jpeg)> jpegDecoder;

    // Draws text runs (the Qt glue and the tool pass font-based ones). Empty: text is not drawn.
    PictTextRenderer textRenderer;
};

struct PictInfo {
    int width = 0; // canvas size in pixels (what decodePict returns)
    int height = 0;
    int version = 0; // 1 or 2
    bool extendedVersion2 = false;
    double hRes = 72.0; // dots per inch of the canvas (72 unless extended version 2 says otherwise)
    double vRes = 72.0;
    std::size_t pictureOffset = 0; // 512 when a file header precedes the picture record, else 0
};

struct PictInfoResult {
    PictInfo info;
    std::string error;
    bool ok() const { return error.empty(); }
};

// A PICT resource: the picture record starts at byte 0. A resource that nevertheless carries the
// 512-byte file header is recognised too.
ImageResult decodePict(std::span<const std::uint8_t> data, const PictOptions& options = {});

// A PICT file: normally a 512-byte application header, then the picture record. Files without
// the header are recognised by where the version opcode sits.
ImageResult decodePictFile(std::span<const std::uint8_t> data, const PictOptions& options = {});

// Size and version from the picture header alone, without decoding pixels. Cheap: reads at most
// the first few hundred bytes.
PictInfoResult readPictInfo(std::span<const std::uint8_t> data);     // resource layout
PictInfoResult readPictFileInfo(std::span<const std::uint8_t> data); // file layout

} // namespace gfx
