#pragma once

#include "graphics/core/ByteReader.h"

#include <algorithm>
#include <cstdint>

namespace gfx {

// A QuickDraw rectangle: stored as four big-endian s16 in the order top, left, bottom, right.
// Coordinates may be negative; bottom/right are exclusive. Held as int so differences of two
// s16 values cannot overflow.
struct PictRect {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    static PictRect read(ByteReader& reader) {
        PictRect r;
        r.top = reader.s16be();
        r.left = reader.s16be();
        r.bottom = reader.s16be();
        r.right = reader.s16be();
        return r;
    }

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }

    PictRect intersected(const PictRect& o) const {
        PictRect r{std::max(top, o.top), std::max(left, o.left), std::min(bottom, o.bottom),
                   std::min(right, o.right)};
        if (r.isEmpty())
            return PictRect{};
        return r;
    }

    bool operator==(const PictRect&) const = default;
};

} // namespace gfx
