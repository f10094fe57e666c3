#pragma once

#include "graphics/core/PictPaint.h"
#include "graphics/core/PictRect.h"
#include "graphics/core/PictRegion.h"
#include "graphics/core/PictShapes.h"
#include "graphics/core/RgbImage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gfx {

// The white canvas a picture's bitmaps are drawn onto. It covers the picture's coordinate space
// (`space`, in picture coordinates); canvas pixel (0,0) is space's top-left. The pixel buffer is
// allocated on the first draw that reaches it, and only after the owner's admission check agrees,
// so a picture whose frame its data cannot pay for costs nothing.
class PictCanvas {
public:
    // Produces source row `row` (0 = first row of the source bounds) as RGB for the columns
    // [col0, col1) relative to the bounds' left edge. Called with non-decreasing rows.
    using RowSource = std::function<void(int row, int col0, int col1, std::uint8_t* rgb)>;

    struct Source {
        PictRect bounds;  // the source image's own coordinates
        PictRect srcRect; // part of bounds to draw
        PictRect dstRect; // where it goes, in picture coordinates; scaled by nearest neighbour
        std::uint16_t mode = 0;
        const PictRegion* mask = nullptr; // in picture coordinates
    };

    // maxWorkPixels caps the total number of pixels written over the whole picture, so pictures
    // that stack bitmap upon bitmap cannot run for minutes.
    PictCanvas(const PictRect& space, std::uint64_t maxWorkPixels);

    // Asked once, before the pixel buffer is allocated; a message refuses the allocation and
    // becomes the failing draw's error.
    using AdmissionCheck = std::function<std::string()>;
    void setAdmissionCheck(AdmissionCheck check) { m_admit = std::move(check); }

    // A canvas that only walks the picture (to find where it ends) never draws or allocates.
    void setMeasureOnly(bool measureOnly) { m_measureOnly = measureOnly; }

    std::string draw(const Source& source, const RowSource& rows);
    void setClip(std::optional<PictRegion> clip) { m_clip = std::move(clip); }

    // Draws the pixels of `shape` (picture coordinates) inside the clip region with `paint`.
    std::string fill(PictShape& shape, const PictPaint& paint);

    // Counts work done outside the canvas (text rendered by the platform) against the same
    // budget; a message when the budget is spent.
    std::string charge(std::uint64_t work);

    // The part of the picture's coordinate space that drawing can still reach: the canvas
    // within the clip region's bounds.
    PictRect reachable() const;

    // Origin: QuickDraw's SetOrigin while recording moves the local coordinates of everything
    // drawn afterwards; a point (h, v) then lands at (h - dh, v - dv) of the picture, and the
    // clip region, held in local coordinates, moves with it.
    void moveOrigin(int dh, int dv);

    bool hasDrawn() const { return m_drawn; }
    RgbImage takeImage() { return std::move(m_image); }

private:
    std::string ensureImage();

    PictRect m_space;
    AdmissionCheck m_admit;
    bool m_measureOnly = false;
    std::uint64_t m_maxWork;
    std::uint64_t m_work = 0;
    std::optional<PictRegion> m_clip;
    RgbImage m_image;
    bool m_drawn = false;
    std::vector<int> m_xmap;
    std::vector<std::uint8_t> m_rowRgb;
    std::vector<int> m_spans;
};

} // namespace gfx
