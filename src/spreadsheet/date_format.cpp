#include "spreadsheet/date_format.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace qarv {

DateKind dateKindOfFormat(int formatId, std::string_view code) {
    if ((formatId >= 14 && formatId <= 17)) return DateKind::Date;
    if (formatId == 22) return DateKind::DateTime;
    if ((formatId >= 18 && formatId <= 21) || (formatId >= 45 && formatId <= 47))
        return DateKind::Time;
    if (formatId < 164 || code.empty()) return DateKind::None;

    bool date = false;
    bool time = false;
    bool quoted = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quoted) {
            quoted = c != '"';
            continue;
        }
        if (c == '"') {
            quoted = true;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;  // the next character is shown as it is
        } else if (c == '[') {
            const std::size_t close = code.find(']', i);
            if (close == std::string_view::npos) break;
            const std::string_view inside = code.substr(i + 1, close - i - 1);
            // Elapsed hours, minutes, seconds: [h], [mm], [ss].
            if (!inside.empty() && (std::tolower(static_cast<unsigned char>(inside[0])) == 'h' ||
                                    std::tolower(static_cast<unsigned char>(inside[0])) == 's'))
                time = true;
            i = close;
        } else if (c == ';') {
            break;  // the first section decides
        } else {
            switch (std::tolower(static_cast<unsigned char>(c))) {
                case 'y':
                case 'd':
                    date = true;
                    break;
                case 'h':
                case 's':
                    time = true;
                    break;
                case 'm':
                    // Months unless hours or seconds are around; a lone m is a month.
                    if (!time) date = true;
                    break;
                default:
                    break;
            }
        }
    }
    if (date && time) return DateKind::DateTime;
    if (date) return DateKind::Date;
    if (time) return DateKind::Time;
    return DateKind::None;
}

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(long long z, int& year, unsigned& month, unsigned& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (month <= 2));
}

}  // namespace

std::optional<std::string> serialDateText(double serial, DateKind kind, bool date1904) {
    if (kind == DateKind::None || !std::isfinite(serial) || serial < 0) return std::nullopt;
    // Whole seconds, rounded as a spreadsheet program shows them.
    const double totalSeconds = std::round(serial * 86400.0);
    if (totalSeconds > 2958465.0 * 86400.0 + 86399.0) return std::nullopt;
    const long long seconds = static_cast<long long>(totalSeconds);
    long long days = seconds / 86400;
    const long long secondOfDay = seconds % 86400;

    char date[32] = "";
    if (kind != DateKind::Time) {
        int year = 0;
        unsigned month = 0;
        unsigned day = 0;
        if (date1904) {
            civilFromDays(days - 24107, year, month, day);  // 1904-01-01 is day 0
        } else if (days == 60) {
            // The 1900 system counts a 29 February 1900 that never was.
            year = 1900, month = 2, day = 29;
        } else if (days == 0) {
            year = 1900, month = 1, day = 0;  // shown as 1900-01-00
        } else {
            if (days < 60) ++days;
            civilFromDays(days - 25569, year, month, day);  // 1899-12-30 is day 0
        }
        if (year > 9999) return std::nullopt;
        std::snprintf(date, sizeof date, "%04d-%02u-%02u", year, month, day);
    }
    char time[32] = "";
    if (kind != DateKind::Date)
        std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", secondOfDay / 3600,
                      secondOfDay / 60 % 60, secondOfDay % 60);
    switch (kind) {
        case DateKind::Date:
            return std::string(date);
        case DateKind::Time:
            return std::string(time);
        default:
            return std::string(date) + " " + time;
    }
}

}  // namespace qarv
