#include "RenderCommand.h"

#include "CheckCommands.h"
#include "CommandLine.h"
#include "OvDataCommands.h"
#include "PictureCommands.h"
#include "graphics/core/PictureSource.h"
#include "ovdata/OvDataRules.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>

namespace mqtool {

namespace {

constexpr const char* kRenderUsage = "render OVDATA SOURCE [ID] OUT.png [--from ui|intrface|picture]";

int usage(const std::string& why = {}) {
    if (!why.empty())
        std::fprintf(stderr, "mapquill-tool: %s\n", why.c_str());
    std::fprintf(stderr, "usage: mapquill-tool %s\n(see mapquill-tool --help)\n", kRenderUsage);
    return kExitUsage;
}

int refuse(const std::string& message, const std::string& detail = {}) {
    std::fprintf(stderr, "mapquill-tool: %s\n", message.c_str());
    if (!detail.empty())
        std::fprintf(stderr, "mapquill-tool: (%s)\n", detail.c_str());
    return kExitBadInput;
}

int used(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, ov::kCapacity);
}

gfx::MapMark mark(const ov::Rect& r) {
    return {r[0], r[1], r[2], r[3], false};
}

} // namespace

std::vector<gfx::MapMark> allEntryMarks(const ov::OvDataModel& m) {
    std::vector<gfx::MapMark> marks;
    for (int s = 0; s < used(m.OvNumberOfSectors); ++s) {
        marks.push_back(mark(m.SectorXY[s]));
        for (int o = 0; o < used(m.SectorNumberOfOps[s]); ++o) {
            marks.push_back(mark(m.OpsXY[s][o]));
            for (int b = 0; b < used(m.OpsNumberOfBattles[s][o]); ++b)
                marks.push_back(mark(m.BatXY[s][o][b]));
        }
    }
    return marks;
}

gfx::Rgb16Image renderReviewPicture(const ov::OvDataModel& model, const gfx::RgbImage& map) {
    const std::vector<gfx::MapMark> marks = allEntryMarks(model);
    return gfx::composeMap(&map, std::min(map.width, ov::rules::kMapWidth),
                           std::min(map.height, ov::rules::kMapHeight), marks);
}

int runRenderCommand(const std::vector<std::string>& args) {
    const CommandLine line = splitCommandLine(args, {"--from"});
    if (!line.ok())
        return usage(line.problem == "the option --from needs a value"
                         ? "--from needs ui, intrface or picture"
                         : line.problem);
    const std::vector<std::string>& positional = line.operands;
    std::optional<gfx::PictureSourceKind> from;
    if (const std::optional<std::string> kind = line.option("--from")) {
        from = gfx::PictureSource::kindFromName(*kind);
        if (!from)
            return usage("--from needs ui, intrface or picture, not '" + *kind + "'");
    }
    if (positional.size() != 3 && positional.size() != 4)
        return usage();

    std::optional<int> id;
    if (positional.size() == 4) {
        const std::string& text = positional[2];
        int value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size())
            return usage("the picture ID must be a whole number, not '" + text + "'");
        id = value;
    }

    std::string message;
    const std::unique_ptr<ov::OvDataModel> model = loadOvData(positional[0], message);
    if (!model)
        return inputError(inputName(positional[0]), message);
    gfx::PictureSourceResult opened = gfx::PictureSource::open(positional[1], from);
    if (!opened.ok())
        return inputError(positional[1], opened.error, opened.detail);
    // Without an ID, the picture the file itself names, as the editor loads it.
    const gfx::PictureResult picture =
        opened.source->picture(id.value_or(model->OvResourceID), mapPictureDecoders());
    if (!picture.ok())
        return inputError(positional[1], picture.error, picture.detail);

    const gfx::RgbImage composed = gfx::toRgbImage(renderReviewPicture(*model, picture.image));
    if (composed.isNull())
        return refuse("sorry, the picture is empty");
    if (!writeMapPng(composed, positional.back(), message))
        return inputError(outputName(positional.back()), message);
    return kExitSuccess;
}

const char* const kRenderHelp =
    "  render OVDATA SOURCE [ID] OUT.png [--from ui|intrface|picture]\n"
    "      Write the map with the rectangles of every entry of OVDATA drawn exactly as the\n"
    "      editor draws them when every row is View-ticked and none selected, as a PNG\n"
    "      file for a review. The picture is ID from SOURCE (as for map); without ID the\n"
    "      picture OVDATA names. Like the editor's map, at most 314 x 491 pixels.\n";

} // namespace mqtool
