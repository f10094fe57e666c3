#include "graphics/core/RgbImage.h"
