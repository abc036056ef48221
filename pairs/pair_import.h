// Importing one to three pair files as a sheet, all or nothing.
#pragma once

#include <QString>
#include <optional>
#include <span>

#include "pairs/pair_paths.h"
#include "platform/file_reading.h"
#include "sheet/sheet.h"

namespace mirvane {

inline constexpr std::size_t kMaxPairFilesPerImport = 3;

// A sheet "Saved moments" (in the current UI language) of both photographs of every file, in
// ascending year, files in the order given on equal years; nothing when any file fails: a
// path that is not local or lacks ".qmp", a file that cannot be read or breaks a header rule,
// photographs over the sheet's byte budget or not decodable. Never touches the current sheet.
std::optional<Sheet> ImportPairFiles(
    std::span<const QString> paths,
    const FilesystemTypeQuery& filesystemType = platform::FilesystemTypeOf);

// What dropped files do: nothing while an export runs; otherwise the import, and on success
// the new current sheet with the ready status, on failure the pair error status. Returns
// whether the sheet was replaced.
bool OpenPairFiles(std::span<const QString> paths);

}  // namespace mirvane
