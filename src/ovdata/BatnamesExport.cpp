#include "ovdata/BatnamesExport.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace ov {

namespace BatnamesLayout {
constexpr char kLineEnd = '\r';
constexpr char kCommentSeparator = '\t';
constexpr std::string_view kBootCampCount = "5";
constexpr std::string_view kBootCamp[] = {"Quick Tour of Ironvale", "Monitors and the Toolbar",
                                          "Viewing Terrain", "Infantry Tactics", "Armor Tactics"};
constexpr std::string_view kEnabled = "1";
} // namespace BatnamesLayout

namespace {

using namespace BatnamesLayout;

class BatnamesWriter {
public:
    explicit BatnamesWriter(std::string& out) : out_(out) {}

    // An empty comment gives a bare line.
    void line(std::string_view value, std::string_view comment = {}) {
        out_ += value;
        if (!comment.empty()) {
            out_ += kCommentSeparator;
            out_ += comment;
        }
        out_ += kLineEnd;
    }
    void line(std::int64_t value, std::string_view comment = {}) { line(std::to_string(value), comment); }

private:
    std::string& out_;
};

int usedCount(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, kCapacity);
}

} // namespace

std::string ExportAsBatnamesFile(const OvDataModel& m) {
    std::string text;
    const std::size_t lines = 15 + 6 * static_cast<std::size_t>(m.NumberOfAllBattles() + m.NumberOfAllOps() +
                                                                usedCount(m.OvNumberOfSectors));
    text.reserve(lines * 48);
    BatnamesWriter out(text);
    const int sectors = usedCount(m.OvNumberOfSectors);

    out.line(kBootCampCount, "// number of boot camp entries");
    for (const std::string_view name : kBootCamp)
        out.line(name);

    // The first battle of each op carries the field comments; the rest are bare.
    out.line(m.NumberOfAllBattles(), "// number of all battles");
    for (int s = 0; s < sectors; ++s) {
        for (int o = 0; o < usedCount(m.SectorNumberOfOps[s]); ++o) {
            for (int b = 0; b < usedCount(m.OpsNumberOfBattles[s][o]); ++b) {
                const bool commented = b == 0;
                const auto comment = [commented](std::string_view c) {
                    return commented ? c : std::string_view{};
                };
                out.line(m.BatName[s][o][b], comment("// name of battle"));
                out.line(m.SectorID[s], comment("// campaign/sector ID"));
                out.line(m.OpsID[s][o], comment("// operation ID"));
                out.line(b, comment("// battle sequence in this operation"));
                out.line(m.BatID[s][o][b], comment("// map number for preview picture"));
                out.line(kEnabled, comment("// 1=enabled / 0=disabled in Command-Screen"));
            }
        }
    }

    // The first op of each sector carries the comments. The preview map number is the op ID
    // with a "0" appended as text, so ID 0 gives "00".
    out.line(m.NumberOfAllOps(), "// number of all operations");
    for (int s = 0; s < sectors; ++s) {
        for (int o = 0; o < usedCount(m.SectorNumberOfOps[s]); ++o) {
            const bool commented = o == 0;
            const auto comment = [commented](std::string_view c) {
                return commented ? c : std::string_view{};
            };
            out.line(m.OpsName[s][o], comment("// name of operation"));
            out.line(m.SectorID[s], comment("// campaign/sector ID"));
            out.line(m.OpsID[s][o], comment("// operation ID"));
            out.line("0", comment("// starting battle"));
            out.line(std::to_string(m.OpsID[s][o]) + "0", comment("// map number for preview picture"));
            out.line(kEnabled, comment("// 1=enabled / 0=disabled in Command-Screen"));
        }
    }

    // Sector campaigns never carry comments. Folder prefix arithmetic is done in 64 bits so
    // that no sector ID can overflow it.
    out.line(sectors + 1, "// number of all campaigns");
    out.line("Grand Campaign", "// campaign name");
    out.line("0", "// campaign number");
    out.line("0", "// starting battle");
    out.line("1000", "// folder prefix for this campaign");
    out.line("100", "// map number for preview picture");
    out.line(kEnabled, "// 1=enabled / 0=disabled in Command-Screen");
    for (int s = 0; s < sectors; ++s) {
        out.line(m.SectorName[s] + " Sector Campaign");
        out.line(m.SectorID[s]);
        out.line("0");
        out.line(std::int64_t{m.SectorID[s]} * 100 + 1000);
        out.line(std::to_string(m.SectorID[s]) + "00");
        out.line(kEnabled);
    }
    return text;
}

} // namespace ov
