// Unique names for exported sheets: the UTC time to the millisecond and an attempt counter.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace mirvane {

// A moment in UTC, broken down as the export names show it.
struct UtcTimestamp {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

inline constexpr int kExportNameAttempts = 1000;

UtcTimestamp UtcTimestampOf(std::chrono::system_clock::time_point moment);

// "sheet-YYYYMMDD-HHMMSS-mmm-NNN" followed by `extension`, for attempt `counter` (0-999).
std::string ExportFileName(const UtcTimestamp& time, int counter, std::string_view extension);

using PathStatusQuery = std::function<platform::PathStatus(const std::filesystem::path&)>;

// The first of the 1000 names of `time` (counters 000 to 999) in `folder` that `query` finds
// missing; anything else, a failed query included, counts as taken. Empty when all are taken.
std::filesystem::path MakeUniqueExportPath(const std::filesystem::path& folder,
                                           std::string_view extension, const UtcTimestamp& time,
                                           const PathStatusQuery& query);

// The same for the current time, read once, on the real file system.
std::filesystem::path MakeUniqueExportPath(const std::filesystem::path& folder,
                                           std::string_view extension);

}  // namespace mirvane
