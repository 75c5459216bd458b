#pragma once

// Dates and times in workbooks are numbers (days since the workbook's epoch)
// shown through a date format. The readers give them as the text a user sees
// in ISO form, the same for .xlsx and .xls: "2024-05-01", "2024-05-01 13:45:00",
// "13:45:00".

#include <optional>
#include <string>
#include <string_view>

namespace qarv {

enum class DateKind { None, Date, DateTime, Time };

// What a number format shows a number as: built-in format ids 14-22 and 45-47
// are dates and times; a custom format code is one when it holds day, month,
// year, hour or second codes outside quoted text, escapes and [colour] parts.
DateKind dateKindOfFormat(int formatId, std::string_view formatCode);

// The shown text of a serial date; nothing when the serial lies outside the
// range a workbook can show (before its epoch, after 9999-12-31).
std::optional<std::string> serialDateText(double serial, DateKind kind, bool date1904);

}  // namespace qarv
