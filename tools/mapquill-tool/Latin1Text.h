#pragma once

#include "ovdata/Latin1Text.h"

// The tool's JSON names go through the same ISO-8859-1 mapping as the core's messages.
namespace mqtool {
using ov::Latin1Conversion;
using ov::latin1ToUtf8;
using ov::utf8ToLatin1;
} // namespace mqtool
