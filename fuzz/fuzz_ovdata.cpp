// libFuzzer target for the OvData reader: any input must either be refused with a message or
// give a model that the writer stores and the reader gives back unchanged.
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// The writer stores at most 49 name bytes, so a 50-byte name read from a field without a zero
// byte comes back cut; that is the format's rule, not a fault.
void cutNames(ov::OvDataModel& m) {
    const auto cut = [](std::string& name) {
        if (name.size() > ov::OvDataLayout::kMaxNameLength)
            name.resize(ov::OvDataLayout::kMaxNameLength);
    };
    for (int s = 0; s < ov::kCapacity; ++s) {
        cut(m.SectorName[s]);
        for (int o = 0; o < ov::kCapacity; ++o) {
            cut(m.OpsName[s][o]);
            for (int b = 0; b < ov::kCapacity; ++b)
                cut(m.BatName[s][o][b]);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ov::OvDataReadResult first = ov::ReadFromOvDataFile(std::span<const std::uint8_t>(data, size));
    if (!first.ok()) {
        if (first.message.empty() || first.model)
            __builtin_trap();
        return 0;
    }
    ov::OvDataModel& model = *first.model;
    (void)ov::ExportAsBatnamesFile(model);

    const ov::OvDataWriteResult written = ov::WriteToOvDataFile(model);
    if (!written.ok() || written.bytes.size() != ov::OvDataFileSize(model) ||
        written.bytes.size() + first.trailingBytes != size)
        __builtin_trap();

    ov::OvDataReadResult second = ov::ReadFromOvDataFile(written.bytes);
    if (!second.ok() || second.trailingBytes != 0)
        __builtin_trap();
    cutNames(model);
    if (!(*second.model == model))
        __builtin_trap();
    if (ov::WriteToOvDataFile(*second.model).bytes != written.bytes)
        __builtin_trap();
    return 0;
}
