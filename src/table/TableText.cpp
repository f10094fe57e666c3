#include "table/TableText.h"

#include "ovdata/OvDataFile.h"
#include "table/TableColumns.h"

#include <limits>

namespace TableText {

namespace {
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

std::int64_t Val(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    // Beyond this the value is far outside anything a cell may hold; stop growing so it cannot wrap.
    constexpr std::int64_t kCeiling = std::numeric_limits<std::int64_t>::max() / 10 - 10;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        if (value < kCeiling)
            value = value * 10 + (text[i].unicode() - u'0');
    return negative ? -value : value;
}

std::int32_t Val32(QStringView text) {
    const std::int64_t value = Val(text);
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

QString FlagText(const std::string& tail) {
    QString text;
    for (int k = 0; k < ov::kTailLength; ++k) {
        if (k > 0)
            text += QLatin1Char('-');
        const auto byte = k < static_cast<int>(tail.size())
                              ? static_cast<unsigned char>(tail[static_cast<std::size_t>(k)])
                              : 0u;
        text += QString::number(byte);
    }
    return text;
}

QString NameToText(const std::string& name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::string TextToName(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString CoordinateProblem(QStringView text) {
    const std::int64_t value = Val(text);
    if (value < ov::OvDataLayout::kMinCoordinate || value > ov::OvDataLayout::kMaxCoordinate)
        return QString::fromLatin1(kCoordinateOutOfRange);
    return {};
}

QString NameProblem(QStringView text) {
    // A zero byte would end the name early when the file is read again, so it counts as outside
    // what a name can hold, like any character beyond ISO-8859-1.
    for (const QChar c : text)
        if (c.unicode() > 0xFF || c.unicode() == 0)
            return QString::fromLatin1(kNameNotLatin1);
    if (static_cast<std::size_t>(text.size()) > ov::OvDataLayout::kMaxNameLength)
        return QString::fromLatin1(kNameTooLong);
    return {};
}

QString TypedTextProblem(int column, QStringView text) {
    if (column == TableColumns::ColName)
        return NameProblem(text);
    if (column >= TableColumns::ColX1 && column <= TableColumns::ColY2)
        return CoordinateProblem(text);
    return {};
}

} // namespace TableText
