#pragma once
// The largest legal model (11 x 11 x 11 battles) that several benchmarks measure: names as long as
// a modder's, IDs as renumbering gives them, random rectangles inside a `width` x `height` area
// (make it larger than the map to get rectangles outside it and reversed ones).
#include "ovdata/OvDataModel.h"

#include <random>
#include <string>

namespace bench {

inline ov::OvDataModel largestModel(std::uint32_t seed, std::uint32_t width = 314,
                                    std::uint32_t height = 491) {
    ov::OvDataModel m;
    m.InitProperties();
    std::mt19937 rng(seed);
    m.OvResourceID = 1013;
    m.OvNumberOfSectors = ov::kCapacity;
    const auto name = [&rng](const char* stem) {
        return std::string(stem) + " " + std::to_string(rng() % 100000) + " of the long march";
    };
    const auto rect = [&rng, width, height] {
        return ov::Rect{static_cast<std::int32_t>(rng() % width), static_cast<std::int32_t>(rng() % height),
                        static_cast<std::int32_t>(rng() % width), static_cast<std::int32_t>(rng() % height)};
    };
    for (int s = 0; s < ov::kCapacity; ++s) {
        m.SectorID[s] = s + 1;
        m.SectorName[s] = name("Sector");
        m.SectorXY[s] = rect();
        m.SectorNumberOfOps[s] = ov::kCapacity;
        for (int o = 0; o < ov::kCapacity; ++o) {
            m.OpsID[s][o] = m.SectorID[s] * 10 + o;
            m.OpsName[s][o] = name("Operation");
            m.OpsXY[s][o] = rect();
            m.OpsNumberOfBattles[s][o] = ov::kCapacity;
            for (int b = 0; b < ov::kCapacity; ++b) {
                m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
                m.BatName[s][o][b] = name("Battle");
                m.BatXY[s][o][b] = rect();
                m.BatTail[s][o][b] = std::string{0, static_cast<char>(b & 1), 1};
            }
        }
    }
    return m;
}

} // namespace bench
