#pragma once

#include "graphics/core/PictureSource.h"
#include "graphics/core/RgbImage.h"

#include <string>
#include <vector>

namespace mqtool {

// The tool's picture subcommands: "pictures" lists the map pictures of a source, "map" writes one
// as PNG. Each takes the words after its subcommand name and returns the exit code (0 success,
// 1 bad input with the message on stderr, 2 wrong usage).
int runPicturesCommand(const std::vector<std::string>& args);
int runMapCommand(const std::vector<std::string>& args);

extern const char* const kPicturesHelp;
extern const char* const kMapHelp;

// What "map" decodes and writes with, for the other commands that write map pictures. OUT "-" is
// standard output; `error` names the file and the reason.
gfx::PictureDecoders mapPictureDecoders();
bool writeMapPng(const gfx::RgbImage& image, const std::string& path, std::string& error);

} // namespace mqtool
