#pragma once

#include "graphics/core/RgbImage.h"

#include <QImage>

#include <cstring>

// Wraps a decoded picture in a QImage (a deep copy in QImage's own RGB888 format).
QImage toQImage(const gfx::RgbImage& image);
