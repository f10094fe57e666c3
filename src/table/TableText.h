#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>

// The text rules of the entries table: how cell texts become numbers and bytes, and which typed
// texts the file can hold.
namespace TableText {

// The whole number a text begins with: leading blanks, an optional sign, then decimal digits;
// 0 when it begins with none ("12abc" -> 12, "abc" -> 0, "-5" -> -5). A fraction ends the number
// at its point, so "12.7" gives 12 and "-0.5" gives 0: coordinates are whole pixels and the
// table truncates toward zero rather than rounding, the same as any other text after the digits.
// Digits beyond what 64 bits hold saturate instead of wrapping.
std::int64_t Val(QStringView text);

// Val limited to the 32-bit range the model holds; a value outside it saturates, never wraps.
std::int32_t Val32(QStringView text);

// The "NoOfSubs" text of a battle: the three tail bytes in decimal joined by "-" ("1-0-1").
// Missing bytes of a short tail count as 0.
QString FlagText(const std::string& tail);

// Names are held one byte per character (ISO-8859-1).
QString NameToText(const std::string& name);
std::string TextToName(const QString& text);

// Why the file cannot hold a text typed into a cell, or an empty string when it can.
QString CoordinateProblem(QStringView text);
QString NameProblem(QStringView text);

// Why the file cannot hold `text` typed into table column `column` (TableColumns), or an empty
// string; only the name and the four coordinates can be typed into.
QString TypedTextProblem(int column, QStringView text);

// The messages, as shown.
inline constexpr const char* kCoordinateOutOfRange =
    "sorry, a coordinate must be a whole number from -32768 to 32767.";
inline constexpr const char* kNameNotLatin1 =
    "sorry, a name can hold only characters of the ISO-8859-1 (Latin-1) character set.";
inline constexpr const char* kNameTooLong = "sorry, a name can hold at most 49 characters.";

} // namespace TableText
