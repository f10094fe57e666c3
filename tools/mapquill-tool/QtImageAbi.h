#pragma once

// The plain C interface between mapquill-tool and its Qt image module (mapquill-qtimage), the one
// part of the tool that uses Qt. The tool loads the module only when a picture file is in a
// format its own libraries do not read (GIF, BMP, WebP, TIFF...), so the common commands never
// load Qt. C types only: the two sides need not share a compiler's C++ library.

#include <cstddef>

extern "C" {

// Bumped whenever the functions below change; the tool refuses a module of another version.
inline constexpr int kMapquillQtImageAbi = 1;

// Called once by the module with the picture's size; returns width * height * 3 bytes for the
// RGB rows (top to bottom, no padding), or null when that memory cannot be had.
typedef unsigned char* (*MapquillQtImageAllocate)(void* context, int width, int height);

// int mapquill_qtimage_abi(void): kMapquillQtImageAbi.
typedef int (*MapquillQtImageAbiFunction)(void);

// int mapquill_qtimage_decode(bytes, size, allocate, context, error, errorSize): reads a picture
// file's bytes with Qt (orientation applied, alpha dropped) into the buffer `allocate` returns.
// 1 on success; 0 with a reason in `error` (always zero-terminated) otherwise.
typedef int (*MapquillQtImageDecodeFunction)(const unsigned char* bytes, std::size_t size,
                                             MapquillQtImageAllocate allocate, void* context, char* error,
                                             std::size_t errorSize);
}
