#pragma once

// Models and fixtures shared by the ovdata and tool tests.

#include "ovdata/OvDataModel.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace ovtest {

inline std::vector<std::uint8_t> readFixture(const std::string& name) {
    std::ifstream in(std::string(MQ_TEST_DATA_DIR) + "/ovdata/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The editor's new-file model for slot 4 with map picture 1018.
inline ov::OvDataModel newSectorFourModel() {
    ov::OvDataModel m;
    m.InitProperties();
    m.OvResourceID = 1018;
    m.OvNumberOfSectors = 1;
    m.SectorID[0] = 4;
    m.SectorName[0] = "<new sector 4>";
    return m;
}

// North (1) > Op A (10) > B1 (100), B2 (101), as in north_one_op_two_battles.ovdata.
inline ov::OvDataModel northModel() {
    ov::OvDataModel m;
    m.InitProperties();
    m.OvResourceID = 1013;
    m.OvNumberOfSectors = 1;
    m.SectorID[0] = 1;
    m.SectorName[0] = "North";
    m.SectorXY[0] = {10, 20, 300, 480};
    m.SectorNumberOfOps[0] = 1;
    m.OpsID[0][0] = 10;
    m.OpsName[0][0] = "Op A";
    m.OpsXY[0][0] = {15, 25, 200, 300};
    m.OpsNumberOfBattles[0][0] = 2;
    m.BatID[0][0][0] = 100;
    m.BatName[0][0][0] = "B1";
    m.BatXY[0][0][0] = {20, 30, 60, 70};
    m.BatTail[0][0][0] = std::string("\x00\x02\x00", 3);
    m.BatID[0][0][1] = 101;
    m.BatName[0][0][1] = "B2";
    m.BatXY[0][0][1] = {-5, 32767, -32768, 0};
    m.BatTail[0][0][1] = std::string("\x01\x00\xff", 3);
    return m;
}

// A legal model: counts in 0..maxCount (or all full), names of 0..49 non-zero bytes, Int16
// coordinates, any Int32 IDs, any tail bytes. Unused slots stay as InitProperties left them,
// so a model read back from the file compares equal. Braced lists keep the draws in order.
inline void fillRandomModel(ov::OvDataModel& m, std::uint32_t seed, int maxCount, bool full = false) {
    std::mt19937 rng(seed);
    const auto count = [&] { return full ? ov::kCapacity : static_cast<int>(rng() % (maxCount + 1)); };
    const auto name = [&] {
        std::string n(rng() % 50, '\0');
        for (char& c : n)
            c = static_cast<char>(1 + rng() % 255);
        return n;
    };
    const auto rect = [&] {
        return ov::Rect{static_cast<std::int16_t>(rng()), static_cast<std::int16_t>(rng()),
                        static_cast<std::int16_t>(rng()), static_cast<std::int16_t>(rng())};
    };
    const auto id = [&] { return static_cast<std::int32_t>(rng()); };
    m.InitProperties();
    m.OvResourceID = id();
    m.OvNumberOfSectors = count();
    for (int s = 0; s < m.OvNumberOfSectors; ++s) {
        std::tie(m.SectorID[s], m.SectorName[s], m.SectorXY[s], m.SectorNumberOfOps[s]) =
            std::tuple{id(), name(), rect(), count()};
        for (int o = 0; o < m.SectorNumberOfOps[s]; ++o) {
            std::tie(m.OpsID[s][o], m.OpsName[s][o], m.OpsXY[s][o], m.OpsNumberOfBattles[s][o]) =
                std::tuple{id(), name(), rect(), count()};
            for (int b = 0; b < m.OpsNumberOfBattles[s][o]; ++b) {
                std::tie(m.BatID[s][o][b], m.BatName[s][o][b], m.BatXY[s][o][b]) =
                    std::tuple{id(), name(), rect()};
                for (char& c : m.BatTail[s][o][b])
                    c = static_cast<char>(rng());
            }
        }
    }
}

} // namespace ovtest
