#include "graphics/core/ForkFinder.h"

#include "graphics/core/PictureMessages.h"
#include "graphics/core/SourceFile.h"

namespace gfx {

namespace {

#ifdef _WIN32
constexpr std::size_t kNativeLocations = 3;
#else
constexpr std::size_t kNativeLocations = 2;
#endif

// Appends a problem to the detail text shown when nothing usable turns up.
void note(std::string& detail, const std::filesystem::path& where, ForkWrapping wrapping,
          const std::string& why) {
    if (!detail.empty())
        detail += "; ";
    if (!where.empty())
        detail += where.filename().string() + ": ";
    if (wrapping != ForkWrapping::None && wrapping != ForkWrapping::BareFork)
        detail += std::string(forkWrappingName(wrapping)) + ": ";
    detail += why;
}

// Tries one unwrapped carrier; true when it gave a usable fork.
bool accept(UnwrappedFork&& unwrapped, const std::filesystem::path& where, FoundFork& found) {
    if (!unwrapped.problem.empty()) {
        note(found.detail, where, unwrapped.wrapping, unwrapped.problem);
        return false;
    }
    if (!unwrapped.hasFork())
        return false;
    const ForkWrapping wrapping = unwrapped.wrapping;
    ResourceForkResult parsed = ResourceFork::parse(std::move(unwrapped.fork));
    if (!parsed.ok()) {
        note(found.detail, where, wrapping, parsed.error);
        return false;
    }
    found.fork = std::move(parsed.fork);
    found.location = where;
    found.wrapping = wrapping;
    return true;
}

} // namespace

FoundFork ForkFinder::fromBytes(std::span<const std::uint8_t> bytes, const std::filesystem::path& location) {
    FoundFork found;
    if (!accept(ForkUnwrapper::unwrap(bytes), location, found))
        found.error = PictureMessages::kNoResourceFork;
    return found;
}

std::vector<std::filesystem::path> ForkFinder::companionLocations(const std::filesystem::path& file) {
    const std::filesystem::path dir = file.parent_path();
    const std::filesystem::path name = file.filename();
    std::vector<std::filesystem::path> places;
    places.push_back(file / "..namedfork" / "rsrc");
    places.push_back(file / "rsrc");
#ifdef _WIN32
    places.push_back(std::filesystem::path(file.native() + L":AFP_Resource"));
#endif
    places.push_back(dir / ("._" + name.string()));
    places.push_back(dir / ".AppleDouble" / name);
    places.push_back(dir / "__MACOSX" / ("._" + name.string()));
    places.push_back(dir / (name.string() + ".rsrc"));
    return places;
}

FoundFork ForkFinder::find(const std::filesystem::path& file) {
    FoundFork found;
    // A data fork too large to read may still have its resource fork beside it.
    SourceFileResult own = readSourceFile(file);
    const bool tooLarge = own.error == PictureMessages::kFileTooLarge;
    if (!own.ok() && own.error != PictureMessages::kFileEmpty && !tooLarge) {
        found.error = own.error; // a folder or a path that names nothing
        return found;
    }
    if (accept(ForkUnwrapper::unwrap(own.bytes), file, found))
        return found;

    const std::vector<std::filesystem::path> places = companionLocations(file);
    for (std::size_t i = 0; i < places.size(); ++i) {
        SourceFileResult companion = readSourceFile(places[i]);
        if (!companion.ok() || companion.bytes.empty())
            continue;
        const std::vector<std::uint8_t>& bytes = companion.bytes;
        // The native forks (the first entries) hold the fork itself; a sidecar may be any carrier.
        const bool native = i < kNativeLocations;
        UnwrappedFork unwrapped =
            native ? ForkUnwrapper::unwrapBareFork(bytes) : ForkUnwrapper::unwrap(bytes);
        if (native && !unwrapped.recognised())
            note(found.detail, places[i], ForkWrapping::None, "not a resource fork");
        if (accept(std::move(unwrapped), places[i], found))
            return found;
    }
    found.error = tooLarge ? PictureMessages::kFileTooLarge : PictureMessages::kNoResourceFork;
    if (tooLarge)
        found.detail = own.detail + (found.detail.empty() ? "" : "; " + found.detail);
    return found;
}

} // namespace gfx
