// The document: rows, the add/delete/renumber rules and the exactness of undo and redo.
#include "ovdata/OvDocument.h"

#include "OvDataTestModels.h"
#include "ovdata/OvDataFile.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sstream>

using ov::EntryRef;
using ov::OvDocument;
using ov::OvEdit;

namespace {

// One sector per element of `tree`, element s listing the battle counts of its ops; positional
// IDs from `first`, names "S<s>", "O<s>.<o>", "B<s>.<o>.<b>", distinct coordinates.
std::unique_ptr<ov::OvDataModel> treeModel(const std::vector<std::vector<int>>& tree, int first = 1) {
    auto m = std::make_unique<ov::OvDataModel>();
    m->InitProperties();
    m->OvResourceID = 1013;
    m->OvNumberOfSectors = static_cast<int>(tree.size());
    for (int s = 0; s < m->OvNumberOfSectors; ++s) {
        m->SectorID[s] = first + s;
        m->SectorName[s] = "S" + std::to_string(s);
        m->SectorXY[s] = {s + 1, 2, 3, 4};
        const auto& ops = tree[static_cast<std::size_t>(s)];
        m->SectorNumberOfOps[s] = static_cast<int>(ops.size());
        for (int o = 0; o < m->SectorNumberOfOps[s]; ++o) {
            m->OpsID[s][o] = m->SectorID[s] * 10 + o;
            m->OpsName[s][o] = "O" + std::to_string(s) + "." + std::to_string(o);
            m->OpsXY[s][o] = {s + 1, o + 1, 3, 4};
            m->OpsNumberOfBattles[s][o] = ops[static_cast<std::size_t>(o)];
            for (int b = 0; b < ops[static_cast<std::size_t>(o)]; ++b) {
                m->BatID[s][o][b] = m->OpsID[s][o] * 10 + b;
                m->BatName[s][o][b] =
                    "B" + std::to_string(s) + "." + std::to_string(o) + "." + std::to_string(b);
                m->BatXY[s][o][b] = {s + 1, o + 1, b + 1, 4};
            }
        }
    }
    return m;
}

// Every row as "ID name", joined by blanks: "1 S0 10 O0.0 100 B0.0.0".
std::string rowsOf(const OvDocument& doc) {
    std::string text;
    for (int row = 0; row < doc.rowCount(); ++row) {
        const EntryRef e = doc.entryAt(row);
        text += (row ? " " : "") + std::to_string(doc.id(e)) + " " + doc.name(e);
    }
    return text;
}

std::vector<std::uint8_t> fileBytes(const OvDocument& doc) {
    ov::OvDataModel m = doc.fileModel();
    return ov::WriteToOvDataFile(m).bytes;
}

} // namespace

TEST(OvDocumentRows, RowsFollowTheTreeAndTheAddQueriesFindTheirParents) {
    OvDocument doc;
    doc.reset(*treeModel({{1}, {0, 2}}));
    // rows: 0 S0, 1 O0.0, 2 B0.0.0, 3 S1, 4 O1.0, 5 O1.1, 6 B1.1.0, 7 B1.1.1
    EXPECT_EQ(rowsOf(doc), "1 S0 10 O0.0 100 B0.0.0 2 S1 20 O1.0 21 O1.1 210 B1.1.0 211 B1.1.1");
    const struct {
        int row;
        EntryRef entry;
        int sector, ops;
        bool sameSector;
    } cases[] = {{0, {0, -1, -1}, 0, 0, false}, {2, {0, 0, 0}, 0, 0, true}, {3, {1, -1, -1}, 1, 0, false},
                 {5, {1, 1, -1}, 1, 1, true},   {7, {1, 1, 1}, 1, 1, true}, {-1, {}, 0, 0, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(doc.entryAt(c.row), c.entry) << c.row;
        EXPECT_EQ(doc.sectorForRow(c.row), c.sector) << c.row;
        EXPECT_EQ(doc.opsForRow(c.row), c.ops) << c.row;
        EXPECT_EQ(doc.opsRowInSameSector(c.row), c.sameSector) << c.row;
        if (c.row >= 0) {
            EXPECT_EQ(doc.rowOf(c.entry), c.row);
        }
    }
    EXPECT_EQ(doc.rowOf({1, 2, -1}), -1); // beyond the count: not in use
}

TEST(OvDocumentEdits, AddsGivePositionalIDsDefaultNamesAndStopAtTenPerLevel) {
    OvDocument doc;
    doc.reset(*treeModel({{}, {0, 0, 0}}, 5)); // sector IDs 5, 6; sector 1 holds three ops
    EntryRef added;
    EXPECT_FALSE(doc.addOps(1, &added).empty());
    EXPECT_EQ(added, (EntryRef{1, 3, -1}));
    EXPECT_EQ(doc.id(added), 63);
    EXPECT_EQ(doc.name(added), "<enter new ops name");
    EXPECT_FALSE(doc.addBattle(1, 3, &added).empty());
    EXPECT_EQ(doc.id(added), 630);
    EXPECT_EQ(doc.tail(added), std::string(3, '\0'));
    EXPECT_FALSE(doc.addSector(&added).empty());
    EXPECT_EQ(doc.id(added), 3); // new sectors follow their position, not the first ID
    EXPECT_EQ(doc.name(added), "<enter new sector name>");

    EXPECT_TRUE(doc.addOps(3).empty()); // no such sector
    EXPECT_TRUE(doc.addBattle(0, 0).empty());
    doc.reset(*treeModel({std::vector<int>(10, 10), {}, {}, {}, {}, {}, {}, {}, {}, {}}));
    const ov::OvDataModel before = doc.model();
    EXPECT_TRUE(doc.addSector().empty());
    EXPECT_TRUE(doc.addOps(0).empty());
    EXPECT_TRUE(doc.addBattle(0, 9).empty());
    EXPECT_EQ(doc.model(), before);
}

TEST(OvDocumentEdits, DeletesMoveLaterEntriesUpRenumberUnderNewParentsAndKeepFreedSlots) {
    const struct {
        std::vector<std::vector<int>> tree;
        std::function<OvEdit(OvDocument&)> remove;
        const char* rows;
    } cases[] = {
        {{{3}}, [](OvDocument& d) { return d.deleteBattle(0, 0, 1); }, "1 S0 10 O0.0 100 B0.0.0 101 B0.0.2"},
        {{{0, 0, 2}},
         [](OvDocument& d) { return d.deleteOps(0, 1); },
         "1 S0 10 O0.0 11 O0.2 110 B0.2.0 111 B0.2.1"},
        {{{1}, {2}, {1}},
         [](OvDocument& d) { return d.deleteSector(0); },
         "1 S1 10 O1.0 100 B1.0.0 101 B1.0.1 2 S2 20 O2.0 200 B2.0.0"},
        {{{1}}, [](OvDocument& d) { return d.deleteSector(0); }, ""}};
    for (const auto& c : cases) {
        OvDocument doc;
        doc.reset(*treeModel(c.tree));
        EXPECT_FALSE(c.remove(doc).empty()) << c.rows;
        EXPECT_EQ(rowsOf(doc), c.rows);
    }
    // The freed battle slot keeps its rectangle; a battle added now shows it.
    OvDocument doc;
    doc.reset(*treeModel({{3}}));
    doc.deleteBattle(0, 0, 2);
    EntryRef added;
    doc.addBattle(0, 0, &added);
    EXPECT_EQ(doc.rect(added), (ov::Rect{1, 1, 3, 4}));
    EXPECT_TRUE(doc.deleteBattle(0, 0, 5).empty());
    EXPECT_TRUE(doc.deleteOps(2, 0).empty());
}

TEST(OvDocumentEdits, FieldsFlagsAndStructuralEditsKeepTheTableRules) {
    OvDocument doc;
    doc.reset(ovtest::northModel()); // tails 0-2-0 and 1-0-255 as stored
    const EntryRef b1{0, 0, 0};
    EXPECT_TRUE(doc.setName(b1, "B1").empty()); // the same value is no edit
    EXPECT_FALSE(doc.setName(b1, "Arnhem").empty());
    EXPECT_FALSE(doc.setCoordinate(b1, 2, 99).empty());
    EXPECT_EQ(doc.rect(b1), (ov::Rect{20, 30, 99, 70}));
    EXPECT_TRUE(doc.setRect({0, 5, -1}, {1, 1, 1, 1}).empty()); // no such ops
    // A flag writes the tail as the table shows it: three bytes of 0 or 1.
    EXPECT_FALSE(doc.setFlag(b1, 0, true).empty());
    EXPECT_EQ(doc.tail(b1), std::string("\1\1\0", 3));
    EXPECT_EQ(doc.tail({0, 0, 1}), std::string("\1\0\xff", 3)); // untouched until a structural edit
    EXPECT_EQ(doc.fileModel().BatTail[0][0][1], std::string("\1\0\1", 3));
    doc.renumber(3);
    EXPECT_EQ(rowsOf(doc), "3 North 30 Op A 300 Arnhem 301 B2");
    EXPECT_EQ(doc.tail({0, 0, 1}), std::string("\1\0\1", 3));
    EXPECT_TRUE(doc.renumber(3).empty());
    EXPECT_FALSE(doc.setResourceID(1016).empty());
    EXPECT_EQ(doc.model().OvResourceID, 1016);
}

// --- undo and redo are exact -------------------------------------------------------------------

namespace {

// One random step of any kind on a random entry; what it changed (possibly nothing).
OvEdit randomStep(OvDocument& doc, std::mt19937& rng) {
    const int rows = doc.rowCount();
    const EntryRef e = doc.entryAt(rows ? static_cast<int>(rng() % static_cast<unsigned>(rows)) : -1);
    const auto coordinate = [&] { return static_cast<std::int32_t>(rng() % 600) - 50; };
    switch (rng() % 11) {
    case 0:
        return doc.setName(e, std::string(rng() % 50, static_cast<char>('a' + rng() % 26)));
    case 1:
        return doc.setCoordinate(e, static_cast<int>(rng() % 4), coordinate());
    case 2: // a mark: the point, then the second corner
        return doc.setRect(e, {coordinate(), coordinate(), coordinate(), coordinate()});
    case 3:
        return doc.setFlag(e, static_cast<int>(rng() % 3), rng() % 2 == 0);
    case 4:
        return doc.setResourceID(1013 + static_cast<std::int32_t>(rng() % 12));
    case 5:
        return doc.addSector();
    case 6:
        return doc.addOps(std::max(e.s, 0));
    case 7:
        return doc.addBattle(std::max(e.s, 0), std::max(e.o, 0));
    case 8:
        return e.kind() == EntryRef::Kind::Battle ? doc.deleteBattle(e.s, e.o, e.b) : doc.deleteOps(e.s, e.o);
    case 9:
        return doc.deleteSector(e.s);
    default:
        return doc.renumber(1 + static_cast<std::int32_t>(rng() % 9));
    }
}

} // namespace

TEST(OvDocumentHistory, RandomStepsUndoToTheStartAndRedoToTheEndByteForByte) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        auto start = std::make_unique<ov::OvDataModel>();
        ovtest::fillRandomModel(*start, seed, 4, seed % 10 == 0);
        OvDocument doc;
        doc.reset(*start);
        const auto startBytes = fileBytes(doc);
        std::mt19937 rng(seed);
        std::vector<OvEdit> history;
        for (int step = 0; step < 60; ++step)
            if (OvEdit edit = randomStep(doc, rng); !edit.empty())
                history.push_back(std::move(edit));
        ASSERT_GT(history.size(), 5u) << seed;
        const auto end = std::make_unique<ov::OvDataModel>(doc.model());
        const auto endBytes = fileBytes(doc);
        const std::string endRows = rowsOf(doc);

        for (auto it = history.rbegin(); it != history.rend(); ++it)
            doc.undo(*it);
        EXPECT_TRUE(doc.model() == *start) << "seed " << seed;
        EXPECT_EQ(fileBytes(doc), startBytes) << "seed " << seed;

        for (const OvEdit& edit : history)
            doc.redo(edit);
        EXPECT_TRUE(doc.model() == *end) << "seed " << seed;
        EXPECT_EQ(fileBytes(doc), endBytes) << "seed " << seed;
        EXPECT_EQ(rowsOf(doc), endRows) << "seed " << seed;
    }
}

TEST(OvDocumentHistory, AnEditHoldsOnlyWhatItChanged) {
    OvDocument doc;
    auto full = std::make_unique<ov::OvDataModel>();
    ovtest::fillRandomModel(*full, 7, 0, true); // 11 x 11 x 11
    doc.reset(*full);
    doc.renumber(1); // tails as shown from here on, so later edits hold only their own change
    const OvEdit name = doc.setName({0, 0, 0}, "x");
    const OvEdit battle = doc.deleteBattle(0, 0, 0);
    const OvEdit lastSector = doc.deleteSector(10);
    const OvEdit firstSector = doc.deleteSector(0); // moves 9 sectors of 121 battles each
    EXPECT_LT(name.memoryUse(), 256u);
    EXPECT_LT(battle.memoryUse(), 8u * 1024);
    EXPECT_LT(lastSector.memoryUse(), 256u);
    EXPECT_LT(firstSector.memoryUse(), 512u * 1024);
}
