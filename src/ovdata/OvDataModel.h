#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ov {

// One OvData file as three levels of fixed-capacity parallel arrays: sectors, their
// operations ("ops") and the ops' battles. An entry *is* its index tuple (s, o, b); there
// are no node objects. Entries at or beyond a level's count are not part of the file but keep
// their values (deleting does not clear them) until InitProperties.
//
// Names are byte strings (one byte per character, ISO-8859-1 in the editor). BatTail holds the
// three flag bytes LZ, Bridge, Road; 0 is off, anything else on. A freshly constructed model has
// empty tails; InitProperties makes every tail three zero bytes.
inline constexpr int kCapacity = 11; // slots per level, indices 0..10
inline constexpr int kAddLimit = 10; // the editor's add commands stop at this count
inline constexpr int kTailLength = 3;

using Rect = std::array<std::int32_t, 4>; // x1, y1, x2, y2; 0 means "not set"

template <typename T> using PerSector = std::array<T, kCapacity>;
template <typename T> using PerOps = std::array<std::array<T, kCapacity>, kCapacity>;
template <typename T>
using PerBattle = std::array<std::array<std::array<T, kCapacity>, kCapacity>, kCapacity>;

struct OvDataModel {
    std::int32_t OvResourceID = 0; // PICT ID of the map picture (1013..1024 in the editor)
    std::int32_t OvNumberOfSectors = 0;

    PerSector<std::int32_t> SectorID{};
    PerSector<std::string> SectorName{};
    PerSector<Rect> SectorXY{};
    PerSector<std::int32_t> SectorNumberOfOps{};

    PerOps<std::int32_t> OpsID{};
    PerOps<std::string> OpsName{};
    PerOps<Rect> OpsXY{};
    PerOps<std::int32_t> OpsNumberOfBattles{};

    PerBattle<std::int32_t> BatID{};
    PerBattle<std::string> BatName{};
    PerBattle<Rect> BatXY{};
    PerBattle<std::string> BatTail{};

    // Clears every slot of every level; OvResourceID and OvNumberOfSectors stay.
    void InitProperties();

    // Sums over the used part of the tree only.
    std::int32_t NumberOfAllOps() const;
    std::int32_t NumberOfAllBattles() const;

    bool operator==(const OvDataModel&) const = default;
};

} // namespace ov
