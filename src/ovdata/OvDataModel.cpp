#include "ovdata/OvDataModel.h"

#include <algorithm>

namespace ov {

void OvDataModel::InitProperties() {
    for (int s = 0; s < kCapacity; ++s) {
        SectorID[s] = 0;
        SectorName[s].clear();
        SectorNumberOfOps[s] = 0;
        SectorXY[s] = {};
        for (int o = 0; o < kCapacity; ++o) {
            OpsID[s][o] = 0;
            OpsName[s][o].clear();
            OpsNumberOfBattles[s][o] = 0;
            OpsXY[s][o] = {};
            for (int b = 0; b < kCapacity; ++b) {
                BatID[s][o][b] = 0;
                BatName[s][o][b].clear();
                BatTail[s][o][b].assign(kTailLength, '\0');
                BatXY[s][o][b] = {};
            }
        }
    }
}

// Counts are clamped to the capacity so that a model built by hand with an out-of-range count
// can never make a walk read outside the arrays.
static int clampCount(std::int32_t n) {
    return std::clamp<std::int32_t>(n, 0, kCapacity);
}

std::int32_t OvDataModel::NumberOfAllOps() const {
    std::int32_t total = 0;
    for (int s = 0; s < clampCount(OvNumberOfSectors); ++s)
        total += clampCount(SectorNumberOfOps[s]);
    return total;
}

std::int32_t OvDataModel::NumberOfAllBattles() const {
    std::int32_t total = 0;
    for (int s = 0; s < clampCount(OvNumberOfSectors); ++s)
        for (int o = 0; o < clampCount(SectorNumberOfOps[s]); ++o)
            total += clampCount(OpsNumberOfBattles[s][o]);
    return total;
}

} // namespace ov
