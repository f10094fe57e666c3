#include "ovdata/OvDataRules.h"

#include "ovdata/Latin1Text.h"

namespace ov::rules {

std::optional<std::int32_t> expectedPictureId(int fileNumber) {
    if (fileNumber >= 0 && fileNumber <= kGameSectors)
        return kOverviewPictureId + fileNumber;
    if (fileNumber == kGameSectors + 1)
        return kFirstExtensionPictureId;
    return std::nullopt;
}

bool isMapPictureId(std::int32_t id) {
    return id >= kFirstPictureId && id <= kLastPictureId && id != kAboutPictureId && id != kPatternPictureId;
}

int gameOpsLimit(int gameSector) {
    if (gameSector >= 1 && gameSector <= kGameSectors)
        return kGameOpsPerSector[static_cast<std::size_t>(gameSector - 1)];
    int largest = 0;
    for (const int ops : kGameOpsPerSector)
        largest = ops > largest ? ops : largest;
    return largest;
}

std::string rangeText(std::int64_t low, std::int64_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

std::string outsideRange(std::int64_t value, std::int64_t low, std::int64_t high) {
    if (value >= low && value <= high)
        return {};
    return std::to_string(value) + " is outside " + rangeText(low, high);
}

std::string coordinateProblem(std::int64_t value) {
    std::string problem = outsideRange(value, kMinCoordinate, kMaxCoordinate);
    return problem.empty() ? problem : "coordinate " + problem;
}

std::string countProblem(std::int64_t count, std::string_view what) {
    if (count >= 0 && count <= kMaxEntriesPerLevel)
        return {};
    return std::to_string(count) + " " + std::string(what) + " are outside " +
           rangeText(0, kMaxEntriesPerLevel);
}

std::string nameBytesProblem(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos)
        return "a name cannot hold the character U+0000";
    if (bytes.size() > kMaxNameBytes)
        return "the name has " + std::to_string(bytes.size()) + " characters; a file holds at most " +
               std::to_string(kMaxNameBytes);
    return {};
}

std::string nameTextProblem(std::string_view utf8) {
    const Latin1Conversion latin1 = utf8ToLatin1(utf8);
    if (!latin1.ok())
        return latin1.error + "; names are ISO-8859-1";
    return nameBytesProblem(latin1.bytes);
}

} // namespace ov::rules
