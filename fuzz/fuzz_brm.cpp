// Arbitrary bytes as an 'Intrface.brm' container: the directory, listing and decoding of every
// picture slot the first byte selects must stay within the input.
#include "graphics/core/BrmContainer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    (void)gfx::BrmContainer::looksLikeContainer(input);
    const gfx::BrmListResult listed = gfx::BrmContainer::list(input);
    if (listed.entries.size() > 100)
        std::abort();
    const int index = size > 0 ? static_cast<int>(data[size - 1]) - 20 : 0; // also below 0 and past 100
    for (int i : {index, 0, 13}) {
        const gfx::ImageResult result = gfx::BrmContainer::decodeIndex(input, i);
        if (result.ok() && result.image.pixels.size() * 2 > size * 3)
            std::abort(); // more pixels than the file holds words for
        if (!result.ok() && result.error.empty())
            std::abort();
    }
    return 0;
}
