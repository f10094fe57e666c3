// Feeds arbitrary bytes through every resource-fork carrier and the fork reader: whatever comes
// out must stay inside the input and the fork.
#include "graphics/core/ForkFinder.h"
#include "graphics/core/ForkUnwrapper.h"
#include "graphics/core/ResourceFork.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

void exerciseFork(std::vector<std::uint8_t> bytes) {
    const gfx::ResourceForkResult parsed = gfx::ResourceFork::parse(std::move(bytes));
    if (!parsed.ok())
        return;
    const gfx::ResourceFork& fork = *parsed.fork;
    for (const gfx::ResourceInfo& info : fork.resources(gfx::ResourceFork::kPict)) {
        const auto found = fork.find(gfx::ResourceFork::kPict, info.id);
        if (found.ok() && !found.data.empty()) {
            // Touch both ends so the sanitizer sees any out-of-range span.
            volatile std::uint8_t sink = found.data.front();
            sink = found.data.back();
            (void)sink;
        }
    }
    (void)fork.find(0x53545220u, 128);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    for (auto unwrap : {&gfx::ForkUnwrapper::unwrapAppleSingle, &gfx::ForkUnwrapper::unwrapMacBinary,
                        &gfx::ForkUnwrapper::unwrapBinHex, &gfx::ForkUnwrapper::unwrapBareFork}) {
        gfx::UnwrappedFork result = unwrap(input);
        if (result.hasFork())
            exerciseFork(std::move(result.fork));
    }
    exerciseFork(std::vector<std::uint8_t>(input.begin(), input.end()));
    (void)gfx::ForkFinder::fromBytes(input);
    return 0;
}
