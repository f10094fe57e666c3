#pragma once

// Writers for the files the editor reads its map pictures from: QuickDraw pictures (PICT), a
// resource fork holding them, the fork's carriers (MacBinary III, AppleDouble, BinHex 4.0) and
// the game's PC container of 16-bit pictures. Used by the demo-map generator and by the tests,
// which read the output back through the program's own decoders. Standard C++ only.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace demo {

using Bytes = std::vector<std::uint8_t>;

// 8-bit RGB, three bytes a pixel, rows top to bottom.
struct Rgb {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    const std::uint8_t* at(int x, int y) const {
        return pixels.data() +
               (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                   3u;
    }
};

inline void put16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
inline void put32(Bytes& out, std::uint32_t v) {
    put16(out, v >> 16);
    put16(out, v & 0xFFFFu);
}
inline void put32le(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void set16(Bytes& out, std::size_t at, unsigned v) {
    out[at] = static_cast<std::uint8_t>(v >> 8);
    out[at + 1] = static_cast<std::uint8_t>(v);
}
inline void set32(Bytes& out, std::size_t at, std::uint32_t v) {
    set16(out, at, v >> 16);
    set16(out, at + 2, v & 0xFFFFu);
}
inline void putRect(Bytes& out, int top, int left, int bottom, int right) {
    put16(out, static_cast<unsigned>(top));
    put16(out, static_cast<unsigned>(left));
    put16(out, static_cast<unsigned>(bottom));
    put16(out, static_cast<unsigned>(right));
}

// CRC-16/XMODEM (polynomial 0x1021, start 0), as MacBinary and BinHex use it.
inline std::uint16_t crc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc = 0) {
    for (std::size_t i = 0; i < size; ++i) {
        crc = static_cast<std::uint16_t>(crc ^ (static_cast<unsigned>(data[i]) << 8));
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000u) ? (crc << 1) ^ 0x1021u : crc << 1);
    }
    return crc;
}

// Apple's PackBits: literal runs of up to 128 bytes, repeats of 2..128 (3 or more pay off).
inline Bytes packBits(const std::uint8_t* data, std::size_t size) {
    Bytes out;
    std::size_t i = 0;
    while (i < size) {
        std::size_t run = 1;
        while (i + run < size && run < 128 && data[i + run] == data[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(data[i]);
            i += run;
            continue;
        }
        std::size_t start = i;
        std::size_t length = 0;
        while (i < size && length < 128) {
            if (i + 2 < size && data[i] == data[i + 1] && data[i] == data[i + 2])
                break;
            ++i;
            ++length;
        }
        out.push_back(static_cast<std::uint8_t>(length - 1));
        out.insert(out.end(), data + start, data + start + length);
    }
    return out;
}

// An extended version 2 PICT resource (no 512-byte file header) with one 32-bit DirectBitsRect,
// rows packed by component (packType 4), at 72 dpi.
inline Bytes encodePict(const Rgb& image) {
    const int w = image.width;
    const int h = image.height;
    if (w <= 0 || h <= 0 || w > 4000 || h > 4000)
        throw std::invalid_argument("picture size");
    Bytes out;
    put16(out, 0); // picSize: patched below (low 16 bits, as QuickDraw keeps it)
    putRect(out, 0, 0, h, w);
    put16(out, 0x0011);
    put16(out, 0x02FF);
    put16(out, 0x0C00); // HeaderOp, extended version 2
    put16(out, 0xFFFE);
    put16(out, 0);
    put32(out, 0x00480000u);
    put32(out, 0x00480000u);
    putRect(out, 0, 0, h, w);
    put32(out, 0);
    put16(out, 0x001E); // DefHilite
    put16(out, 0x0001); // ClipRgn: the frame
    put16(out, 10);
    putRect(out, 0, 0, h, w);

    put16(out, 0x009A); // DirectBitsRect
    put32(out, 0x000000FFu);
    const unsigned rowBytes = static_cast<unsigned>(w) * 4u;
    put16(out, rowBytes | 0x8000u);
    putRect(out, 0, 0, h, w);
    put16(out, 0);            // pmVersion
    put16(out, 4);            // packType: PackBits by component
    put32(out, 0);            // packSize
    put32(out, 0x00480000u);  // hRes
    put32(out, 0x00480000u);  // vRes
    put16(out, 16);           // pixelType RGBDirect
    put16(out, 32);           // pixelSize
    put16(out, 3);            // cmpCount
    put16(out, 8);            // cmpSize
    put32(out, 0);            // planeBytes
    put32(out, 0);            // pmTable
    put32(out, 0);            // pmReserved
    putRect(out, 0, 0, h, w); // srcRect
    putRect(out, 0, 0, h, w); // dstRect
    put16(out, 0);            // srcCopy
    std::vector<std::uint8_t> planes(static_cast<std::size_t>(w) * 3u);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                planes[static_cast<std::size_t>(c * w + x)] = image.at(x, y)[c];
        const Bytes packed = packBits(planes.data(), planes.size());
        if (rowBytes > 250)
            put16(out, static_cast<unsigned>(packed.size()));
        else
            out.push_back(static_cast<std::uint8_t>(packed.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }
    if (out.size() % 2)
        out.push_back(0);
    put16(out, 0x00FF);
    set16(out, 0, static_cast<unsigned>(out.size() & 0xFFFFu));
    return out;
}

struct Resource {
    std::uint32_t type; // e.g. 'PICT' = 0x50494354
    std::int16_t id;
    std::string name; // empty: unnamed
    Bytes data;
};

// A resource fork with every resource under one type each, in the order given: data area at 256,
// the map right after it.
inline Bytes buildResourceFork(const std::vector<Resource>& resources) {
    std::vector<std::uint32_t> types;
    for (const Resource& r : resources) {
        bool known = false;
        for (std::uint32_t t : types)
            known = known || t == r.type;
        if (!known)
            types.push_back(r.type);
    }
    Bytes data;
    Bytes names;
    Bytes typeList;
    Bytes refs;
    put16(typeList, static_cast<unsigned>(types.size() - 1));
    const std::size_t refBase = 2 + 8 * types.size();
    for (std::uint32_t type : types) {
        std::size_t count = 0;
        for (const Resource& r : resources)
            count += r.type == type;
        put32(typeList, type);
        put16(typeList, static_cast<unsigned>(count - 1));
        put16(typeList, static_cast<unsigned>(refBase + refs.size()));
        for (const Resource& r : resources) {
            if (r.type != type)
                continue;
            put16(refs, static_cast<std::uint16_t>(r.id));
            if (r.name.empty()) {
                put16(refs, 0xFFFF);
            } else {
                put16(refs, static_cast<unsigned>(names.size()));
                names.push_back(static_cast<std::uint8_t>(r.name.size()));
                names.insert(names.end(), r.name.begin(), r.name.end());
            }
            put32(refs, static_cast<std::uint32_t>(data.size()) & 0x00FFFFFFu); // attributes 0
            put32(refs, 0);
            put32(data, static_cast<std::uint32_t>(r.data.size()));
            data.insert(data.end(), r.data.begin(), r.data.end());
        }
    }
    const std::uint32_t dataOffset = 256;
    const std::uint32_t mapOffset = dataOffset + static_cast<std::uint32_t>(data.size());
    const std::uint32_t mapLength =
        static_cast<std::uint32_t>(28 + typeList.size() + refs.size() + names.size());
    Bytes fork;
    put32(fork, dataOffset);
    put32(fork, mapOffset);
    put32(fork, static_cast<std::uint32_t>(data.size()));
    put32(fork, mapLength);
    fork.resize(dataOffset, 0);
    fork.insert(fork.end(), data.begin(), data.end());
    put32(fork, dataOffset); // the map starts with a copy of the header
    put32(fork, mapOffset);
    put32(fork, static_cast<std::uint32_t>(data.size()));
    put32(fork, mapLength);
    put32(fork, 0);  // next map handle
    put16(fork, 0);  // file reference
    put16(fork, 0);  // attributes
    put16(fork, 28); // type list offset from the map start
    put16(fork, static_cast<unsigned>(28 + typeList.size() + refs.size())); // name list offset
    fork.insert(fork.end(), typeList.begin(), typeList.end());
    fork.insert(fork.end(), refs.begin(), refs.end());
    fork.insert(fork.end(), names.begin(), names.end());
    return fork;
}

// MacBinary III: a 128-byte header with CRC, then the data fork and the resource fork, each padded
// to 128 bytes.
inline Bytes wrapMacBinary3(const std::string& fileName, const char type[4], const char creator[4],
                            const Bytes& dataFork, const Bytes& resourceFork) {
    Bytes out(128, 0);
    const std::size_t nameLength = fileName.size() < 63 ? fileName.size() : 63;
    out[1] = static_cast<std::uint8_t>(nameLength);
    for (std::size_t i = 0; i < nameLength; ++i)
        out[2 + i] = static_cast<std::uint8_t>(fileName[i]);
    for (int i = 0; i < 4; ++i) {
        out[65 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(type[i]);
        out[69 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(creator[i]);
    }
    set32(out, 83, static_cast<std::uint32_t>(dataFork.size()));
    set32(out, 87, static_cast<std::uint32_t>(resourceFork.size()));
    set32(out, 91, 0xB5000000u); // creation and modification dates (seconds since 1904)
    set32(out, 95, 0xB5000000u);
    out[102] = 'm';
    out[103] = 'B';
    out[104] = 'I';
    out[105] = 'N';
    out[122] = 130; // written by MacBinary III
    out[123] = 129; // readable by MacBinary II readers
    set16(out, 124, crc16(out.data(), 124));
    auto append = [&out](const Bytes& fork) {
        out.insert(out.end(), fork.begin(), fork.end());
        out.resize((out.size() + 127) / 128 * 128, 0);
    };
    append(dataFork);
    append(resourceFork);
    return out;
}

// The AppleDouble header file ("._NAME" beside NAME): Finder info and the resource fork.
inline Bytes wrapAppleDouble(const char type[4], const char creator[4], const Bytes& resourceFork) {
    Bytes out;
    put32(out, 0x00051607u);
    put32(out, 0x00020000u);
    out.resize(out.size() + 16, 0); // filler
    put16(out, 2);                  // two entries
    const std::uint32_t finderOffset = 26 + 2 * 12;
    const std::uint32_t forkOffset = finderOffset + 32;
    put32(out, 9); // Finder info
    put32(out, finderOffset);
    put32(out, 32);
    put32(out, 2); // resource fork
    put32(out, forkOffset);
    put32(out, static_cast<std::uint32_t>(resourceFork.size()));
    Bytes finder(32, 0);
    for (int i = 0; i < 4; ++i) {
        finder[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(type[i]);
        finder[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(creator[i]);
    }
    out.insert(out.end(), finder.begin(), finder.end());
    out.insert(out.end(), resourceFork.begin(), resourceFork.end());
    return out;
}

// BinHex 4.0 text: header, data fork and resource fork with their CRCs, run-length coded
// (0x90 marks a run), six bits a character, 64 characters a line.
inline std::string wrapBinHex(const std::string& fileName, const char type[4], const char creator[4],
                              const Bytes& dataFork, const Bytes& resourceFork) {
    Bytes plain;
    auto withCrc = [&plain](std::size_t from) {
        const std::uint16_t crc = crc16(plain.data() + from, plain.size() - from);
        put16(plain, crc);
    };
    const std::size_t nameLength = fileName.size() < 63 ? fileName.size() : 63;
    plain.push_back(static_cast<std::uint8_t>(nameLength));
    plain.insert(plain.end(), fileName.begin(), fileName.begin() + static_cast<std::ptrdiff_t>(nameLength));
    plain.push_back(0);
    for (int i = 0; i < 4; ++i)
        plain.push_back(static_cast<std::uint8_t>(type[i]));
    for (int i = 0; i < 4; ++i)
        plain.push_back(static_cast<std::uint8_t>(creator[i]));
    put16(plain, 0); // Finder flags
    put32(plain, static_cast<std::uint32_t>(dataFork.size()));
    put32(plain, static_cast<std::uint32_t>(resourceFork.size()));
    withCrc(0);
    std::size_t from = plain.size();
    plain.insert(plain.end(), dataFork.begin(), dataFork.end());
    withCrc(from);
    from = plain.size();
    plain.insert(plain.end(), resourceFork.begin(), resourceFork.end());
    withCrc(from);

    Bytes coded;
    for (std::size_t i = 0; i < plain.size();) {
        const std::uint8_t byte = plain[i];
        std::size_t run = 1;
        while (i + run < plain.size() && run < 255 && plain[i + run] == byte)
            ++run;
        coded.push_back(byte);
        if (byte == 0x90)
            coded.push_back(0);
        if (run >= 3) {
            coded.push_back(0x90);
            coded.push_back(static_cast<std::uint8_t>(run));
            i += run;
        } else {
            ++i;
        }
    }

    static const char alphabet[] = "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";
    std::string text = "(This file must be converted with BinHex 4.0)\n:";
    std::size_t column = 1;
    auto emit = [&](unsigned sixBits) {
        text.push_back(alphabet[sixBits & 63u]);
        if (++column == 64) {
            text.push_back('\n');
            column = 0;
        }
    };
    std::size_t i = 0;
    for (; i + 3 <= coded.size(); i += 3) {
        const unsigned v = (static_cast<unsigned>(coded[i]) << 16) |
                           (static_cast<unsigned>(coded[i + 1]) << 8) | coded[i + 2];
        emit(v >> 18);
        emit(v >> 12);
        emit(v >> 6);
        emit(v);
    }
    if (i < coded.size()) {
        const std::size_t rest = coded.size() - i;
        unsigned v = static_cast<unsigned>(coded[i]) << 16;
        if (rest == 2)
            v |= static_cast<unsigned>(coded[i + 1]) << 8;
        emit(v >> 18);
        emit(v >> 12);
        if (rest == 2)
            emit(v >> 6);
    }
    text += ":\n";
    return text;
}

// The game's PC container: a count, three tables of 100 offsets, widths and heights, then the
// pixel blocks, 5-6-5 words little-endian (red bits 15-11, green 10-5, blue 4-0). Slots without
// a picture (an empty image) get offset, width and height 0.
inline Bytes buildBrmContainer(const std::vector<Rgb>& pictures) {
    constexpr std::size_t kHeader = 1204;
    if (pictures.size() > 100)
        throw std::invalid_argument("at most 100 pictures");
    Bytes out(kHeader, 0);
    auto setLe = [&out](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    setLe(0, static_cast<std::uint32_t>(pictures.size()));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const Rgb& picture = pictures[i];
        if (picture.width <= 0 || picture.height <= 0)
            continue;
        setLe(4 + 4 * i, static_cast<std::uint32_t>(out.size()));
        setLe(404 + 4 * i, static_cast<std::uint32_t>(picture.width));
        setLe(804 + 4 * i, static_cast<std::uint32_t>(picture.height));
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const std::uint8_t* p = picture.at(x, y);
                const unsigned word = ((p[0] & 0xF8u) << 8) | ((p[1] & 0xFCu) << 3) | (p[2] >> 3);
                out.push_back(static_cast<std::uint8_t>(word));
                out.push_back(static_cast<std::uint8_t>(word >> 8));
            }
    }
    return out;
}

} // namespace demo
