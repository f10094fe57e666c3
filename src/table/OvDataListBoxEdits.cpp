#include "table/OvDataListBox.h"

#include <algorithm>

// The structural edits work on the model alone; the window reads the table back before and
// rebuilds it afterwards.

namespace {
int clampCount(std::int32_t n) {
    return std::clamp<std::int32_t>(n, 0, ov::kCapacity);
}
bool inAddRange(int index) {
    return index >= 0 && index < ov::kAddLimit;
}
} // namespace

bool OvDataListBox::AddSector() {
    const int n = OvNumberOfSectors;
    if (n < 0 || n >= ov::kAddLimit)
        return false;
    OvNumberOfSectors = n + 1;
    // A new sector's ID follows its position, not the first ID chosen for the file.
    SectorID[n] = n + 1;
    SectorNumberOfOps[n] = 0;
    SectorName[n] = "<enter new sector name>";
    return true;
}

int OvDataListBox::AddOps(int s) {
    // An ops can only be added to a sector in use: one added past the last sector would be
    // invisible and never saved.
    if (!inAddRange(s) || s >= OvNumberOfSectors)
        return -1;
    const int o = SectorNumberOfOps[s];
    if (o < 0 || o >= ov::kAddLimit)
        return -1;
    SectorNumberOfOps[s] = o + 1;
    OpsID[s][o] = SectorID[s] * 10 + o;
    OpsName[s][o] = "<enter new ops name";
    OpsNumberOfBattles[s][o] = 0;
    return o;
}

int OvDataListBox::AddBattle(int s, int o) {
    if (!inAddRange(s) || !inAddRange(o) || s >= OvNumberOfSectors || o >= SectorNumberOfOps[s])
        return -1;
    const int b = OpsNumberOfBattles[s][o];
    if (b < 0 || b >= ov::kAddLimit)
        return -1;
    OpsNumberOfBattles[s][o] = b + 1;
    BatID[s][o][b] = OpsID[s][o] * 10 + b;
    BatName[s][o][b] = "<enter new battle name";
    BatTail[s][o][b] = std::string(ov::kTailLength, '\0');
    return b;
}

bool OvDataListBox::DeleteBattle(int s, int o, int b) {
    if (s < 0 || s >= clampCount(OvNumberOfSectors) || o < 0 || o >= clampCount(SectorNumberOfOps[s]))
        return false;
    const int count = clampCount(OpsNumberOfBattles[s][o]);
    if (b < 0 || b >= count)
        return false;
    for (int i = b; i < count - 1; ++i) {
        BatName[s][o][i] = BatName[s][o][i + 1];
        BatXY[s][o][i] = BatXY[s][o][i + 1];
        BatTail[s][o][i] = BatTail[s][o][i + 1];
    }
    OpsNumberOfBattles[s][o] = count - 1;
    return true;
}

bool OvDataListBox::DeleteOps(int s, int o) {
    if (s < 0 || s >= clampCount(OvNumberOfSectors))
        return false;
    const int count = clampCount(SectorNumberOfOps[s]);
    if (o < 0 || o >= count)
        return false;
    for (int i = o; i < count - 1; ++i) {
        OpsName[s][i] = OpsName[s][i + 1];
        OpsXY[s][i] = OpsXY[s][i + 1];
        // The ops keeps the ID of its new position; its battles are renumbered under it.
        for (int b = 0; b < clampCount(OpsNumberOfBattles[s][i + 1]); ++b) {
            BatID[s][i][b] = OpsID[s][i] * 10 + b;
            BatName[s][i][b] = BatName[s][i + 1][b];
            BatXY[s][i][b] = BatXY[s][i + 1][b];
            BatTail[s][i][b] = BatTail[s][i + 1][b];
        }
        OpsNumberOfBattles[s][i] = OpsNumberOfBattles[s][i + 1];
    }
    SectorNumberOfOps[s] = count - 1;
    return true;
}

bool OvDataListBox::DeleteSector(int s) {
    const int count = clampCount(OvNumberOfSectors);
    if (s < 0 || s >= count)
        return false;
    for (int i = s; i < count - 1; ++i) {
        // Ops IDs of a moved sector come from its new position (position + 1), not from its
        // SectorID; with the overview's usual numbering (first ID 1) the two agree.
        for (int o = 0; o < clampCount(SectorNumberOfOps[i + 1]); ++o) {
            OpsID[i][o] = (i + 1) * 10 + o;
            OpsName[i][o] = OpsName[i + 1][o];
            OpsXY[i][o] = OpsXY[i + 1][o];
            for (int b = 0; b < clampCount(OpsNumberOfBattles[i + 1][o]); ++b) {
                BatID[i][o][b] = OpsID[i][o] * 10 + b;
                BatName[i][o][b] = BatName[i + 1][o][b];
                BatXY[i][o][b] = BatXY[i + 1][o][b];
                BatTail[i][o][b] = BatTail[i + 1][o][b];
            }
            OpsNumberOfBattles[i][o] = OpsNumberOfBattles[i + 1][o];
        }
        SectorName[i] = SectorName[i + 1];
        SectorXY[i] = SectorXY[i + 1];
        SectorNumberOfOps[i] = SectorNumberOfOps[i + 1];
    }
    OvNumberOfSectors = count - 1;
    return true;
}

void OvDataListBox::RenumberIDs(int first) {
    for (int s = 0; s < clampCount(OvNumberOfSectors); ++s) {
        SectorID[s] = first + s;
        for (int o = 0; o < clampCount(SectorNumberOfOps[s]); ++o) {
            OpsID[s][o] = SectorID[s] * 10 + o;
            for (int b = 0; b < clampCount(OpsNumberOfBattles[s][o]); ++b)
                BatID[s][o][b] = OpsID[s][o] * 10 + b;
        }
    }
}
