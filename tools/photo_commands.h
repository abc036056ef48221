// The commands on the user's own photographs: `pair` writes a pair file of two, `photos` makes
// a sheet of two to six. A refusal is one line on standard error naming the input and the rule.
#pragma once

#include <QString>
#include <optional>

#include "pairs/pair_writer.h"
#include "pairs/user_photos.h"
#include "sheet/sheet.h"
#include "tools/sheet_options.h"

namespace mirvane::tools {

// The line (without the program's name) that says which photograph was refused and why.
QString PhotoRefusalText(const PhotoRequest& request, const PhotoRefusal& refusal);

// The line that says why the pair file of `options` was not written.
QString PairWriteFaultText(const SheetOptions& options, PairWriteFault fault);

// pair: writes the pair file and prints its path. Exit status 0, or 1 after a refusal line.
int WritePairCommand(const SheetOptions& options);

// photos: the sheet in year order, titled and credited as asked or as a pair import's; nothing
// after a refusal line.
std::optional<Sheet> PhotoSheet(const SheetOptions& options);

}  // namespace mirvane::tools
