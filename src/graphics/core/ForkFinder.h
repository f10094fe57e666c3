#pragma once

#include "graphics/core/ForkUnwrapper.h"
#include "graphics/core/ResourceFork.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace gfx {

struct FoundFork {
    std::optional<ResourceFork> fork;
    std::filesystem::path location; // the file the fork was read from
    ForkWrapping wrapping = ForkWrapping::None;
    std::string error;  // the user's message when there is no usable fork
    std::string detail; // what was wrong with the forks that were found but unusable, if any

    bool ok() const { return fork.has_value(); }
};

// Finds the resource fork that belongs to a chosen file, wherever it ended up:
//   1. the file's own bytes: AppleSingle/AppleDouble, BinHex 4.0, MacBinary I/II/III, a bare fork;
//   2. the native fork: "F/..namedfork/rsrc" (macOS), "F/rsrc" (Linux hfs/hfsplus mounts),
//      "F:AFP_Resource" (Windows NTFS stream);
//   3. sidecars: "._F" beside it, ".AppleDouble/F", "__MACOSX/._F", "F.rsrc".
// A fork counts when it is not empty and its map parses; an empty fork is "no fork", as on the Mac
// where every file has one. Only when none of these holds a fork is the answer
// "sorry, file has no resource fork.".
class ForkFinder {
public:
    static FoundFork find(const std::filesystem::path& file);

    // Step 1 alone, for bytes already in memory.
    static FoundFork fromBytes(std::span<const std::uint8_t> bytes,
                               const std::filesystem::path& location = {});

    // The places of steps 2 and 3, in the order they are tried.
    static std::vector<std::filesystem::path> companionLocations(const std::filesystem::path& file);
};

} // namespace gfx
