#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gfx {

// How a resource fork was carried in a file's bytes.
enum class ForkWrapping {
    None, // not a fork container we know
    AppleSingle,
    AppleDouble,
    MacBinary1,
    MacBinary2,
    MacBinary3,
    BinHex4,
    BareFork, // the bytes are the fork itself
};

const char* forkWrappingName(ForkWrapping wrapping);

// The outcome of looking at a file's bytes as a fork carrier. `wrapping` names the format that was
// recognised; `fork` is empty when that format holds no resource fork; `problem` is set when the
// format was recognised but its contents are damaged (bad CRC, fork past the end), in which case
// `fork` is empty too.
struct UnwrappedFork {
    ForkWrapping wrapping = ForkWrapping::None;
    std::vector<std::uint8_t> fork;
    std::string problem;

    bool recognised() const { return wrapping != ForkWrapping::None; }
    bool hasFork() const { return !fork.empty(); }
};

// Tells the fork carriers apart by their bytes, never by a file name, and takes the fork out.
// Order: AppleSingle/AppleDouble (magic), BinHex 4.0 (text), MacBinary III, II, I (header rules),
// then a bare fork whose header and map parse.
class ForkUnwrapper {
public:
    static UnwrappedFork unwrap(std::span<const std::uint8_t> bytes);

    // One format each; a result with wrapping None means "not this format".
    static UnwrappedFork unwrapAppleSingle(std::span<const std::uint8_t> bytes);
    static UnwrappedFork unwrapMacBinary(std::span<const std::uint8_t> bytes);
    static UnwrappedFork unwrapBinHex(std::span<const std::uint8_t> bytes);
    static UnwrappedFork unwrapBareFork(std::span<const std::uint8_t> bytes);
};

} // namespace gfx
