#pragma once

// Models for the check tests: the game's own shape, with no finding at all.

#include "ovdata/OvDataChecks.h"
#include "ovdata/OvDataDiff.h"
#include "ovdata/OvDataModel.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace checktest {

// Swaps two sectors with everything below them.
inline void swapSectors(ov::OvDataModel& m, int a, int b) {
    const auto swap = [a, b](auto&... perSector) { (std::swap(perSector[a], perSector[b]), ...); };
    swap(m.SectorID, m.SectorName, m.SectorXY, m.SectorNumberOfOps, m.OpsID, m.OpsName, m.OpsXY,
         m.OpsNumberOfBattles, m.BatID, m.BatName, m.BatXY, m.BatTail);
}

// OvData0 as the game has it: sectors 1, 2, 3 with 4, 4 and 3 ops of 2 battles each, IDs as
// renumbering gives them, every rectangle set and on the map, picture 1013.
inline ov::OvDataModel overview() {
    ov::OvDataModel m;
    m.InitProperties();
    m.OvResourceID = 1013;
    m.OvNumberOfSectors = 3;
    const int ops[] = {4, 4, 3};
    for (int s = 0; s < 3; ++s) {
        m.SectorID[s] = s + 1;
        m.SectorName[s] = "Sector " + std::to_string(s + 1);
        m.SectorXY[s] = {10 + s * 90, 10, 90 + s * 90, 480};
        m.SectorNumberOfOps[s] = ops[s];
        for (int o = 0; o < ops[s]; ++o) {
            m.OpsID[s][o] = m.SectorID[s] * 10 + o;
            m.OpsName[s][o] = "Op " + std::to_string(m.OpsID[s][o]);
            m.OpsXY[s][o] = {12 + s * 90, 12 + o * 100, 88 + s * 90, 100 + o * 100};
            m.OpsNumberOfBattles[s][o] = 2;
            for (int b = 0; b < 2; ++b) {
                m.BatID[s][o][b] = m.OpsID[s][o] * 10 + b;
                m.BatName[s][o][b] = "Battle " + std::to_string(m.BatID[s][o][b]);
                m.BatXY[s][o][b] = {15 + s * 90 + b * 30, 15 + o * 100, 40 + s * 90 + b * 30, 50 + o * 100};
                m.BatTail[s][o][b] = std::string{1, 0, static_cast<char>(b)};
            }
        }
    }
    return m;
}

// OvDataN (N = 1..3) as the game has it: OvData0's sector N alone, on its own map picture.
inline ov::OvDataModel sectorFile(int n) {
    ov::OvDataModel m = overview();
    swapSectors(m, 0, n - 1);
    m.OvNumberOfSectors = 1;
    m.OvResourceID = 1013 + n;
    return m;
}

// "code@path" of every finding, in the engine's order, for compact expectations.
inline std::vector<std::string> codes(const std::vector<ov::Finding>& findings) {
    std::vector<std::string> out;
    for (const ov::Finding& f : findings)
        out.push_back(std::string(f.code) + "@" +
                      (f.where.file >= 0 ? std::to_string(f.where.file) + ":" : "") +
                      ov::idPathText(f.where));
    return out;
}

// DifferenceLine() of every difference from a to b.
inline std::vector<std::string> diffLines(const ov::OvDataModel& a, const ov::OvDataModel& b) {
    std::vector<std::string> out;
    for (const ov::Difference& d : ov::DiffModels(a, b))
        out.push_back(ov::DifferenceLine(d));
    return out;
}

// A table case's name as a test name: letters and digits, everything else "_".
template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& param) {
    std::string name;
    for (const char* p = param.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

} // namespace checktest
