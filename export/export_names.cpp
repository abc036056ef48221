#include "export/export_names.h"

#include <algorithm>
#include <cstdio>

namespace mirvane {

UtcTimestamp UtcTimestampOf(std::chrono::system_clock::time_point moment) {
    using namespace std::chrono;
    const auto milliseconds = floor<std::chrono::milliseconds>(moment);
    const auto day = floor<days>(milliseconds);
    const year_month_day date(day);
    const hh_mm_ss time(milliseconds - day);
    return UtcTimestamp{
        .year = static_cast<int>(date.year()),
        .month = static_cast<int>(static_cast<unsigned>(date.month())),
        .day = static_cast<int>(static_cast<unsigned>(date.day())),
        .hour = static_cast<int>(time.hours().count()),
        .minute = static_cast<int>(time.minutes().count()),
        .second = static_cast<int>(time.seconds().count()),
        .millisecond = static_cast<int>(time.subseconds().count()),
    };
}

std::string ExportFileName(const UtcTimestamp& time, int counter, std::string_view extension) {
    char name[128];
    const int length = std::snprintf(name, sizeof name, "sheet-%04d%02d%02d-%02d%02d%02d-%03d-%03d",
                                     time.year, time.month, time.day, time.hour, time.minute,
                                     time.second, time.millisecond, counter);
    std::string result(name, static_cast<std::size_t>(std::max(length, 0)));
    result += extension;
    return result;
}

std::filesystem::path MakeUniqueExportPath(const std::filesystem::path& folder,
                                           std::string_view extension, const UtcTimestamp& time,
                                           const PathStatusQuery& query) {
    for (int counter = 0; counter < kExportNameAttempts; ++counter) {
        std::filesystem::path candidate = folder / ExportFileName(time, counter, extension);
        if (query(candidate) == platform::PathStatus::Missing) {
            return candidate;
        }
    }
    return {};
}

std::filesystem::path MakeUniqueExportPath(const std::filesystem::path& folder,
                                           std::string_view extension) {
    return MakeUniqueExportPath(folder, extension, UtcTimestampOf(std::chrono::system_clock::now()),
                                platform::QueryPathStatus);
}

}  // namespace mirvane
