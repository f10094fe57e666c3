#include "table/OvDataListBox.h"

#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"
#include "platform/Dialogs.h"

namespace {
std::span<const std::uint8_t> asBytes(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}
} // namespace

bool OvDataListBox::ReadFromOvDataFile(const QByteArray* bytes) {
    if (!bytes) {
        MsgBox(QString::fromLatin1(ov::OvDataMessages::kFailedToOpen.data(),
                                   static_cast<qsizetype>(ov::OvDataMessages::kFailedToOpen.size())),
               window());
        return false;
    }
    const std::string message = ov::ReadFromOvDataFile(asBytes(*bytes), static_cast<ov::OvDataModel&>(*this));
    if (!message.empty()) {
        MsgBox(QString::fromStdString(message), window());
        return false;
    }
    return true;
}

std::optional<QByteArray> OvDataListBox::WriteToOvDataFile() {
    const ov::OvDataWriteResult result = ov::WriteToOvDataFile(static_cast<ov::OvDataModel&>(*this));
    if (!result.ok()) {
        MsgBox(QString::fromStdString(result.message), window());
        return std::nullopt;
    }
    return QByteArray(reinterpret_cast<const char*>(result.bytes.data()), static_cast<qsizetype>(result.bytes.size()));
}

QByteArray OvDataListBox::ExportAsBatnamesFile() {
    const std::string text = ov::ExportAsBatnamesFile(static_cast<const ov::OvDataModel&>(*this));
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
